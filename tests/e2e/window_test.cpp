// The main window seen from outside: the real program, real input, real pixels.
// Every test starts its own process, so no test depends on another's leftovers.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#include "tests/e2e/driver/fixture.h"
#include "tests/e2e/driver/mouse_input.h"
#include "tests/linker_map.h"
#include "winutil/handles.h"

using namespace design;
using e2e::Expected;
using e2e::Observed;
using e2e::Rgb;

namespace {

const Rgb kPageColour{252, 252, 254};
const Rgb kFrameColour{145, 167, 180};
const Rgb kAccentTop{230, 139, 44};
const Rgb kAccentBelow{255, 200, 60};
const Rgb kAccentCorner{237, 173, 107};  // the top accent lightened 30 % toward white

Rgb ButtonFace() { return e2e::FromColorRef(GetSysColor(COLOR_BTNFACE)); }

// The 20 rows of a non-current tab's face: 64 bands from white to
// (235, 235, 229), worked out by hand; row 0 is already band 3's colour.
const Rgb kTabFaceRows[20] = {
    {254, 254, 253}, {253, 253, 252}, {252, 252, 251}, {251, 251, 250}, {250, 250, 248},
    {249, 249, 247}, {248, 248, 246}, {247, 247, 244}, {246, 246, 243}, {245, 245, 242},
    {244, 244, 240}, {243, 243, 239}, {242, 242, 238}, {241, 241, 237}, {240, 240, 235},
    {239, 239, 234}, {238, 238, 233}, {237, 237, 231}, {236, 236, 230}, {235, 235, 229},
};

bool IsRedInk(Rgb c) { return c.r > 180 && c.g < 90 && c.b < 90; }
bool IsBlueInk(Rgb c) { return c.b > 180 && c.r < 90 && c.g < 90; }
bool IsDarkInk(Rgb c) { return c.r < 90 && c.g < 90 && c.b < 90; }

std::string Yes(bool b) { return b ? "yes" : "no"; }

class MainWindowTest : public e2e::ProgramTest {
protected:
    void SetUp() override {
        // The program writes its skin files only when they are missing, so a
        // prefix that ran an older build would keep that build's engine.
        for (const char* stale : {"C:\\WINDOWS\\system\\Skin.dll", "C:\\WINDOWS\\system\\QQ2009.she"})
            ASSERT_TRUE(e2e::DeleteFileIfAny(stale)) << "cannot remove " << stale;
        ASSERT_NO_FATAL_FAILURE(Start());
        e2e::Settle(program_->Handle());
        // Keep the pointer off the tabs so that no hover colours the strip.
        e2e::MoveMouse(POINT{2, 2});
        ASSERT_TRUE(e2e::BringToForeground(main_)) << "main window never became the foreground window";
        e2e::Settle(program_->Handle());
    }

    static e2e::TabGeometry Tabs() { return e2e::DesignTabs(); }

    e2e::Capture CapturePage() const { return e2e::CaptureWindow(page_); }

    bool WaitForFocus(int index, DWORD timeoutMs = 3000) const {
        HWND want = Control(index);
        return e2e::WaitFor([&] { return e2e::FocusOf(main_) == want; }, timeoutMs);
    }

    // Focus moves by Tab from wherever it is; put it on a control with a click.
    void FocusByClick(int index) {
        ASSERT_TRUE(e2e::ClickControl(Control(index)));
        ASSERT_TRUE(WaitForFocus(index)) << "focus is on " << FocusName();
    }

    // Which of the windowed controls show, in control order.
    std::vector<Observed> Visibility() const {
        std::vector<Observed> out;
        for (int i = 0; i < kCount; ++i)
            if (kControls[i].windowClass)
                out.push_back({std::string(kControls[i].name) + ".shown", Yes(e2e::IsShown(Control(i)))});
        return out;
    }

    static std::vector<Expected> PageShown(int page) {
        std::vector<Expected> out;
        for (int i = 0; i < kCount; ++i) {
            if (!kControls[i].windowClass) continue;
            const bool shown = kControls[i].page == page && (kControls[i].flags & V);
            // The clock label shows after the first tick, which may or may not
            // have come yet.
            out.push_back(
                {std::string(kControls[i].name) + ".shown", i == kClockLabel && page == 0 ? "*" : Yes(shown)});
        }
        return out;
    }

