// The input sweep: a long, seeded, random run of what a user or another program on the same desktop can do to
// the window (every key with every modifier, clicks anywhere in the client area, system commands with every value
// of their low four bits, posted and sent, a close while a move, size or menu loop or the Open dialog is open,
// MoveWindow, SetWindowPos and ShowWindow, scale messages with sound and unsound pointers), with what must always
// hold checked once the program is idle after every step. What a step opens, and what the system opens on its own
// (a minimised window's system menu), is closed and counted; anything else is a failure that names the seed, the
// step and the steps that replay it. TOLVANE_SWEEP_SEED, TOLVANE_SWEEP_SECONDS and TOLVANE_SWEEP_FROM choose
// another run (scripts/sweep.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>

#include "tests/e2e/driver/browser.h"
#include "tests/e2e/driver/fixture.h"
#include "tests/e2e/driver/locator_support.h"

using namespace design;

namespace {

constexpr uint32_t kSeed = 1486;  // its first minute meets every kind of fault found so far
constexpr int kSeconds = 60;
// Lazily made objects (a font, a cached brush) may come after the baseline; a leak per step would pass these
// within a few dozen steps.
constexpr int kGdiBound = 8, kWindowBound = 2;
// Resources are counted every so many steps, so that a leak is found among few steps of few kinds.
constexpr int kCheckEvery = 20;
// The scales the sweep asks for; the window's size and layout must agree at one.
constexpr int kScales[] = {96, 120, 144};
constexpr UINT kWmDpiChanged = 0x02E0, kWmGetDpiScaledSize = 0x02E4;

// xorshift32: the same numbers from one seed on every machine and library.
// clang-format off
struct Rng {
    uint32_t s;
    uint32_t Next() { s ^= s << 13; s ^= s >> 17; s ^= s << 5; return s; }
    int Below(size_t n) { return static_cast<int>(Next() % n); }
};
enum Kind { Key, Click, SysCommand, ContextMenu, ImeComposition, CloseBox, Browse, OtherProcess, Scale, kKindCount };
// How often each comes, and its name; an IME step is an input method's messages to the focused control.
constexpr struct { int weight; const char* name; } kKinds[kKindCount] = {
    {55, "key"}, {22, "click"}, {9, "system command"}, {4, "context menu"}, {1, "IME"}, {1, "close box"},
    {2, "Open dialog"}, {3, "another process"}, {3, "scale message"}};
enum Mods { None, Shift, Ctrl, Alt, CtrlShift, kModCount };
constexpr struct { const char* name; WORD keys[2]; } kMods[kModCount] = {
    {"", {}}, {"Shift+", {VK_SHIFT}}, {"Ctrl+", {VK_CONTROL}}, {"Alt+", {VK_MENU}},
    {"Ctrl+Shift+", {VK_CONTROL, VK_SHIFT}}};
// What comes while the loop or dialog that a step opened is still open.
enum Then { Nothing, Drag, AltF4, CloseMessage, CloseBoxClick };
constexpr const char* kThenNames[] = {"", ", then a drag and Enter", ", then Alt+F4", ", then WM_CLOSE",
                                      ", then the close box"};
constexpr struct { WPARAM command; LPARAM param; const char* name; } kCommands[] = {
    {SC_MAXIMIZE, 0, "SC_MAXIMIZE"}, {SC_SIZE, 0, "SC_SIZE"}, {SC_MINIMIZE, 0, "SC_MINIMIZE"},
    {SC_RESTORE, 0, "SC_RESTORE"}, {SC_KEYMENU, 0, "SC_KEYMENU"}, {SC_KEYMENU, ' ', "SC_KEYMENU ' '"},
    {SC_MOVE, 0, "SC_MOVE"}, {SC_MOVE, 0, "SC_MOVE"}, {SC_CLOSE, 0, "SC_CLOSE"}};
// Calls of another process: a negative row is MoveWindow or SetWindowPos, else ShowWindow with it.
enum { kMoveWindow = -3, kSizeOnly, kMoveOnly };
constexpr struct { int show; const char* name; } kCalls[] = {
    {kMoveWindow, "MoveWindow"}, {kSizeOnly, "SetWindowPos, size"}, {kMoveOnly, "SetWindowPos, place"},
    {SW_MAXIMIZE, "ShowWindow SW_MAXIMIZE"}, {SW_MINIMIZE, "ShowWindow SW_MINIMIZE"},
    {SW_SHOWMINNOACTIVE, "ShowWindow SW_SHOWMINNOACTIVE"}, {SW_RESTORE, "ShowWindow SW_RESTORE"},
    {SW_SHOWNORMAL, "ShowWindow SW_SHOWNORMAL"}, {SW_SHOWNOACTIVATE, "ShowWindow SW_SHOWNOACTIVATE"}};
// What a scale message points at: nothing, an address no process maps, or a rectangle (or size) in the
// program's memory.
enum Pointer { NoPointer, BadPointer, Fitting, EmptyRect, WholePlane, FarAway, ReadOnly, kPointerCount };
constexpr const char* kPointerNames[kPointerCount] = {"NULL", "0x10", "its size at that scale", "{0,0,0,0}",
                                                      "{INT_MIN..INT_MAX}", "at 100000,100000", "a read-only page"};
constexpr int kScaleDpis[] = {96, 120, 144, 0, 1000};
// clang-format on

struct Step {
    Kind kind = Key;
    WORD vk = 0;
    int mods = None;
    POINT at = {};  // a click, in thousandths of the client area; a drag's offset; a place, of the screen
    SIZE size = {};
    WPARAM command = 0;
    LPARAM param = 0;  // a system command's; a context menu's: -1 from the keyboard, else at the centre
    int target = -1;   // a control index, kCount the page control, kCount + 1 the main window
    int row = 0;       // OtherProcess: the call; Scale: the pointer
    int dpi = 96;
    bool sent = false;
    Then then = Nothing;
};

// The Windows and sleep keys, the browser, media and launch keys and Print Screen belong to the shell and the
// desktop, not to the program; so do Ctrl+Esc and Ctrl+Shift+Esc (the Start menu, the task manager) and Alt+Tab and
// Alt+Esc (switching windows).
bool ShellKey(WORD vk, int mods) {
    if (vk == VK_LWIN || vk == VK_RWIN || vk == VK_SLEEP || vk == VK_SNAPSHOT) return true;
    if (vk >= VK_BROWSER_BACK && vk <= VK_LAUNCH_APP2) return true;
    if (vk == VK_ESCAPE) return mods == Ctrl || mods == CtrlShift || mods == Alt;
    return vk == VK_TAB && mods == Alt;
}

bool IsAlt(WORD vk) { return vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU; }
// The lock keys are pressed twice, so that the desktop's keyboard state is as before for the next step.
bool IsLockKey(WORD vk) { return vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL; }
bool PageKey(const Step& s) {
    return s.kind == Key && (s.mods == Ctrl || s.mods == CtrlShift) &&
           (s.vk == VK_TAB || s.vk == VK_NEXT || s.vk == VK_PRIOR);
}
WPARAM Base(const Step& s) { return s.command & 0xFFF0; }
bool Minimises(const Step& s) {
    return (s.kind == SysCommand && Base(s) == SC_MINIMIZE) ||
           (s.kind == OtherProcess && (kCalls[s.row].show == SW_MINIMIZE || kCalls[s.row].show == SW_SHOWMINNOACTIVE));
}

Step NextStep(Rng& rng) {
    Step s;
    int pick = rng.Below(100);
    while (pick >= kKinds[s.kind].weight) pick -= kKinds[s.kind].weight, s.kind = static_cast<Kind>(s.kind + 1);
    const int then = rng.Below(10);  // a loop or a dialog is left to the sweep to close, or meets a drag or a close
    s.then = then < 5 ? Nothing : then < 7 ? Drag : static_cast<Then>(then - 5);
    s.at = {rng.Below(121) - 60, rng.Below(121) - 60};
    switch (s.kind) {
        case Key:
            do {
                s.vk = static_cast<WORD>(1 + rng.Below(254));
                s.mods = rng.Below(kModCount);
            } while (ShellKey(s.vk, s.mods));
            break;
        case Click: s.at = {rng.Below(1000), rng.Below(1000)}; break;
        case SysCommand: {
            const auto& c = kCommands[rng.Below(std::size(kCommands))];
            s.command = c.command | (rng.Below(2) ? rng.Below(16) : 0);  // the low four bits are the system's
            s.param = c.param;
            s.sent = rng.Below(2);
            break;
        }
        case ContextMenu: do { s.target = rng.Below(kCount + 2);
            } while (s.target < kCount && !kControls[s.target].windowClass);  // the components have no window
            s.param = rng.Below(2) ? -1 : 0;
            break;
        case OtherProcess:
            s.row = rng.Below(std::size(kCalls));
            s.at = {rng.Below(1000), rng.Below(1000)};
            s.size = {1 + rng.Below(1000), 1 + rng.Below(800)};
            break;
        case Scale:
            s.command = rng.Below(2) ? kWmDpiChanged : kWmGetDpiScaledSize;
            s.dpi = kScaleDpis[rng.Below(std::size(kScaleDpis))];
            s.row = rng.Below(kPointerCount);
            s.sent = rng.Below(2);
            break;
        default: break;
    }
    // Only a move, a size, a menu or the Open dialog leaves something open.
    const bool opens = s.kind == Browse || (s.kind == SysCommand && Base(s) != SC_MINIMIZE && Base(s) != SC_RESTORE &&
                                            Base(s) != SC_MAXIMIZE && Base(s) != SC_CLOSE);
    if (!opens) s.then = Nothing;
    return s;
}

std::string Describe(const Step& s) {
    char text[160] = "";
    const char* how = s.sent ? "sent" : "posted";
    switch (s.kind) {
        case Key: std::snprintf(text, sizeof text, "key %s0x%02X", kMods[s.mods].name, s.vk); break;
        case Click: std::snprintf(text, sizeof text, "click at %ld,%ld thousandths", s.at.x, s.at.y); break;
        case SysCommand:
            for (const auto& c : kCommands)
                if (c.command == Base(s) && c.param == s.param)
                    std::snprintf(text, sizeof text, "%s|0x%X %s", c.name, static_cast<unsigned>(s.command & 15), how);
            break;
        case ContextMenu:
            std::snprintf(text, sizeof text, "WM_CONTEXTMENU %s to %s", s.param ? "-1" : "centre",
                          s.target == kCount + 1 ? "main window"
                          : s.target == kCount   ? kPageName
                                                 : kControls[s.target].name);
            break;
        case ImeComposition: return "IME composition to the focus";
        case CloseBox: return "close box";
        case Browse: std::snprintf(text, sizeof text, "BM_CLICK to %s", kControls[kBrowseButton].name); break;
        case OtherProcess:
            std::snprintf(text, sizeof text, "%s, %ld,%ld thousandths, %ldx%ld", kCalls[s.row].name, s.at.x, s.at.y,
                          s.size.cx, s.size.cy);
            break;
        default:
            std::snprintf(text, sizeof text, "%s %s at %d dpi, %s",
                          s.command == kWmDpiChanged ? "WM_DPICHANGED" : "WM_GETDPISCALEDSIZE", how, s.dpi,
                          kPointerNames[s.row]);
    }
    return text + std::string(kThenNames[s.then]);
}

using e2e::Opened;
struct Resources {
    int gdi = -1, windows = 0;
};

class SweepTest : public e2e::ProgramTest {
protected:
    // Before each step: where the window stands.
    struct Before {
        bool about = false, minimised = false, foreground = false;
        HWND focus = nullptr;
        size_t openings = 0;  // of the home page, so far
    };

