// The input sweep: a long, seeded, random run of what a user or another
// program on the same desktop can send the window (every key with every
// modifier, clicks anywhere in the client area, the system commands a window
// manager sends, context-menu requests), with what must always hold checked
// after every step. What a step opens legitimately is closed and counted;
// anything else open is a failure that names the seed and the step, and the
// same seed replays the same inputs. TOLVANE_SWEEP_SEED and
// TOLVANE_SWEEP_SECONDS choose another run (scripts/sweep.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "tests/e2e/driver/fixture.h"
#include "tests/e2e/driver/locator_support.h"
#include "winutil/handles.h"

using namespace design;

namespace {

constexpr uint32_t kSeed = 20261208;
constexpr int kSeconds = 60;
// Lazily made objects (a font, a cached brush) may come after the baseline;
// a leak per step would pass these within a few dozen steps.
constexpr int kGdiBound = 8, kWindowBound = 2;

// xorshift32: the same numbers from one seed on every machine and library.
class Rng {
public:
    explicit Rng(uint32_t seed) : s_(seed ? seed : 1) {}
    uint32_t Next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

private:
    uint32_t s_;
};

// ---- the inputs -------------------------------------------------------------

enum Kind { Key, Click, SysCommand, ContextMenu, ImeComposition, CloseBox };
enum Mods { None, Shift, Ctrl, Alt, CtrlShift, kModCount };
constexpr const char* kModNames[kModCount] = {"", "Shift+", "Ctrl+", "Alt+", "Ctrl+Shift+"};

struct Step {
    Kind kind = Key;
    WORD vk = 0;
    int mods = None;
    POINT at = {};  // a click, in client coordinates
    WPARAM command = 0;
    LPARAM param = 0;
    int target = -1;  // a control index, kCount the page control, kCount + 1 the main window
};

// The Windows and sleep keys, the browser, media and launch keys and Print
// Screen belong to the shell and the desktop, not to the program; so do
// Ctrl+Esc and Ctrl+Shift+Esc (the Start menu, the task manager) and Alt+Tab
// and Alt+Esc (switching windows).
bool ShellKey(WORD vk, int mods) {
    if (vk == VK_LWIN || vk == VK_RWIN || vk == VK_SLEEP || vk == VK_SNAPSHOT) return true;
    if (vk >= VK_BROWSER_BACK && vk <= VK_LAUNCH_APP2) return true;
    if (vk == VK_ESCAPE) return mods == Ctrl || mods == CtrlShift || mods == Alt;
    return vk == VK_TAB && mods == Alt;
}

bool IsAlt(WORD vk) { return vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU; }

// The lock keys are pressed twice, so that the desktop's keyboard state is
// as before for the next step.
bool IsLockKey(WORD vk) { return vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL; }

struct Command {
    WPARAM command;
    LPARAM param;
    const char* name;
};
constexpr Command kCommands[] = {
    {SC_MAXIMIZE, 0, "SC_MAXIMIZE"}, {SC_SIZE, 0, "SC_SIZE"},       {SC_MINIMIZE, 0, "SC_MINIMIZE"},
    {SC_RESTORE, 0, "SC_RESTORE"},   {SC_KEYMENU, 0, "SC_KEYMENU"}, {SC_KEYMENU, ' ', "SC_KEYMENU ' '"},
    {SC_MOVE, 0, "SC_MOVE"},
};

Step MakeKey(Rng& rng) {
    Step s;
    s.kind = Key;
    do {
        s.vk = static_cast<WORD>(1 + rng.Below(254));
        s.mods = rng.Below(kModCount);
    } while (ShellKey(s.vk, s.mods));
    return s;
}

Step MakeClick(Rng& rng) {
    Step s;
    s.kind = Click;
    s.at = {rng.Below(1000), rng.Below(1000)};  // thousandths of the client area
    return s;
}

Step MakeSysCommand(Rng& rng) {
    Step s;
    s.kind = SysCommand;
    const Command& c = kCommands[rng.Below(sizeof kCommands / sizeof kCommands[0])];
    s.command = c.command;
    s.param = c.param;
    return s;
}

Step MakeContextMenu(Rng& rng) {
    Step s;
    s.kind = ContextMenu;
    do {
        s.target = rng.Below(kCount + 2);
    } while (s.target < kCount && !kControls[s.target].windowClass);  // the components have no window
    s.param = rng.Below(2) ? -1 : 0;                                  // from the keyboard, or at the control's centre
    return s;
}

template <Kind kind>
Step Only(Rng&) {
    Step s;
    s.kind = kind;
    return s;
}

struct Input {
    int weight;
    Step (*make)(Rng&);
};
const Input kInputs[] = {
    {60, MakeKey},        {25, MakeClick},           {8, MakeSysCommand},
    {5, MakeContextMenu}, {1, Only<ImeComposition>},  // an input method's messages to the focused control
    {1, Only<CloseBox>},
};

Step NextStep(Rng& rng) {
    int total = 0;
    for (const Input& in : kInputs) total += in.weight;
    int pick = rng.Below(total);
    for (const Input& in : kInputs) {
        if (pick < in.weight) return in.make(rng);
        pick -= in.weight;
    }
    return MakeKey(rng);
}

std::string TargetName(int target) {
    if (target == kCount + 1) return "main window";
    if (target == kCount) return kPageName;
    return kControls[target].name;
}

std::string Describe(const Step& s) {
    char text[96];
    switch (s.kind) {
        case Key: std::snprintf(text, sizeof text, "key %s0x%02X", kModNames[s.mods], s.vk); break;
        case Click: std::snprintf(text, sizeof text, "click at %ld,%ld thousandths", s.at.x, s.at.y); break;
        case SysCommand:
            for (const Command& c : kCommands)
                if (c.command == s.command && c.param == s.param) std::snprintf(text, sizeof text, "%s", c.name);
            break;
        case ContextMenu:
            std::snprintf(text, sizeof text, "WM_CONTEXTMENU %s to %s", s.param ? "-1" : "centre",
                          TargetName(s.target).c_str());
            break;
        case ImeComposition: std::snprintf(text, sizeof text, "IME composition to the focus"); break;
        case CloseBox: std::snprintf(text, sizeof text, "close box"); break;
    }
    return text;
}

// ---- the sweep -----------------------------------------------------------------

BOOL CALLBACK UncountOne(HWND, LPARAM count) {
    --*reinterpret_cast<int*>(count);
    return TRUE;
}

// What is open in the program besides its window.
struct Opened {
    std::string what;  // "Open dialog", "message box", "menu", "move loop"
    HWND hwnd;         // the dialog, or the menu's or the loop's window
};

class SweepTest : public e2e::ProgramTest {
protected:
    // Before each step: where the window stands.
    struct Before {
        bool about = false;
        bool minimised = false;
        HWND focus = nullptr;
    };