    void ExpectEndsWithCodeZero(const char* how) {
        DWORD code = 1234;
        ASSERT_TRUE(program_->WaitForExit(kExitTimeoutMs, &code)) << how << " did not end the program";
        EXPECT_EQ(code, 0u) << how;
    }
};

// The program's manifest as its resource holds it.
std::string ManifestOf(const std::string& exe) {
    const tolvane::Module m(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HRSRC r = m ? FindResourceA(m.Get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24) /* RT_MANIFEST */) : nullptr;
    HGLOBAL data = r ? LoadResource(m.Get(), r) : nullptr;
    return data ? std::string(static_cast<const char*>(LockResource(data)), SizeofResource(m.Get(), r)) : "";
}

TEST_F(MainWindowTest, WindowIsCentredFixedAndOnTheTaskbar) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const RECT r = e2e::WindowRectOf(main_);
    const LONG style = e2e::StyleOf(main_), ex = e2e::ExStyleOf(main_);
    const bool unowned = GetWindow(main_, GW_OWNER) == nullptr;

    e2e::Facts f;
    f.Add("class", e2e::ClassOf(main_), kMainClass);
    f.Add("title", e2e::TextOf(main_), kMainTitle);
    f.Add("left", std::to_string(r.left), std::to_string((sw - 380) / 2));
    f.Add("top", std::to_string(r.top), std::to_string((sh - 250) / 2));
    f.Add("width", std::to_string(r.right - r.left), "380");
    f.Add("height", std::to_string(r.bottom - r.top), "250");
    f.Add("caption", Yes((style & WS_CAPTION) == WS_CAPTION), "yes");
    f.Add("system menu", Yes(style & WS_SYSMENU), "yes");
    f.Add("minimize box", Yes(style & WS_MINIMIZEBOX), "no");
    f.Add("maximize box", Yes(style & WS_MAXIMIZEBOX), "no");
    f.Add("resizable", Yes(style & WS_THICKFRAME), "no");
    f.Add("minimised or maximised", Yes(IsIconic(main_) || IsZoomed(main_)), "no");
    f.Add("topmost", Yes(ex & WS_EX_TOPMOST), "no");
    f.Add("tool window", Yes(ex & WS_EX_TOOLWINDOW), "no");
    f.Add("taskbar button", Yes((ex & WS_EX_APPWINDOW) || unowned), "yes");
    f.Add("icon resource DEFAULT_ICON", Yes(e2e::HasIconResource(e2e::ProgramPath(), "DEFAULT_ICON")), "yes");
    const std::string manifest = ManifestOf(e2e::ProgramPath());
    for (const char* os : {"e2011457-1546-43c5-a5fe-008deee3d3f0", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                           "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                           "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        f.Add(std::string("manifest supports {") + os + "}",
              Yes(manifest.find(std::string("<supportedOS Id=\"{") + os + "}\"/>") != std::string::npos), "yes");
    const int icon = e2e::IconState(main_);
    if (icon >= 0) f.actual.push_back({"window icon", Yes(icon == 1)});
    // wine-quirk: Wine gives no class icon to another process, so the row is optional; Windows gives it.
    f.expected.push_back({"window icon", "yes", /*optional=*/true});
    EXPECT_TRUE(f.Match("main window"));
    if (sw == 1024 && sh == 768) {
        EXPECT_EQ(r.left, 322);
        EXPECT_EQ(r.top, 259);
    }
}

TEST_F(MainWindowTest, ControlsFollowTheFormTable) {
    const POINT client = e2e::ClientOrigin(main_);
    const POINT pageOrigin = {client.x + kPageRect.left, client.y + kPageRect.top};
    e2e::Facts f;
    // The page control itself, relative to the main window's client area.
    f.Add("page.class", e2e::ClassOf(page_), kPageClass);
    f.Add("page.parent is main", Yes(GetParent(page_) == main_), "yes");
    f.Add("page.rect", e2e::Box(e2e::WindowRectOf(page_), client), e2e::Box(kPageRect));
    f.Add("page.shown", Yes(e2e::IsShown(page_)), "yes");
    f.Add("page.tab stop", Yes(e2e::StyleOf(page_) & WS_TABSTOP), "no");

    for (int i = 0; i < kCount; ++i) {
        const design::Control& c = kControls[i];
        const std::string name = c.name;
        HWND hwnd = Control(i);
        f.Add(name + ".exists", Yes(hwnd != nullptr), Yes(c.windowClass != nullptr));
        if (!hwnd || !c.windowClass) continue;

        const LONG style = e2e::StyleOf(hwnd);
        const bool edit = lstrcmpiA(c.windowClass, "Edit") == 0;
        const RECT designed = {c.left, c.top, c.left + (i == kBanner ? kBannerWidthAfterStart : c.width),
                               c.top + (edit ? e2e::DesignEditHeight(c.height) : c.height)};
        f.Add(name + ".class", e2e::ClassOf(hwnd), c.windowClass);
        f.Add(name + ".parent is page", Yes(GetParent(hwnd) == page_), "yes");
        f.Add(name + ".rect", e2e::Box(e2e::WindowRectOf(hwnd), pageOrigin), e2e::Box(designed));
        // The clock label shows from the first tick, which may have come already.
        f.Add(name + ".shown", Yes(e2e::IsShown(hwnd)), i == kClockLabel ? "*" : Yes(c.page == 0 && (c.flags & V)));
        f.Add(name + ".enabled", Yes(e2e::IsEnabledWindow(hwnd)), Yes(!(c.flags & D)));
        f.Add(name + ".tab stop", Yes(style & WS_TABSTOP), Yes(c.flags & T));
        f.Add(name + ".default button",
              Yes(lstrcmpiA(c.windowClass, "Button") == 0 && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON),
              Yes(c.flags & DEF));
        // The edit boxes show what the registry says; the clock label is
        // rewritten by the clock.
        f.Add(name + ".text", e2e::TextOf(hwnd), !c.caption || i == kClockLabel ? "*" : c.caption);
    }
    EXPECT_TRUE(f.Match("controls on the page control"));
}

TEST_F(MainWindowTest, ControlsStackInControlOrder) {
    std::vector<Observed> actual;
    for (HWND child = GetWindow(page_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int index = GetDlgCtrlID(child) - Id(0);
        if (index >= 0 && index < kCount) actual.push_back({"next from the front", kControls[index].name});
    }
    std::vector<Expected> expected;
    for (const design::Control& c : kControls)
        if (c.windowClass) expected.push_back({"next from the front", c.name});
    EXPECT_TRUE(e2e::MatchSequence(expected, actual, "stacking order among the page control's children"));
}

TEST_F(MainWindowTest, PageControlPaintsTabsAndBodyInItsColours) {
    const e2e::TabGeometry g = Tabs();
    const RECT t0 = g.tabs[0], t1 = g.tabs[1];
    const int h = t1.bottom - t1.top;
    const e2e::Capture cap = CapturePage();
    ASSERT_FALSE(cap.Empty());
    auto at = [&](int x, int y) {
        const POINT p = OnPage(x, y);
        return e2e::ToString(cap.At(p.x, p.y));
    };
    const std::string page = e2e::ToString(kPageColour), frame = e2e::ToString(kFrameColour);
    const std::string face = e2e::ToString(ButtonFace());

    e2e::Facts f;
    f.Add("body between the edit boxes", at(200, 120), page);
    f.Add("body between the buttons", at(180, 175), page);
    f.Add("body frame, left", at(0, 100), frame);
    f.Add("body frame, right", at(kPageBody.right - 1, 100), frame);
    f.Add("body frame, bottom", at(200, kPageBody.bottom - 1), frame);
    f.Add("body frame, top under the other tab", at((t1.left + t1.right) / 2, g.body.top), frame);
    f.Add("body frame, top right of the tabs", at(kPageBody.right - 20, g.body.top), frame);
    f.Add("body frame, top under the current tab", at(t0.left + 5, g.body.top), page);
    f.Add("strip right of the tabs", at(kPageBody.right - 20, 10), face);
    f.Add("strip above the tabs", at(20, 0), face);
    f.Add("current tab face", at(t0.left + 3, 12), page);
    f.Add("current tab bevel column", at(t0.left, 12), face);
    f.Add("other tab outline, top", at(t1.left + 10, t1.top), frame);
    f.Add("other tab outline, left", at(t1.left + 1, t1.top + 10), frame);
    // The other tab's face: the gradient, row by row, left of its caption.
    for (int row = 1; row < h; ++row)
        f.Add("other tab face row " + std::to_string(row), at(t1.left + 3, t1.top + row),
              e2e::ToString(kTabFaceRows[row]));
    EXPECT_TRUE(f.Match("page control pixels"));

    auto onPageRect = [&](const RECT& r) {
        const POINT a = OnPage(r.left, r.top), b = OnPage(r.right, r.bottom);
        return RECT{a.x, a.y, b.x, b.y};
    };
    EXPECT_GT(cap.Count(onPageRect(t0), IsBlueInk), 0) << "the current tab's caption is not blue";
    EXPECT_EQ(cap.Count(onPageRect(t0), IsRedInk), 0) << "the current tab's caption is red without hover";
    EXPECT_GT(cap.Count(onPageRect(t1), IsDarkInk), 0) << "the other tab's caption is not black";
    EXPECT_EQ(cap.Count(onPageRect(t1), IsBlueInk), 0) << "the other tab's caption is blue";
}

TEST_F(MainWindowTest, HoverColoursTheTabUnderThePointer) {
    const e2e::TabGeometry g = Tabs();
    const RECT t1 = g.tabs[1];
    const int w = t1.right - t1.left;
    auto tabRect = [&](const RECT& t) {
        const POINT a = OnPage(t.left, t.top), b = OnPage(t.right, t.bottom);
        return RECT{a.x, a.y, b.x, b.y};
    };
    // Each spot of the other tab, hovered and plain; unhovered, (2, 1) belongs to the bevelled outline.
    const struct {
        const char* what;
        int x, y;
        Rgb hovered, plain;
    } spots[] = {
        {"top row, left end", 3, 0, kAccentTop, kFrameColour},
        {"top row, middle", w / 2, 0, kAccentTop, kFrameColour},
        {"top row, right end", w - 3, 0, kAccentTop, kFrameColour},
        {"top row, corner pixel", 2, 0, kAccentCorner, kFrameColour},
        {"second row", 2, 1, kAccentBelow, kFrameColour},
        {"third row", w - 2, 2, kAccentBelow, kTabFaceRows[2]},
    };
    auto accentState = [&]() {
        const e2e::Capture cap = CapturePage();
        std::vector<Observed> seen;
        for (const auto& s : spots) {
            const POINT p = OnPage(t1.left + s.x, t1.top + s.y);
            seen.push_back({s.what, e2e::ToString(cap.At(p.x, p.y))});
        }
        seen.push_back({"red caption", Yes(cap.Count(tabRect(t1), IsRedInk) > 0)});
        return seen;
    };
    auto accentWanted = [&](bool hover) {
        std::vector<Expected> want;
        for (const auto& s : spots) want.push_back({s.what, e2e::ToString(hover ? s.hovered : s.plain)});
        want.push_back({"red caption", Yes(hover)});
        return want;
    };
    // Hovered: the pointer rests low at the tab's right end, clear of the rows looked at.
    ASSERT_TRUE(e2e::MoveMouse(OnPage(t1.right - 6, t1.bottom - 3)));
    const std::vector<Expected> hovered = accentWanted(true);
    e2e::WaitFor([&] { return e2e::MatchSequence(hovered, accentState(), ""); }, 3000, 50);
    EXPECT_TRUE(e2e::MatchSequence(hovered, accentState(), "the other tab under the pointer"));

    // Off the tabs, onto the page body: the outline and the black caption return.
    ASSERT_TRUE(e2e::MoveMouse(OnPage(200, 120)));
    const std::vector<Expected> plain = accentWanted(false);
    e2e::WaitFor([&] { return e2e::MatchSequence(plain, accentState(), ""); }, 3000, 50);
    EXPECT_TRUE(e2e::MatchSequence(plain, accentState(), "the other tab after the pointer left"));

    // The current tab turns red too while hovered, and blue again after.
    const RECT t0 = g.tabs[0];
    ASSERT_TRUE(e2e::MoveMouse(OnPage(t0.right - 6, t0.bottom - 3)));
    EXPECT_TRUE(e2e::WaitFor([&] { return CapturePage().Count(tabRect(t0), IsRedInk) > 0; }, 3000, 50))
        << "the current tab's caption did not turn red under the pointer";
    ASSERT_TRUE(e2e::MoveMouse(OnPage(200, 120)));
    EXPECT_TRUE(e2e::WaitFor(
        [&] {
            const e2e::Capture cap = CapturePage();
            return cap.Count(tabRect(t0), IsRedInk) == 0 && cap.Count(tabRect(t0), IsBlueInk) > 0;
        },
        3000, 50))
        << "the current tab's caption did not return to blue";
}

TEST_F(MainWindowTest, PressingTheTabsSwitchesPagesAndFocus) {
    HWND back = Control(kReturnButton);
    ASSERT_TRUE(back);

    // To the about page by its tab.
    ASSERT_TRUE(e2e::ClickAt(TabCentre(1)));
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::IsShown(back); }, 3000)) << "the about page did not show";
    e2e::Settle(program_->Handle());
    EXPECT_TRUE(e2e::MatchSequence(PageShown(1), Visibility(), "after a press on the about tab"));
    EXPECT_EQ(FocusName(), kControls[kReturnButton].name);
    {
        const RECT t1 = Tabs().tabs[1];
        const e2e::Capture cap = CapturePage();
        const POINT face = OnPage(t1.left + 3, 12);
        EXPECT_EQ(e2e::ToString(cap.At(face.x, face.y)), e2e::ToString(kPageColour))
            << "the about tab is not drawn as the current tab";
        // The about text's four paragraphs, with an empty line between each,
        // are all inside the label: ink in the first and in the seventh line.
        const RECT label = e2e::WindowRectOf(Control(kAboutText));
        const int line = (label.bottom - label.top) / 7;
        EXPECT_GT(cap.Count(RECT{label.left, label.top, label.right, label.top + line}, IsDarkInk), 0)
            << "no first paragraph";
        EXPECT_GT(cap.Count(RECT{label.left, label.bottom - line, label.right, label.bottom}, IsDarkInk), 0)
            << "the last paragraph does not show inside the label";
        EXPECT_EQ(cap.Count(RECT{label.left, label.top + line, label.right, label.top + 2 * line - 1}, IsDarkInk), 0)
            << "no empty line after the first paragraph";
    }