    HWND TargetWindow(int target) const {
        return target == kCount + 1 ? main_ : target == kCount ? page_ : Control(target);
    }
    bool AboutPage() const { return e2e::IsShown(Control(kReturnButton)); }
    bool IsVisibleEdit(HWND hwnd) const {
        return (hwnd == Control(kInstallFolderBox) || hwnd == Control(kLinkConfigBox)) && e2e::IsShown(hwnd);
    }
    // Whether `s` presses `control` as a user does: a click on it, or Space while it has the focus.
    bool Presses(const Step& s, const Before& b, int control) const {
        const RECT r = e2e::WindowRectOf(Control(control));
        if (b.minimised) return false;
        if (s.kind == Key) return s.vk == VK_SPACE && s.mods != Alt && b.focus == Control(control);
        return s.kind == Click && PtInRect(&r, ClickPoint(s));
    }

    void StartProgram() {
        // One instance may live as long as the whole run.
        e2e::LaunchOptions options;
        options.lifetimeMs = static_cast<DWORD>(seconds_) * 1000 + 120000;
        const size_t openings = e2e::BrowserOpenings().size();
        ASSERT_NO_FATAL_FAILURE(Start(options));
        // Something in each box, so that an edit of a hidden box shows.
        SendMessageA(Control(kInstallFolderBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\e\\"));
        SendMessageA(Control(kLinkConfigBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\e\\tools\\link.ini"));
        // The scale messages' rectangles and sizes live in the program's memory; the second page only reads.
        remote_ = static_cast<BYTE*>(VirtualAllocEx(program_->Handle(), nullptr, 8192, MEM_COMMIT, PAGE_READWRITE));
        DWORD was;
        ASSERT_TRUE(remote_ && VirtualProtectEx(program_->Handle(), remote_ + 4096, 4096, PAGE_READONLY, &was));
        e2e::Settle(program_->Handle());
        minimised_ = false;
        aboutTexts_.clear();
        last_ = {};
        started_ = steps_ + 1;
        trail_.clear();
        // The first Open dialog, message box, menus, move loop on the icon, page trip, change of scale and clock
        // tick make what the process keeps from then on: the baseline comes after them.
        // clang-format off
        const struct { HWND to; UINT msg; WPARAM wp; LPARAM lp; } firsts[] = {
            {Control(kBrowseButton), BM_CLICK, 0, 0}, {Control(kRepairButton), BM_CLICK, 0, 0},
            {Control(kInstallFolderBox), WM_CONTEXTMENU, 0, -1}, {main_, WM_SYSCOMMAND, SC_KEYMENU, ' '},
            {main_, WM_SYSCOMMAND, SC_MOVE, 0}, {main_, WM_SYSCOMMAND, SC_MINIMIZE, 0},
            {main_, WM_SYSCOMMAND, SC_MOVE, 0}, {main_, WM_SYSCOMMAND, SC_RESTORE, 0},
            {Control(kAboutButton), BM_CLICK, 0, 0}, {Control(kReturnButton), BM_CLICK, 0, 0},
            {main_, kWmDpiChanged, MAKEWPARAM(120, 120), 0}, {main_, kWmDpiChanged, MAKEWPARAM(96, 96), 0}};
        // clang-format on
        for (const auto& first : firsts) {
            PostMessageA(first.to, first.msg, first.wp,
                         first.msg == kWmDpiChanged ? WriteRect(Fitting, LOWORD(first.wp)) : first.lp);
            Idle();
            if (first.msg == BM_CLICK && first.to != Control(kAboutButton) && first.to != Control(kReturnButton))
                e2e::WaitFor([&] { return !e2e::MessageBoxes(program_->Id()).empty(); }, 10000);
            CloseAll();
        }
        e2e::WaitFor([&] { return e2e::IsShown(Control(kClockLabel)); }, 3000);
        Idle();
        // The shell makes some of what the Open dialog shows in threads of its own, after the dialog has gone: the
        // baseline is the count once it has stopped changing.
        base_ = Measure();
        for (int again = 0; again < 10; ++again) {
            e2e::Pump(300);
            const Resources now = Measure();
            if (now.gdi == base_.gdi) break;
            base_ = now;
        }
        sinceCheck_.clear();
        openings_ = e2e::SettledBrowserOpenings(openings + 1);
    }

    // The program has taken a step once it answers a sent message twice over with nothing seen changing in between:
    // a fixed wait is too short on a loaded machine, and what shows late would be blamed on the next step.
    void Idle() {
        std::string was = "-";
        for (int i = 0; i < 40 && IsWindow(main_); ++i) {
            e2e::Settle(program_->Handle(), 25);
            if (!Answers()) return;
            std::string now =
                std::to_string(IsIconic(main_) * 2 + AboutPage()) + FocusName() + e2e::Box(e2e::WindowRectOf(main_));
            for (const Opened& o : e2e::OpenIn(program_->Id(), main_)) now += o.what;
            if (now == was) return;
            was = now;
        }
    }

    // The program's GDI headroom, the most of three counts: objects its thread holds while it paints meanwhile are
    // not kept. Windows are counted as a cheap stand-in for USER objects.
    Resources Measure() {
        Resources r;
        for (int i = 0; i < 3; ++i) r.gdi = std::max(r.gdi, e2e::GdiHeadroomOf(program_->Handle()));
        // wine-quirk: Wine's shell keeps a DDE client window in the program for every home page it opened through
        // the stand-in browser, which answers no DDE; Windows' shell ends the conversation and keeps none.
        r.windows = e2e::WindowCountOfProcess(program_->Id(), "WineDdeClientW");
        return r;
    }
    bool Beyond(const Resources& now, const Resources& base) const {
        return now.gdi < base.gdi - kGdiBound || now.windows > base.windows + kWindowBound;
    }
    static std::string Show(const Resources& from, const Resources& to) {
        return "GDI headroom " + std::to_string(from.gdi) + " -> " + std::to_string(to.gdi) + ", windows " +
               std::to_string(from.windows) + " -> " + std::to_string(to.windows);
    }

    // Against the baseline. The system makes objects of its own in the program's process, once (the shell's icons, a
    // cache of device contexts), and the count comes and goes with the program's painting: so a drop is a leak only
    // when the steps since the last count, repeated three times kind by kind, take as much again, naming the kind.
    ::testing::AssertionResult ResourcesBack() {
        const Resources now = Measure();
        if (now.gdi < 0 || base_.gdi < 0) return ::testing::AssertionFailure() << "the GDI probe failed";
        if (!Beyond(now, base_)) return sinceCheck_.clear(), ::testing::AssertionSuccess();
        const auto steps = std::move(sinceCheck_);
        std::printf("  %s since the baseline: the steps since the last count again, kind by kind\n",
                    Show(base_, now).c_str());
        for (int kind = 0; kind < kKindCount; ++kind) {
            if (std::none_of(steps.begin(), steps.end(), [&](const auto& t) { return t.first.kind == kind; })) continue;
            const Resources before = Measure();
            for (int round = 0; round < 3; ++round)
                for (const auto& t : steps)
                    if (t.first.kind == kind && Closes(t.first, t.second) == MustNot && t.first.then == Nothing &&
                        IsWindow(main_)) {
                        Send(t.first);
                        Idle();
                        CloseAll();
                    }
            if (!IsWindow(main_)) return ::testing::AssertionSuccess();  // closed by a system menu: no verdict
            const Resources after = Measure();
            if (Beyond(after, before))
                return ::testing::AssertionFailure()
                       << Show(base_, now) << "; the " << kKinds[kind].name
                       << " steps since the last count, three times again: " << Show(before, after);
        }
        openings_ = e2e::SettledBrowserOpenings(SIZE_MAX);  // what the repeated steps opened
        aboutTexts_.clear();
        base_ = Measure();  // a cost paid once
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult Answers() const {
        DWORD_PTR ignored;
        if (SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no answer within 2 s";
    }
    // One size, the design's at the window's scale, with the layout at that scale, on a monitor.
    ::testing::AssertionResult KeepsItsShape() {
        const RECT now = e2e::WindowRectOf(main_);
        auto fail = ::testing::AssertionFailure();
        if (IsZoomed(main_)) return fail << "maximised, at " << e2e::Box(now);
        // wine-quirk: minimised, the restored size cannot be seen from another process under Wine
        // (GetWindowPlacement answers with the icon's rectangle); Windows answers with the restored one.
        if (IsIconic(main_) && !minimised_) return fail << "minimised, with no minimise since the last restore";
        if (IsIconic(main_)) return ::testing::AssertionSuccess();
        minimised_ = false;
        if (!MonitorFromRect(&now, MONITOR_DEFAULTTONULL)) return fail << "on no monitor, at " << e2e::Box(now);
        const RECT page = e2e::WindowRectOf(page_);
        const POINT client = e2e::ClientOrigin(main_);
        for (int dpi : kScales) {
            auto px = [dpi](int n) { return MulDiv(n, dpi, 96); };
            const RECT want = {px(kPageRect.left), px(kPageRect.top), px(kPageRect.right), px(kPageRect.bottom)};
            const RECT got = {page.left - client.x, page.top - client.y, page.right - client.x, page.bottom - client.y};
            if (now.right - now.left == px(kMainWidth) && now.bottom - now.top == px(kMainHeight) &&
                EqualRect(&want, &got))
                return scale_ = dpi, ::testing::AssertionSuccess();
        }
        return fail << "size " << e2e::Box(now) << " with the page control at " << e2e::Box(page, client)
                    << ": window and layout agree at no scale";
    }
    ::testing::AssertionResult KeepsThePathsOnTheAboutPage() {
        if (!AboutPage()) return aboutTexts_.clear(), ::testing::AssertionSuccess();
        const std::vector<std::string> now = {e2e::TextOf(Control(kInstallFolderBox)),
                                              e2e::TextOf(Control(kLinkConfigBox))};
        if (aboutTexts_.empty()) aboutTexts_ = now;
        if (now == aboutTexts_) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "on the about page the boxes went from \"" << aboutTexts_[0] << "\", \""
                                             << aboutTexts_[1] << "\" to \"" << now[0] << "\", \"" << now[1] << "\"";
    }
    // The focus is on a control of the page shown that can take it, or on none while another window is active. The
    // about button leaves it on the hidden installation box, on purpose.
    ::testing::AssertionResult FocusInPlace() const {
        HWND focus = e2e::FocusOf(main_);
        const int page = AboutPage() ? 1 : 0;
        // wine-quirk: Wine leaves the focus where it was when the window is minimised; Windows takes it away, and keys
        // come as system keys.
        if (IsIconic(main_) || (!focus && e2e::ActiveOf(main_) != main_)) return ::testing::AssertionSuccess();
        if (page == 1 && focus == Control(kInstallFolderBox)) return ::testing::AssertionSuccess();
        for (int i = 0; i < kCount; ++i)
            if (focus && focus == Control(i) && kControls[i].page == page && (kControls[i].flags & T) &&
                e2e::IsShown(focus) && e2e::IsEnabledWindow(focus))
                return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "focus on " << FocusName() << " on the " << (page ? "about" : "repair")
                                             << " page, " << (e2e::ActiveOf(main_) == main_ ? "active" : "not active");
    }

    // The home page opens from a press of 关于 or of the about text, and from nothing else.
    bool MayOpenHomePage(const Step& s, const Before& b) const {
        return Presses(s, b, b.about ? kAboutText : kAboutButton);
    }
    // A press on a tab and a page key show the page pressed; -1 where no page is pressed.
    int PagePressed(const Step& s, const Before& b) const {
        if (b.minimised || !b.foreground) return -1;
        if (PageKey(s)) return b.focus ? 1 - b.about : -1;
        if (s.kind != Click) return -1;
        const RECT page = e2e::WindowRectOf(page_);
        for (int tab = 0; tab < kPageCount; ++tab) {
            RECT r = e2e::DesignTabs(scale_).tabs[tab];
            OffsetRect(&r, page.left, page.top);
            InflateRect(&r, -2, -2);
            if (PtInRect(&r, ClickPoint(s))) return tab;
        }
        return -1;
    }
    // What `step` may open, by what stood before it.
    bool MayOpen(const Step& s, const Before& b, const Opened& o) const {
        const std::string& what = o.what;
        if (what == "Open dialog" || what == "message box") return MayOpenDialog(s, b, what);
        // Every move command moves; a border's hit test in its low bits must not size. Enter in the system menu
        // that a keyboard menu command opened chooses its highlighted item, which may be Move.
        if (what == "move loop")
            return s.kind == SysCommand && (Base(s) == SC_MOVE || (Base(s) == SC_KEYMENU && s.then == Drag));
        if (what != "menu") return false;
        // The system menu, or menu mode on the window without a menu bar. Keys to a minimised window are system
        // keys, which open its system menu.
        const bool shiftF10 = s.kind == Key && s.vk == VK_F10 && s.mods == Shift;
        if (s.kind == Key && (b.minimised || (!shiftF10 && (s.mods == Alt || IsAlt(s.vk) || s.vk == VK_F10))))
            return true;
        // wine-quirk: Shift+F10 that no visible box takes for its context menu is F10 at its release under Wine: menu
        // mode, with no menu shown. Windows may stay out of menu mode.
        if (shiftF10 && !IsVisibleEdit(b.focus))
            return e2e::TopLevelWindows(program_->Id(), "#32768").empty() ||
                   !IsWindowVisible(e2e::TopLevelWindows(program_->Id(), "#32768")[0]);
        if (s.kind == SysCommand && Base(s) == SC_KEYMENU) return true;
        // On the title bar (a minimised window is all title bar) the default procedure shows the system menu.
        if (s.kind == ContextMenu && s.param == 0) {
            const LRESULT hit = e2e::HitTest(main_, e2e::CentreOf(TargetWindow(s.target)));
            if (hit == HTCAPTION || hit == HTSYSMENU) return true;
        }
        // An edit box's own context menu, while it shows. (Wine names the menu's window as its owner, and the
        // window's owner is the top-level window, so the box that asked is the step's target.)
        if (shiftF10 || (s.kind == Key && s.vk == VK_APPS)) return IsVisibleEdit(b.focus);
        return s.kind == ContextMenu && IsVisibleEdit(TargetWindow(s.target));
    }
    // What `step` may open besides menus, by what stood before it.
    bool MayOpenDialog(const Step& s, const Before& b, const std::string& what) const {
        const int button = what == "Open dialog" ? kBrowseButton : kRepairButton;
        if (b.about || b.minimised) return false;
        return s.kind == Browse ? button == kBrowseButton : Presses(s, b, button);
    }
    // Whether `step` must end the program, may, or must not.
    enum Closing { MustNot, May, Must };
    Closing Closes(const Step& s, const Before& b) const {
        // A close while a loop or dialog is open: WM_CLOSE always closes; a key or a click may meet the loop, the
        // dialog or a menu's default item first.
        if (s.then == CloseMessage) return Must;
        if (s.then != Nothing) return May;
        if (s.kind == SysCommand && Base(s) == SC_CLOSE) return Must;
        const bool closing = (s.kind == Key && s.vk == VK_ESCAPE && s.mods != Alt) ||
                             (s.kind == Key && s.vk == VK_F4 && s.mods == Alt) || s.kind == CloseBox;
        if (!closing) return MustNot;
        // Keys to a minimised window come as system keys.
        return b.minimised ? May : Must;
    }

    // Where the client area stands, or stood before the window was minimised.
    POINT ClickPoint(const Step& s) const {
        return {clientOrigin_.x + clientSize_.x * s.at.x / 1000, clientOrigin_.y + clientSize_.y * s.at.y / 1000};
    }
    // A scale message's pointer, with what it points at written first.
    LPARAM WriteRect(int row, int dpi) {
        const RECT w = e2e::WindowRectOf(main_);
        RECT r = {w.left, w.top, w.left + MulDiv(kMainWidth, dpi, 96), w.top + MulDiv(kMainHeight, dpi, 96)};
        if (row == EmptyRect) r = {};
        if (row == WholePlane) r = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
        if (row == FarAway) OffsetRect(&r, 100000 - r.left, 100000 - r.top);
        if (row == NoPointer || row == BadPointer) return row == BadPointer ? 0x10 : 0;
        if (row == ReadOnly) return reinterpret_cast<LPARAM>(remote_ + 4096);
        WriteProcessMemory(program_->Handle(), remote_, &r, sizeof r, nullptr);
        return reinterpret_cast<LPARAM>(remote_);
    }
    void Deliver(UINT msg, WPARAM wp, LPARAM lp, bool sent, HWND to = nullptr) {
        DWORD_PTR ignored;
        // A loop the message opens answers only when it ends: the sender does not wait for it.
        if (sent) SendMessageTimeoutA(to ? to : main_, msg, wp, lp, SMTO_ABORTIFHUNG, 300, &ignored);
        else PostMessageA(to ? to : main_, msg, wp, lp);
    }

    void Send(const Step& s) {
        foreground_ = !IsIconic(main_) &&
                      (s.kind == Key || s.kind == Click || s.kind == CloseBox || s.then != Nothing) &&
                      e2e::BringToForeground(main_);
        switch (s.kind) {
            case Key: {
                std::vector<WORD> keys;
                for (WORD k : kMods[s.mods].keys)
                    if (k) keys.push_back(k);
                keys.push_back(s.vk);
                e2e::KeyCombo(keys);
                if (IsLockKey(s.vk)) e2e::KeyCombo(keys);
                break;
            }
            // A click on a minimised window's icon opens its system menu: the system's doing, so not sent.
            case Click: {
                const POINT p = ClickPoint(s);
                foreground_ = foreground_ && MonitorFromPoint(p, MONITOR_DEFAULTTONULL) && e2e::ClickAt(p);
                break;
            }
            case SysCommand: Deliver(WM_SYSCOMMAND, s.command, s.param, s.sent); break;
            case ContextMenu: {
                HWND target = TargetWindow(s.target);
                const POINT c = e2e::CentreOf(target);
                PostMessageA(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
                             s.param ? -1 : MAKELPARAM(c.x, c.y));
                break;
            }
            case ImeComposition:
                for (UINT m : {WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION})
                    if (HWND focus = e2e::FocusOf(main_))
                        Deliver(m, 0, m == WM_IME_COMPOSITION ? GCS_COMPSTR | GCS_RESULTSTR : 0, true, focus);
                break;
            case CloseBox:
                if (foreground_) ClickCloseBox();
                break;
            // As a user can: a click on a hidden button would focus it.
            case Browse:
                if (!AboutPage() && !IsIconic(main_)) PostMessageA(Control(kBrowseButton), BM_CLICK, 0, 0);
                break;
            case OtherProcess: {
                // Placed where the design's size stays on the screen.
                const int show = kCalls[s.row].show;
                const int x = (GetSystemMetrics(SM_CXSCREEN) - kMainWidth) * s.at.x / 1000;
                const int y = (GetSystemMetrics(SM_CYSCREEN) - kMainHeight) * s.at.y / 1000;
                if (show == kMoveWindow) MoveWindow(main_, x, y, s.size.cx, s.size.cy, TRUE);
                else if (show < 0)
                    SetWindowPos(main_, nullptr, x, y, s.size.cx, s.size.cy,
                                 SWP_NOZORDER | SWP_NOACTIVATE | (show == kSizeOnly ? SWP_NOMOVE : SWP_NOSIZE));
                else ShowWindow(main_, show);
                break;
            }
            case Scale:
                Deliver(static_cast<UINT>(s.command), s.command == kWmDpiChanged ? MAKEWPARAM(s.dpi, s.dpi) : s.dpi,
                        WriteRect(s.row, s.dpi), s.sent);
                break;
            default: break;
        }
        if (Minimises(s)) minimised_ = true;
        if (s.then != Nothing && IsWindow(main_)) During(s);
    }

    void ClickCloseBox() {
        if (POINT at; e2e::FindHitPoint(main_, HTCLOSE, &at)) e2e::ClickAt(at);
    }
    // While the loop or the dialog is open.
    void During(const Step& s) {
        Idle();
        POINT at = {};
        if (!foreground_ && s.then != CloseMessage) return;  // keys and clicks would go to another window
        switch (s.then) {
            case Drag:
                GetCursorPos(&at);
                e2e::MoveMouse({at.x + s.at.x / 2, at.y + s.at.y / 2});
                e2e::MoveMouse({at.x + s.at.x, at.y + s.at.y});
                e2e::KeyCombo({VK_RETURN});
                break;
            case AltF4: e2e::KeyCombo({VK_MENU, VK_F4}); break;
            case CloseMessage: PostMessageA(main_, WM_CLOSE, 0, 0); break;
            case CloseBoxClick: ClickCloseBox(); break;
            default: break;
        }
    }

    // A menu ends when its owner, the window or a box, is told to cancel modes. On a minimised window's icon, the
    // end of a move loop opens the system menu.
    void CloseIt(const Opened& o) { e2e::CloseOpened(o, {main_, Control(kInstallFolderBox), Control(kLinkConfigBox)}); }
    void CloseAll() {
        for (int round = 0; round < 3 && IsWindow(main_); ++round) {
            for (const Opened& o : e2e::OpenIn(program_->Id(), main_)) CloseIt(o);
            Idle();
        }
    }

    // One step: sent, settled, explained, checked. False ends the run.
    bool RunStep(const Step& s, const std::string& where) {
        // Counted first: the count may repeat earlier steps, which change what stands before this one.
        const bool closes = Closes(s, Before{false, IsIconic(main_) != FALSE}) == Must;
        if (closes || ++checks_ % kCheckEvery == 0) {
            EXPECT_TRUE(ResourcesBack()) << where << (closes ? ", before it closes the window" : "");
            if (!IsWindow(main_)) return RestartAfter(where, May);
        }
        Before b{AboutPage(), IsIconic(main_) != FALSE, false, e2e::FocusOf(main_), openings_};
        if (!b.minimised) {
            clientOrigin_ = e2e::ClientOrigin(main_);
            const RECT client = e2e::ClientRectOf(main_);
            clientSize_ = {client.right, client.bottom};
        }
        const Closing closing = Closes(s, b);
        if (verbose_)
            std::printf("%s, focus %s%s%s\n", where.c_str(), FocusName().c_str(), b.about ? ", about" : "",
                        b.minimised ? ", minimised" : "");
        Send(s);
        b.foreground = foreground_;
        Idle();
        // A dialog the step may open takes a moment to show.
        if (MayOpenDialog(s, b, "Open dialog") || MayOpenDialog(s, b, "message box"))
            e2e::WaitFor([&] { return !IsWindow(main_) || !e2e::MessageBoxes(program_->Id()).empty(); }, 5000);
        Idle();
        if (!IsWindow(main_) || !program_->Running()) return RestartAfter(where, closing);
        EXPECT_NE(closing, Must) << where << ": the window stays open";
        openings_ = e2e::SettledBrowserOpenings(MayOpenHomePage(s, b) ? b.openings + 1 : 0);
        EXPECT_LE(openings_ - b.openings, MayOpenHomePage(s, b) ? 1u : 0u) << where << ": the home page opened";
        const int pressed = PagePressed(s, b);
        for (int round = 0; round < 3; ++round) {
            const std::vector<Opened> open = e2e::OpenIn(program_->Id(), main_);
            if (open.empty()) break;
            for (const Opened& o : open) {
                if (verbose_) std::printf("  %s open (round %d)\n", o.what.c_str(), round);
                // What the step before opened may show only now; what closing opens (the icon's menu after its move
                // loop) is the system's.
                if (round == 0)
                    EXPECT_TRUE(MayOpen(s, b, o) || MayOpen(last_.first, last_.second, o))
                        << where << ": " << o.what << " open";
                else if (round == 2) ADD_FAILURE() << where << ": " << o.what << " stays open after it was closed";
                CloseIt(o);
                if (round == 0) ++counts_[o.what];
            }
            Idle();
        }
        if (!IsWindow(main_) || !program_->Running()) return RestartAfter(where, closing == MustNot ? May : closing);
        last_ = {s, b};
        sinceCheck_.push_back(last_);
        EXPECT_TRUE(Answers()) << where;
        EXPECT_TRUE(KeepsItsShape()) << where;
        EXPECT_TRUE(KeepsThePathsOnTheAboutPage()) << where;
        EXPECT_TRUE(FocusInPlace()) << where;
        if (pressed >= 0) {
            EXPECT_EQ(AboutPage() ? 1 : 0, pressed) << where << ": the page shown";
        }
        return !HasFailure();
    }

    // The window has gone: the program must have ended, with 0, and only by a closing step.
    bool RestartAfter(const std::string& where, Closing closing) {
        DWORD code = 0;
        const bool ended = program_->WaitForExit(kExitTimeoutMs, &code);
        EXPECT_NE(closing, MustNot) << where << ": the window closed";
        EXPECT_TRUE(ended && code == 0) << where << ": "
                                        << (ended ? "exit code " + e2e::Hex(code) : "still running with no window");
        if (HasFailure()) return false;
        ++counts_["closed"];
        EXPECT_NO_FATAL_FAILURE(StartProgram());
        return !HasFailure();
    }

    POINT clientOrigin_ = {}, clientSize_ = {};
    bool minimised_ = false, foreground_ = false, verbose_ = !e2e::EnvVar("TOLVANE_SWEEP_VERBOSE").empty();
    std::vector<std::string> aboutTexts_, trail_;
    Resources base_;
    std::vector<std::pair<Step, Before>> sinceCheck_;
    int checks_ = 0, scale_ = 96, seconds_ = kSeconds, steps_ = 0, started_ = 1;
    size_t openings_ = 0;
    BYTE* remote_ = nullptr;
    std::map<std::string, int> counts_;
    std::pair<Step, Before> last_;
};

TEST_F(SweepTest, WhatMustHoldHoldsAfterEveryStep) {
    const std::string seedText = e2e::EnvVar("TOLVANE_SWEEP_SEED"), secondsText = e2e::EnvVar("TOLVANE_SWEEP_SECONDS");
    const uint32_t seed = seedText.empty() ? kSeed : static_cast<uint32_t>(std::strtoul(seedText.c_str(), nullptr, 0));
    seconds_ = secondsText.empty() ? kSeconds : std::atoi(secondsText.c_str());
    // Steps before this one are drawn but not sent: a replay from the program's start before a failure.
    const int from = std::atoi(e2e::EnvVar("TOLVANE_SWEEP_FROM").c_str());
    e2e::SetClipboardText("D:\\x\\");  // something to paste, the same in every run
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    started_ = std::max(started_, from);
    Rng rng{seed ? seed : 1};
    const DWORD begun = GetTickCount();
    while (GetTickCount() - begun < static_cast<DWORD>(seconds_) * 1000) {
        const Step s = NextStep(rng);
        if (++steps_ < from) continue;
        const std::string where =
            "seed " + std::to_string(seed) + ", step " + std::to_string(steps_) + " (" + Describe(s) + ")";
        trail_.push_back(where);
        if (!RunStep(s, where)) {
            std::printf("replay: TOLVANE_SWEEP_FROM=%d scripts/sweep.sh %u, the program's start and %zu steps:\n",
                        started_, seed, trail_.size());
            for (size_t i = trail_.size() > 12 ? trail_.size() - 12 : 0; i < trail_.size(); ++i)
                std::printf("  %s\n", trail_[i].c_str());
            SaveShotIfFailed();
            break;
        }
    }
    std::printf("seed %u: %d steps in %lu s\n", seed, steps_, (GetTickCount() - begun) / 1000);
    for (const auto& c : counts_) std::printf("  %s: %d\n", c.first.c_str(), c.second);
    if (HasFailure()) return;
    if (IsIconic(main_)) PostMessageA(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
    Idle();
    EXPECT_TRUE(ResourcesBack()) << "seed " << seed << ", at the end";
}

}  // namespace