    HWND TargetWindow(int target) const {
        return target == kCount + 1 ? main_ : target == kCount ? page_ : Control(target);
    }
    bool AboutPage() const { return e2e::IsShown(Control(kReturnButton)); }
    bool IsVisibleEdit(HWND hwnd) const {
        return (hwnd == Control(kInstallFolderBox) || hwnd == Control(kLinkConfigBox)) && e2e::IsShown(hwnd);
    }

    void StartProgram() {
        // One instance may live as long as the whole run.
        e2e::LaunchOptions options;
        options.lifetimeMs = static_cast<DWORD>(seconds_) * 1000 + 120000;
        ASSERT_NO_FATAL_FAILURE(Start(options));
        // Something in each box, so that an edit of a hidden box shows.
        SendMessageA(Control(kInstallFolderBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\e\\"));
        SendMessageA(Control(kLinkConfigBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\e\\tools\\link.ini"));
        e2e::Settle(program_->Handle());
        const RECT client = e2e::ClientRectOf(main_);
        clientSize_ = {client.right, client.bottom};
        minimised_ = false;
        aboutTexts_.clear();
        last_ = {};
        // The first Open dialog, message box, menus, page trip and clock tick
        // make what the process keeps from then on: the baseline comes after them.
        struct First {
            HWND to;
            UINT msg;
            WPARAM wp;
            LPARAM lp;
            bool opens;
        };
        const First firsts[] = {
            {Control(kBrowseButton), BM_CLICK, 0, 0, true},
            {Control(kRepairButton), BM_CLICK, 0, 0, true},
            {Control(kInstallFolderBox), WM_CONTEXTMENU, 0, -1, true},
            {main_, WM_SYSCOMMAND, SC_KEYMENU, ' ', true},
            {Control(kAboutButton), BM_CLICK, 0, 0, false},
            {Control(kReturnButton), BM_CLICK, 0, 0, false},
        };
        for (const First& first : firsts) {
            PostMessageA(first.to, first.msg, first.wp, first.lp);
            if (first.opens) e2e::WaitFor([&] { return !OpenNow().empty(); }, 10000);
            e2e::Settle(program_->Handle());
            for (const Opened& o : OpenNow()) CloseIt(o);
            e2e::WaitFor([&] { return OpenNow().empty(); }, 5000);
        }
        e2e::WaitFor([&] { return e2e::IsShown(Control(kClockLabel)); }, 3000);
        e2e::Settle(program_->Handle());
        // The shell makes some of what the Open dialog shows in threads of
        // its own, after the dialog has gone: the baseline is the count once
        // it has stopped changing.
        gdiAtStart_ = ChildGdiHeadroom();
        for (int again = 0; again < 10; ++again) {
            e2e::Pump(300);
            const int now = ChildGdiHeadroom();
            if (now == gdiAtStart_) break;
            gdiAtStart_ = now;
        }
        windowsAtStart_ = WindowCount();
    }

    // The program's GDI headroom, counted inside its process by the probe DLL,
    // the most of three counts: objects its thread holds while it paints
    // meanwhile are not kept.
    int ChildGdiHeadroom() {
        int most = -1;
        for (int i = 0; i < 3; ++i) most = std::max(most, ProbeOnce());
        return most;
    }
    int ProbeOnce() {
        const std::string dll = e2e::ToWinePath(e2e::EnvVar("TOLVANE_TEST_BIN") + "/gdi_probe.dll");
        const tolvane::Module local(LoadLibraryA(dll.c_str()));
        if (!local) return -1;
        const auto* probe = reinterpret_cast<const BYTE*>(GetProcAddress(local.Get(), "GdiHeadroomOfThisProcess"));
        const DWORD offset = probe ? static_cast<DWORD>(probe - reinterpret_cast<const BYTE*>(local.Get())) : 0;
        HANDLE process = program_->Handle();
        void* name = VirtualAllocEx(process, nullptr, dll.size() + 1, MEM_COMMIT, PAGE_READWRITE);
        if (!offset || !name || !WriteProcessMemory(process, name, dll.c_str(), dll.size() + 1, nullptr)) return -1;
        // kernel32 lies at one address in every process of a session; a
        // 32-bit module handle fits the thread's exit code.
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        const DWORD base = RunRemote(reinterpret_cast<void*>(GetProcAddress(kernel, "LoadLibraryA")), name);
        VirtualFreeEx(process, name, 0, MEM_RELEASE);
        if (!base) return -1;
        const DWORD headroom = RunRemote(reinterpret_cast<void*>(base + offset), nullptr);
        RunRemote(reinterpret_cast<void*>(GetProcAddress(kernel, "FreeLibrary")), reinterpret_cast<void*>(base));
        return static_cast<int>(headroom);
    }
    DWORD RunRemote(void* start, void* argument) {
        const tolvane::KernelHandle thread(CreateRemoteThread(
            program_->Handle(), nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(start), argument, 0, nullptr));
        DWORD code = 0;
        if (!thread || WaitForSingleObject(thread.Get(), 30000) != WAIT_OBJECT_0 ||
            !GetExitCodeThread(thread.Get(), &code))
            code = 0;
        return code;
    }

    // ---- invariants ----

    ::testing::AssertionResult Answers() const {
        DWORD_PTR ignored;
        if (SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no answer within 2 s";
    }

    // Minimised, its restored size cannot be seen from another process
    // under Wine (GetWindowPlacement answers with the icon's rectangle).
    ::testing::AssertionResult KeepsItsSize() const {
        const RECT now = e2e::WindowRectOf(main_);
        auto fail = ::testing::AssertionFailure();
        if (IsZoomed(main_)) return fail << "maximised, at " << e2e::Box(now);
        if (IsIconic(main_)) {
            if (!minimised_) return fail << "minimised, with no minimise since the last restore";
        } else if (now.right - now.left != kMainWidth || now.bottom - now.top != kMainHeight) {
            return fail << "size " << e2e::Box(now);
        }
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult KeepsThePathsOnTheAboutPage() {
        if (!AboutPage()) {
            aboutTexts_.clear();
            return ::testing::AssertionSuccess();
        }
        const std::vector<std::string> now = {e2e::TextOf(Control(kInstallFolderBox)),
                                              e2e::TextOf(Control(kLinkConfigBox))};
        if (aboutTexts_.empty()) aboutTexts_ = now;
        if (now == aboutTexts_) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "on the about page the boxes went from \"" << aboutTexts_[0] << "\", \""
                                             << aboutTexts_[1] << "\" to \"" << now[0] << "\", \"" << now[1] << "\"";
    }

    // Wine's shell keeps a DDE client window for every home page it opened
    // through the stand-in browser, which answers no DDE: the shell's, not
    // the program's, so left out of the count.
    int WindowCount() const {
        int count = e2e::WindowCountOfProcess(program_->Id());
        for (HWND top : e2e::TopLevelWindows(program_->Id(), "WineDdeClientW")) {
            --count;
            EnumChildWindows(top, UncountOne, reinterpret_cast<LPARAM>(&count));
        }
        return count;
    }

    ::testing::AssertionResult ResourcesBack() {
        const int gdi = ChildGdiHeadroom(), windows = WindowCount();
        std::printf("GDI headroom %d (at start %d), windows %d (at start %d)\n", gdi, gdiAtStart_, windows,
                    windowsAtStart_);
        if (gdi < 0 || gdiAtStart_ < 0) return ::testing::AssertionFailure() << "the GDI probe failed";
        if (gdi < gdiAtStart_ - kGdiBound || windows > windowsAtStart_ + kWindowBound)
            return ::testing::AssertionFailure() << "GDI headroom " << gdiAtStart_ << " -> " << gdi << ", windows "
                                                 << windowsAtStart_ << " -> " << windows;
        return ::testing::AssertionSuccess();
    }

    // What is open besides the window: dialogs, menus and menu mode, a move loop.
    std::vector<Opened> OpenNow() const {
        std::vector<Opened> open;
        for (HWND d : e2e::MessageBoxes(program_->Id()))
            open.push_back({e2e::FileNameField(d) ? "Open dialog" : "message box", d});
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(e2e::ThreadOf(main_), &info)) {
            if (info.flags & GUI_INMOVESIZE) open.push_back({"move loop", info.hwndMoveSize});
            if (info.flags & GUI_INMENUMODE) open.push_back({"menu", info.hwndMenuOwner});
        }
        for (HWND m : e2e::TopLevelWindows(program_->Id(), "#32768"))
            if (IsWindowVisible(m) && !(info.flags & GUI_INMENUMODE)) open.push_back({"menu without menu mode", m});
        return open;
    }

    // What `step` may open, by what stood before it.
    bool MayOpen(const Step& s, const Before& b, const Opened& o) const {
        const std::string& what = o.what;
        if (what == "Open dialog" || what == "message box") return MayOpenDialog(s, b, what);
        if (what == "move loop") return s.kind == SysCommand && s.command == SC_MOVE;
        if (what != "menu") return false;
        // The system menu, or menu mode on the window without a menu bar.
        const bool shiftF10 = s.kind == Key && s.vk == VK_F10 && s.mods == Shift;
        if ((s.kind == Key && !shiftF10 && (s.mods == Alt || IsAlt(s.vk) || s.vk == VK_F10)) || s.command == SC_KEYMENU)
            return true;
        // At a point of the title bar (a minimised window is all title bar),
        // the default procedure shows the system menu.
        if (s.kind == ContextMenu && s.param == 0) {
            const LRESULT hit = e2e::HitTest(main_, e2e::CentreOf(TargetWindow(s.target)));
            if (hit == HTCAPTION || hit == HTSYSMENU) return true;
        }
        // An edit box's own context menu, while it shows. (Wine names the
        // menu's window as its owner, and the window's owner is the top-level
        // window, so the box that asked is the step's target.)
        if (shiftF10 || (s.kind == Key && s.vk == VK_APPS)) return IsVisibleEdit(b.focus);
        return s.kind == ContextMenu && IsVisibleEdit(TargetWindow(s.target));
    }

    // What `step` may open besides menus, by what stood before it.
    bool MayOpenDialog(const Step& s, const Before& b, const std::string& what) const {
        HWND button = Control(what == "Open dialog" ? kBrowseButton : kRepairButton);
        if (b.about || b.minimised) return false;
        if (s.kind == Key) return s.vk == VK_SPACE && s.mods != Alt && b.focus == button;
        if (s.kind != Click) return false;
        const RECT r = e2e::WindowRectOf(button);
        const POINT p = ClickPoint(s);
        return PtInRect(&r, p) != FALSE;
    }

    // Whether `step` must end the program, may, or must not.
    enum Closing { MustNot, May, Must };
    Closing Closes(const Step& s, const Before& b) const {
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

    void Send(const Step& s) {
        switch (s.kind) {
            case Key: {
                if (!IsIconic(main_)) e2e::BringToForeground(main_);
                std::vector<WORD> keys;
                if (s.mods == Shift || s.mods == CtrlShift) keys.push_back(VK_SHIFT);
                if (s.mods == Ctrl || s.mods == CtrlShift) keys.insert(keys.begin(), VK_CONTROL);
                if (s.mods == Alt) keys.push_back(VK_MENU);
                keys.push_back(s.vk);
                e2e::KeyCombo(keys);
                if (IsLockKey(s.vk)) e2e::KeyCombo(keys);
                break;
            }
            case Click:
                if (!IsIconic(main_)) e2e::BringToForeground(main_);
                e2e::ClickAt(ClickPoint(s));
                break;
            case SysCommand: PostMessageA(main_, WM_SYSCOMMAND, s.command, s.param); break;
            case ContextMenu: {
                HWND target = TargetWindow(s.target);
                const POINT c = e2e::CentreOf(target);
                PostMessageA(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
                             s.param ? -1 : MAKELPARAM(c.x, c.y));
                break;
            }
            case ImeComposition: {
                HWND focus = e2e::FocusOf(main_);
                DWORD_PTR ignored;
                if (!focus) break;
                SendMessageTimeoutA(focus, WM_IME_STARTCOMPOSITION, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
                SendMessageTimeoutA(focus, WM_IME_COMPOSITION, 0, GCS_COMPSTR | GCS_RESULTSTR, SMTO_ABORTIFHUNG, 2000,
                                    &ignored);
                SendMessageTimeoutA(focus, WM_IME_ENDCOMPOSITION, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
                break;
            }
            case CloseBox: {
                POINT at;
                if (!IsIconic(main_) && e2e::BringToForeground(main_) && e2e::FindHitPoint(main_, HTCLOSE, &at))
                    e2e::ClickAt(at);
                break;
            }
        }
        if (s.kind == SysCommand && s.command == SC_MINIMIZE) minimised_ = true;
        if (s.kind == SysCommand && s.command == SC_RESTORE) minimised_ = false;
    }

    void CloseIt(const Opened& o) {
        if (o.what == "Open dialog") {
            e2e::PressDialogButton(o.hwnd, IDCANCEL);
        } else if (o.what == "message box") {
            e2e::PressDialogButton(o.hwnd, IDOK);
        } else if (o.what == "move loop") {
            // The loop ends on Escape, which only the loop reads here.
            PostMessageA(o.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
            // A menu ends when its owner, the window or a box, is told to cancel modes.
            DWORD_PTR ignored;
            for (HWND owner : {main_, Control(kInstallFolderBox), Control(kLinkConfigBox)})
                SendMessageTimeoutA(owner, WM_CANCELMODE, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
        }
    }

    // One step: sent, settled, explained, checked. False ends the run.
    bool RunStep(const Step& s, const std::string& where) {
        Before b;
        b.about = AboutPage();
        b.minimised = IsIconic(main_) != FALSE;
        b.focus = e2e::FocusOf(main_);
        if (!b.minimised) clientOrigin_ = e2e::ClientOrigin(main_);
        const Closing closing = Closes(s, b);
        if (verbose_)
            std::printf("%s, focus %s%s%s\n", where.c_str(), FocusName().c_str(), b.about ? ", about" : "",
                        b.minimised ? ", minimised" : "");
        if (closing == Must) {
            EXPECT_TRUE(ResourcesBack()) << where << ", before it closes the window";
        }
        Send(s);
        e2e::Settle(program_->Handle());
        // A dialog the step may open takes a moment to show.
        if (s.kind == Click || (s.kind == Key && s.vk == VK_SPACE)) {
            for (const char* d : {"Open dialog", "message box"})
                if (MayOpenDialog(s, b, d))
                    e2e::WaitFor([&] { return !e2e::MessageBoxes(program_->Id()).empty(); }, 5000);
            e2e::Settle(program_->Handle());
        }
        if (!IsWindow(main_) || !program_->Running()) {
            DWORD code = 0;
            const bool ended = program_->WaitForExit(kExitTimeoutMs, &code);
            EXPECT_NE(closing, MustNot) << where << ": the window closed";
            EXPECT_TRUE(ended && code == 0) << where << ": exit code " << e2e::Hex(code);
            if (HasFailure()) return false;
            ++counts_["closed"];
            EXPECT_NO_FATAL_FAILURE(StartProgram());
            return !HasFailure();
        }
        EXPECT_NE(closing, Must) << where << ": the window stays open";
        for (int round = 0; round < 3; ++round) {
            const std::vector<Opened> open = OpenNow();
            if (open.empty()) break;
            for (const Opened& o : open) {
                if (verbose_) std::printf("  %s open (round %d)\n", o.what.c_str(), round);
                // What the step before opened may show only now.
                if (round == 0)
                    EXPECT_TRUE(MayOpen(s, b, o) || MayOpen(last_.first, last_.second, o))
                        << where << ": " << o.what << " open";
                else if (round == 2) ADD_FAILURE() << where << ": " << o.what << " stays open after it was closed";
                CloseIt(o);
                if (round == 0) ++counts_[o.what];
            }
            e2e::WaitFor([&] { return OpenNow().empty(); }, 2000);
        }
        last_ = {s, b};
        EXPECT_TRUE(Answers()) << where;
        EXPECT_TRUE(KeepsItsSize()) << where;
        EXPECT_TRUE(KeepsThePathsOnTheAboutPage()) << where;
        return !HasFailure();
    }

    POINT clientOrigin_ = {}, clientSize_ = {};
    bool minimised_ = false;
    std::vector<std::string> aboutTexts_;
    int gdiAtStart_ = -1, windowsAtStart_ = 0;
    int seconds_ = kSeconds;
    std::map<std::string, int> counts_;
    std::pair<Step, Before> last_;
    bool verbose_ = !e2e::EnvVar("TOLVANE_SWEEP_VERBOSE").empty();
};

TEST_F(SweepTest, WhatMustHoldHoldsAfterEveryStep) {
    const std::string seedText = e2e::EnvVar("TOLVANE_SWEEP_SEED"), secondsText = e2e::EnvVar("TOLVANE_SWEEP_SECONDS");
    const uint32_t seed = seedText.empty() ? kSeed : static_cast<uint32_t>(std::strtoul(seedText.c_str(), nullptr, 0));
    seconds_ = secondsText.empty() ? kSeconds : std::atoi(secondsText.c_str());
    // Something to paste, the same in every run.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 8);
        if (text) {
            lstrcpyA(static_cast<char*>(GlobalLock(text)), "D:\\x\\");
            GlobalUnlock(text);
            SetClipboardData(CF_TEXT, text);
        }
        CloseClipboard();
    }
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    Rng rng(seed);
    const DWORD begun = GetTickCount();
    int steps = 0;
    while (GetTickCount() - begun < static_cast<DWORD>(seconds_) * 1000) {
        const Step s = NextStep(rng);
        ++steps;
        const std::string where =
            "seed " + std::to_string(seed) + ", step " + std::to_string(steps) + " (" + Describe(s) + ")";
        if (!RunStep(s, where)) {
            SaveShotIfFailed();
            break;
        }
    }
    std::printf("seed %u: %d steps in %lu s\n", seed, steps, (GetTickCount() - begun) / 1000);
    for (const auto& c : counts_) std::printf("  %s: %d\n", c.first.c_str(), c.second);
    if (!HasFailure()) {
        if (IsIconic(main_)) {
            PostMessageA(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
            e2e::Settle(program_->Handle());
        }
        EXPECT_TRUE(ResourcesBack()) << "seed " << seed << ", at the end";
    }
}

}  // namespace