    // The tab of the page already current: nothing moves.
    ASSERT_TRUE(e2e::ClickAt(TabCentre(1)));
    e2e::Settle(program_->Handle(), 200);
    EXPECT_TRUE(e2e::MatchSequence(PageShown(1), Visibility(), "after a second press on the about tab"));
    EXPECT_EQ(FocusName(), kControls[kReturnButton].name);

    // On the about page, Tab has only the return button to go to.
    e2e::PressKey(VK_TAB);
    e2e::Settle(program_->Handle());
    EXPECT_EQ(FocusName(), kControls[kReturnButton].name);

    // Back to the repair page by its tab.
    ASSERT_TRUE(e2e::ClickAt(TabCentre(0)));
    ASSERT_TRUE(e2e::WaitFor([&] { return !e2e::IsShown(back); }, 3000)) << "the repair page did not come back";
    e2e::Settle(program_->Handle());
    EXPECT_TRUE(e2e::MatchSequence(PageShown(0), Visibility(), "after a press on the repair tab"));
    EXPECT_EQ(FocusName(), kControls[kBrowseButton].name);
}

TEST_F(MainWindowTest, TabAndShiftTabWalkTheTabStops) {
    FocusByClick(kInstallFolderBox);
    std::vector<Observed> forward, backward;
    for (int i = 0; i < kTabStopCount; ++i) {
        e2e::PressKey(VK_TAB);
        e2e::Settle(program_->Handle(), 30);
        forward.push_back({"focus after Tab", FocusName()});
    }
    for (int i = 0; i < kTabStopCount; ++i) {
        e2e::KeyCombo({VK_SHIFT, VK_TAB});
        e2e::Settle(program_->Handle(), 30);
        backward.push_back({"focus after Shift+Tab", FocusName()});
    }
    // Round the designed order from 编辑框1 and back, both ways.
    std::vector<Expected> tab, shiftTab;
    for (int step = 1; step <= kTabStopCount; ++step) {
        tab.push_back({"focus after Tab", kControls[kTabOrder[step % kTabStopCount]].name});
        shiftTab.push_back(
            {"focus after Shift+Tab", kControls[kTabOrder[(kTabStopCount - step) % kTabStopCount]].name});
    }
    EXPECT_TRUE(e2e::MatchSequence(tab, forward, "Tab from 编辑框1"));
    EXPECT_TRUE(e2e::MatchSequence(shiftTab, backward, "Shift+Tab from 编辑框1"));
}

TEST_F(MainWindowTest, EnterF1AndTheDisabledButtonDoNothing) {
    const size_t windowsBefore = e2e::TopLevelWindows(program_->Id()).size();
    auto nothingHappened = [&](const char* what) {
        e2e::Settle(program_->Handle(), 500);
        EXPECT_TRUE(e2e::MessageBoxes(program_->Id()).empty()) << what << " opened a message box";
        EXPECT_TRUE(program_->Running()) << what << " ended the program";
        EXPECT_TRUE(IsWindow(main_) && e2e::IsShown(main_)) << what << " closed the window";
        EXPECT_FALSE(e2e::IsShown(Control(kReturnButton))) << what << " switched to the about page";
        EXPECT_EQ(e2e::TopLevelWindows(program_->Id()).size(), windowsBefore) << what << " opened a window";
    };

    FocusByClick(kInstallFolderBox);
    e2e::PressKey(VK_RETURN);
    nothingHappened("Enter in 编辑框1");
    EXPECT_EQ(FocusName(), kControls[kInstallFolderBox].name) << "Enter moved the focus";

    // On the repair and about buttons Enter must not click them either: only
    // an enabled default push button takes Enter, and the only one is disabled.
    e2e::PressKey(VK_TAB);
    e2e::PressKey(VK_TAB);
    ASSERT_TRUE(WaitForFocus(kRepairButton)) << "focus is on " << FocusName();
    e2e::PressKey(VK_RETURN);
    nothingHappened("Enter on 修复");
    e2e::PressKey(VK_TAB);
    ASSERT_TRUE(WaitForFocus(kAboutButton)) << "focus is on " << FocusName();
    e2e::PressKey(VK_RETURN);
    nothingHappened("Enter on 关于");

    e2e::PressKey(VK_F1);
    nothingHappened("F1");

    HWND focusBefore = e2e::FocusOf(main_);
    ASSERT_TRUE(e2e::ClickControl(Control(kLinkConfigButton)));
    nothingHappened("a click on 按钮1");
    EXPECT_EQ(e2e::FocusOf(main_), focusBefore) << "a click on the disabled 按钮1 moved the focus to " << FocusName();
}

TEST_F(MainWindowTest, EditBoxesTakeTypedText) {
    // Wider than either box: typing goes on past the edge.
    const std::string typed = "C:\\Program Files (x86)\\e 5.0 full install\\tools\\linker settings\\link.ini";
    for (int index : {kInstallFolderBox, kLinkConfigBox}) {
        FocusByClick(index);
        HWND edit = Control(index);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(edit, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, 2000, &ignored);
        e2e::TypeText(typed);
        EXPECT_TRUE(e2e::WaitFor([&] { return e2e::TextOf(edit) == typed; }, 3000))
            << kControls[index].name << " holds \"" << e2e::TextOf(edit) << "\"";
    }
}

// The window is fixed whatever asks: the system's sizing loop (a size command,
// or a move command with a border's hit-test in its low four bits), another
// program's MoveWindow or ShowWindow. A maximise is undone where it stands.
TEST_F(MainWindowTest, NoRouteResizesTheWindow) {
    const RECT start = e2e::WindowRectOf(main_);
    const POINT off{start.right + 90, start.bottom + 60};  // where a drag ends
    const auto command = [&](WPARAM wp) { return [&, wp] { PostMessageA(main_, WM_SYSCOMMAND, wp, 0); }; };
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"SC_SIZE|WMSZ_BOTTOMRIGHT", command(SC_SIZE | WMSZ_BOTTOMRIGHT)},
        {"SC_MOVE|HTLEFT", command(SC_MOVE | HTLEFT)},
        {"SC_MOVE|HTBOTTOM", command(SC_MOVE | HTBOTTOM)},
        {"MoveWindow 112x27", [&] { MoveWindow(main_, start.left, start.top, 112, 27, TRUE); }},
        {"SW_MINIMIZE, SW_RESTORE", [&] { ShowWindow(main_, SW_MINIMIZE), ShowWindow(main_, SW_RESTORE); }},
        {"SW_MAXIMIZE", [&] { ShowWindow(main_, SW_MAXIMIZE); }}};
    for (const auto& [name, ask] : rows) {
        ask();
        e2e::Settle(program_->Handle());
        e2e::MouseAt(off, 0), e2e::Settle(program_->Handle());
        const std::vector<e2e::Opened> open = e2e::OpenIn(program_->Id(), main_);
        const bool looping =
            std::any_of(open.begin(), open.end(), [](const e2e::Opened& o) { return o.what == "move loop"; });
        e2e::MouseAt(off, MOUSEEVENTF_LEFTUP), e2e::Settle(program_->Handle());  // ends any loop
        e2e::Facts f;
        f.Add("window", e2e::Box(e2e::WindowRectOf(main_)), e2e::Box(start));
        f.Add("maximised or minimised", Yes(IsZoomed(main_) || IsIconic(main_)), "no");
        f.Add("a sizing loop ran", Yes(looping), "no");
        EXPECT_TRUE(f.Match(name));
    }
}

// Each row a program of its own. Under Wine a loop of the system's (moving,
// a menu) takes the quit message meant for the program's loop.
TEST_F(MainWindowTest, EveryCloseEndsTheProgramWithExitCodeZero) {
    const auto foreground = [&] { ASSERT_TRUE(e2e::BringToForeground(main_)); };
    const auto settle = [&] { e2e::Settle(program_->Handle()); };
    const auto post = [&](UINT msg, WPARAM wp) { PostMessageA(main_, msg, wp, 0), settle(); };
    const struct {
        const char* name;
        std::function<void()> close;
    } rows[] = {
        {"Escape", [&] { foreground(), e2e::PressKey(VK_ESCAPE); }},
        {"Escape in 编辑框2", [&] { FocusByClick(kLinkConfigBox), e2e::TypeText("abc"), e2e::PressKey(VK_ESCAPE); }},
        {"the close box",
         [&] {
             POINT close;
             ASSERT_TRUE(e2e::FindHitPoint(main_, HTCLOSE, &close)) << "no point of the frame answers HTCLOSE";
             ASSERT_TRUE(e2e::ClickAt(close));
         }},
        {"Alt+F4",
         [&] {
             foreground(), e2e::KeyCombo({VK_MENU, VK_F4});
         }},
        {"Alt+F4 while the caption is dragged",
         [&] {
             POINT at;
             ASSERT_TRUE(e2e::FindHitPoint(main_, HTCAPTION, &at));
             e2e::MouseAt(at, MOUSEEVENTF_LEFTDOWN), settle(), e2e::MouseAt({at.x + 30, at.y + 20}, 0), settle();
             e2e::KeyCombo({VK_MENU, VK_F4}), settle(), e2e::MouseAt({at.x + 30, at.y + 20}, MOUSEEVENTF_LEFTUP);
         }},
        {"Alt+Space, M, Alt+F4",
         [&] {
             foreground(), e2e::KeyCombo({VK_MENU, VK_SPACE}), settle(), e2e::PressKey('M'), settle(),
                 e2e::KeyCombo({VK_MENU, VK_F4});
         }},
        {"posted SC_MOVE, WM_CLOSE", [&] { post(WM_SYSCOMMAND, SC_MOVE), post(WM_CLOSE, 0); }},
        {"posted SC_MOVE|HTCAPTION, WM_CLOSE", [&] { post(WM_SYSCOMMAND, SC_MOVE | HTCAPTION), post(WM_CLOSE, 0); }},
        {"sent SC_MOVE, WM_CLOSE",
         [&] { SendNotifyMessageA(main_, WM_SYSCOMMAND, SC_MOVE, 0), settle(), post(WM_CLOSE, 0); }},
    };
    for (const auto& row : rows) {
        if (&row != rows) {
            program_.reset();  // one that never ended holds the skin engine
            ASSERT_NO_FATAL_FAILURE(SetUp());
        }
        row.close();
        ExpectEndsWithCodeZero(row.name);
    }
}

// A module of the running program by name, or its exe for nullptr (the exe
// comes first); all zero when there is none.
MODULEENTRY32 ModuleOf(const e2e::Process& program, const char* name) {
    const tolvane::KernelHandle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, program.Id()));
    MODULEENTRY32 m = {};
    m.dwSize = sizeof m;
    for (BOOL more = modules && Module32First(modules.Get(), &m); more; more = Module32Next(modules.Get(), &m))
        if (!name || lstrcmpiA(m.szModule, name) == 0) return m;
    return MODULEENTRY32{};
}

// The program's own stack guard as its entry point left it, read from the
// running process where the linker's map of tolvane.exe puts it; 0 when
// not found.
DWORD StackGuardOf(const e2e::Process& program) {
    std::string path = e2e::ProgramPath();
    const unsigned long guard = tests::SymbolOffset(path.replace(path.size() - 3, 3, "map"), "__stack_chk_guard");
    const MODULEENTRY32 exe = ModuleOf(program, nullptr);
    DWORD value = 0;
    if (exe.modBaseAddr && guard)
        ReadProcessMemory(program.Handle(), exe.modBaseAddr + guard, &value, sizeof value, nullptr);
    return value;
}

TEST_F(MainWindowTest, EntryPointSeedsTheStackGuardAnewAtEachStart) {
    const DWORD first = StackGuardOf(*program_);
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_NE(first, 0u) << "no guard set, or none found through tolvane.map";
    EXPECT_NE(StackGuardOf(*program_), first) << "the same guard at two starts";
}

// Vista and later move the program and the engine off their linked bases at
// every start. The relocated entry, and only it, runs a copy of the program
// moved onto the engine's base, so that the loader must move the engine too.
TEST_F(MainWindowTest, ProgramAndEngineRunOffTheirLinkedBases) {
    unsigned long linkedExe = 0, linkedEngine = 0;
    ASSERT_EQ(std::sscanf(e2e::EnvVar("TOLVANE_LINKED_BASES").c_str(), "%lx %lx", &linkedExe, &linkedEngine), 2)
        << "TOLVANE_LINKED_BASES names none: not the relocated entry";
    const BYTE *exe = ModuleOf(*program_, nullptr).modBaseAddr, *engine = ModuleOf(*program_, "Skin.dll").modBaseAddr;
    EXPECT_TRUE(exe && reinterpret_cast<DWORD>(exe) != linkedExe)
        << "the program runs at " << static_cast<const void*>(exe);
    EXPECT_TRUE(engine && reinterpret_cast<DWORD>(engine) != linkedEngine)
        << "the engine runs at " << static_cast<const void*>(engine);
}

// ---- other display scales: the design's pixels are 96-dpi pixels ------------

// One row per scale; the fixture puts 96 dpi back after each, failed or not.
class ScaledWindowTest : public MainWindowTest, public ::testing::WithParamInterface<int> {
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(SetDisplayScale(GetParam()));
        MainWindowTest::SetUp();
    }
};
INSTANTIATE_TEST_SUITE_P(Dpi, ScaledWindowTest, ::testing::Values(120, 144, 192));

TEST_P(ScaledWindowTest, EverythingGrowsWithTheScale) {
    auto px = [&](int n) { return MulDiv(n, dpi_, 96); };
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::IsShown(Control(kClockLabel)); }, 3000)) << "no clock line";
    e2e::Facts f;
    e2e::AddScaledLayout(f, main_, page_, dpi_);
    for (int i = 0; i < kCount; ++i) {
        const design::Control& c = kControls[i];
        const bool button = c.windowClass && lstrcmpiA(c.windowClass, "Button") == 0;
        if (!button && i != kContactLabel && i != kClockLabel) continue;
        // One line inside a button's text margins (3 and 2), or its label. A face that grows faster than
        // the scale at one size (the stand-in for 宋体 draws 15-pixel glyphs 16 wide) may wrap: it is named.
        const RECT r = e2e::WindowRectOf(Control(i));
        const std::string caption = e2e::TextOf(Control(i));
        const SIZE text = e2e::DesignTextSize(i, dpi_, caption);
        const bool fits =
            text.cx <= r.right - r.left - (button ? 6 : 0) && text.cy <= r.bottom - r.top - (button ? 4 : 0);
        const bool faceOutgrew = text.cx > px(e2e::DesignTextSize(i, 96, caption).cx) + 1;
        if (!fits && faceOutgrew) std::printf("note: %s's caption is %ld wide at %d dpi\n", c.name, text.cx, dpi_);
        f.Add(std::string(c.name) + " caption fits", Yes(fits), faceOutgrew ? "*" : "yes");
    }

    const e2e::TabGeometry g = e2e::DesignTabs(dpi_);
    // Each tab is hot with the pointer on its outline at either end (drawn there), none past the last.
    const int mid = (g.tabs[0].top + g.tabs[0].bottom) / 2;
    auto pointAt = [&](int x, int tab) {
        const POINT p = OnPage(x, mid);
        if (tab >= 0)
            f.Add("outline at " + std::to_string(x), e2e::ToString(CapturePage().At(p.x, p.y)),
                  e2e::ToString(kFrameColour));
        ASSERT_TRUE(e2e::MoveMouse(p));
        auto hot = [&] {  // the tab whose caption is red, -1 for none
            const e2e::Capture cap = CapturePage();
            for (int t = 0; t < kPageCount; ++t)
                if (cap.Count({OnPage(g.tabs[t].left, 0).x, p.y - mid, OnPage(g.tabs[t].right, 0).x, p.y}, IsRedInk))
                    return t;
            return -1;
        };
        e2e::WaitFor([&] { return hot() == tab; }, 2000, 50);
        f.Add("hot tab, pointer at " + std::to_string(x), std::to_string(hot()), std::to_string(tab));
    };
    for (int tab = 0; tab < kPageCount; ++tab)
        for (int x : {static_cast<int>(g.tabs[tab].left) + px(1), static_cast<int>(g.tabs[tab].right) - 1})
            pointAt(x, tab);
    pointAt(g.tabs[kPageCount - 1].right + px(1), -1);

    // The pages switch by mouse.
    ASSERT_TRUE(e2e::ClickAt(TabCentre(1)));
    f.Add("about page by its tab", Yes(e2e::WaitFor([&] { return e2e::IsShown(Control(kReturnButton)); }, 3000)),
          "yes");
    ASSERT_TRUE(e2e::ClickAt(TabCentre(0)));
    f.Add("repair page by its tab", Yes(e2e::WaitFor([&] { return e2e::IsShown(Control(kInstallFolderBox)); }, 3000)),
          "yes");
    EXPECT_TRUE(f.Match("at " + std::to_string(dpi_) + " dpi"));
}

}  // namespace
