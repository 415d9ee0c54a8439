// Page navigation, the clock line and the home-page link, seen from outside.
// The prefix's web browser is the tests' stand-in, which logs every address
// the program passes to the shell together with what it saw of the program's
// window while the program was still inside that call.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/driver/browser.h"
#include "tests/e2e/driver/fixture.h"
#include "tests/e2e/driver/locator_support.h"
#include "tests/e2e/driver/mouse_input.h"

using namespace design;
using e2e::BrowserOpening;
using e2e::Expected;
using e2e::Observed;

namespace {

constexpr DWORD kOpeningTimeoutMs = 10000;
// Long enough for a stray second opening (a press raising two events, a
// release opening too) to have reached the log.
constexpr DWORD kQuietMs = 700;

// Seconds since 1601 of a local calendar time, for comparing clock lines.
long long LocalSeconds(const SYSTEMTIME& st) {
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft)) return -1;
    return ((static_cast<long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000000LL;
}

long long NowLocalSeconds() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return LocalSeconds(st);
}

// Reads a clock line back into a time. The line must be the whole of one of
// its four forms: the time part stops at its lowest non-zero field, and no
// number has a leading zero. -1 when it is not a clock line.
long long ParseClockLine(const std::string& text) {
    int f[6] = {0, 0, 0, 0, 0, 0};
    int used = -1;
    const char* s = text.c_str();
    const int size = static_cast<int>(text.size());
    int fields = 0;
    if (std::sscanf(s, "%d年%d月%d日%d时%d分%d秒%n", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5], &used) == 6 &&
        used == size) {
        fields = 6;
    } else if (used = -1, std::sscanf(s, "%d年%d月%d日%d时%d分%n", &f[0], &f[1], &f[2], &f[3], &f[4], &used) == 5 &&
                              used == size) {
        fields = 5;
    } else if (used = -1,
               std::sscanf(s, "%d年%d月%d日%d时%n", &f[0], &f[1], &f[2], &f[3], &used) == 4 && used == size) {
        fields = 4;
    } else if (used = -1, std::sscanf(s, "%d年%d月%d日%n", &f[0], &f[1], &f[2], &used) == 3 && used == size) {
        fields = 3;
    } else {
        return -1;
    }
    // A shorter form stands for zeros, so the last field it shows is not zero.
    if (fields > 3 && f[fields - 1] == 0) return -1;
    // Written back without leading zeros, the numbers give the same text.
    char again[64];
    const char* forms[] = {"%d年%d月%d日", "%d年%d月%d日%d时", "%d年%d月%d日%d时%d分", "%d年%d月%d日%d时%d分%d秒"};
    std::snprintf(again, sizeof again, forms[fields - 3], f[0], f[1], f[2], f[3], f[4], f[5]);
    if (text != again) return -1;
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(f[0]);
    st.wMonth = static_cast<WORD>(f[1]);
    st.wDay = static_cast<WORD>(f[2]);
    st.wHour = static_cast<WORD>(f[3]);
    st.wMinute = static_cast<WORD>(f[4]);
    st.wSecond = static_cast<WORD>(f[5]);
    return LocalSeconds(st);
}

// A caption written at the last tick shows a second at most one tick old;
// the program's clock and ours may also straddle a turn of the second.
::testing::AssertionResult ShowsLocalTime(const std::string& caption) {
    const long long now = NowLocalSeconds();
    const long long shown = ParseClockLine(caption);
    if (shown < 0) return ::testing::AssertionFailure() << "not a clock line: \"" << caption << "\"";
    if (shown < now - 2 || shown > now + 1)
        return ::testing::AssertionFailure() << "\"" << caption << "\" is " << (now - shown) << " s off the local time";
    return ::testing::AssertionSuccess();
}

std::string ShownOrHidden(bool b) { return b ? "shown" : "hidden"; }

void Press(POINT at, bool down) { e2e::MouseAt(at, down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); }

std::string Describe(const std::vector<BrowserOpening>& openings) {
    std::string all;
    for (const BrowserOpening& o : openings) all += "\n  " + o.line;
    return openings.empty() ? " (none)" : all;
}

class NavigationTest : public e2e::ProgramTest {
protected:
    static void SetUpTestSuite() {
        std::string error;
        browserReady_ = e2e::UseFakeBrowser(&error);
        if (!browserReady_) std::printf("stand-in browser not set up: %s\n", error.c_str());
    }

    void SetUp() override {
        // Without the stand-in the program would start a real browser.
        ASSERT_TRUE(browserReady_);
        e2e::ClearBrowserLog();
        launchedAt_ = GetTickCount();
        // Polled fast: the clock label's state matters in the first moments.
        ASSERT_NO_FATAL_FAILURE(Start({}, 2));
        clock_ = Control(kClockLabel);
        ASSERT_TRUE(clock_);
        clockShownAtStart_ = (GetWindowLongA(clock_, GWL_STYLE) & WS_VISIBLE) != 0;
        clockCaptionAtStart_ = e2e::TextOf(clock_);
        shownAt_ = GetTickCount();
    }

    // Which windowed controls show, in control order. The clock label is
    // left to the tests that look at it on purpose.
    std::vector<Observed> PageState() const {
        std::vector<Observed> seen;
        for (int i = 0; i < kCount; ++i) {
            if (!kControls[i].windowClass || i == kClockLabel) continue;
            seen.push_back({kControls[i].name, ShownOrHidden(e2e::IsShown(Control(i)))});
        }
        seen.push_back({"focus", FocusName()});
        return seen;
    }

    static std::vector<Expected> PageExpected(int page, const char* focus) {
        std::vector<Expected> want;
        for (int i = 0; i < kCount; ++i) {
            if (!kControls[i].windowClass || i == kClockLabel) continue;
            want.push_back({kControls[i].name, ShownOrHidden(kControls[i].page == page)});
        }
        want.push_back({"focus", focus});
        return want;
    }

    // Waits for the opening that the start-up made, so that later counts start from it.
    void ExpectStartOpeningOnly() {
        ASSERT_TRUE(e2e::WaitForBrowserOpenings(1, kOpeningTimeoutMs)) << "no opening at start";
        e2e::Pump(kQuietMs);
        ASSERT_EQ(e2e::BrowserOpenings().size(), 1u) << Describe(e2e::BrowserOpenings());
    }

    void ExpectOpenings(size_t count, const std::string& after) {
        e2e::WaitForBrowserOpenings(count, kOpeningTimeoutMs);
        e2e::Pump(kQuietMs);
        EXPECT_EQ(e2e::BrowserOpenings().size(), count) << "after " << after << Describe(e2e::BrowserOpenings());
    }

    bool ClockShown() const { return e2e::IsShown(clock_); }

    static bool browserReady_;
    HWND clock_ = nullptr;
    bool clockShownAtStart_ = false;
    std::string clockCaptionAtStart_;
    DWORD launchedAt_ = 0;
    DWORD shownAt_ = 0;
};

bool NavigationTest::browserReady_ = false;

TEST_F(NavigationTest, StartOpensHomePageOnceWhileHiddenAndClockAppearsAtFirstTick) {
    // The timer starts with the window, after the launch: a window that shows
    // sooner than one interval after the launch cannot have seen a tick yet.
    const DWORD startMs = shownAt_ - launchedAt_;
    if (startMs < 1000 - 100) {
        EXPECT_FALSE(clockShownAtStart_) << "clock label showing as the window appeared " << startMs
                                         << " ms after the launch, caption \"" << clockCaptionAtStart_ << "\"";
    }
    // Whenever the label shows, it carries the time: never its default caption.
    if (clockShownAtStart_) EXPECT_TRUE(ShowsLocalTime(clockCaptionAtStart_));
    else EXPECT_EQ(clockCaptionAtStart_, kControls[kClockLabel].caption);

    ASSERT_NO_FATAL_FAILURE(ExpectStartOpeningOnly());
    const BrowserOpening start = e2e::BrowserOpenings()[0];
    EXPECT_EQ(start.address, kHomePage) << start.line;
    EXPECT_EQ(start.mainWindow, "hidden")
        << "the home page must be handed over before the window shows: " << start.line;
    EXPECT_EQ(start.page, "repair") << start.line;

    // The first tick shows the label already carrying the time.
    ASSERT_TRUE(e2e::WaitFor([this] { return ClockShown(); }, 3000, 5)) << "clock label never shown";
    const std::string first = e2e::TextOf(clock_);
    EXPECT_TRUE(ShowsLocalTime(first));

    // Rewritten as the seconds pass.
    std::string later;
    EXPECT_TRUE(e2e::WaitFor(
        [&] {
            later = e2e::TextOf(clock_);
            return later != first;
        },
        3000, 20))
        << "clock line stayed \"" << first << "\"";
    EXPECT_TRUE(ShowsLocalTime(later));
    EXPECT_GT(ParseClockLine(later), ParseClockLine(first));
    EXPECT_TRUE(ClockShown());

    // Ticks never open the home page.
    EXPECT_EQ(e2e::BrowserOpenings().size(), 1u) << Describe(e2e::BrowserOpenings());
}

TEST_F(NavigationTest, AboutAndReturnSwitchPagesFocusTheInstallationBoxAndOpenOnlyOnAbout) {
    ASSERT_NO_FATAL_FAILURE(ExpectStartOpeningOnly());
    ASSERT_TRUE(e2e::WaitFor([this] { return ClockShown(); }, 3000)) << "clock label never shown";

    ASSERT_TRUE(e2e::ClickControl(Control(kAboutButton)));
    ExpectOpenings(2, "a click on the about button");
    const auto openings = e2e::BrowserOpenings();
    ASSERT_GE(openings.size(), 2u);
    EXPECT_EQ(openings[1].address, kHomePage) << openings[1].line;
    EXPECT_EQ(openings[1].mainWindow, "visible") << openings[1].line;
    // Page switch and focus come before the shell is asked.
    EXPECT_EQ(openings[1].page, "about") << openings[1].line;
    EXPECT_EQ(openings[1].focusId, Id(kInstallFolderBox)) << openings[1].line;

    // The focus stays on the hidden installation box.
    EXPECT_TRUE(e2e::MatchSequence(PageExpected(1, kControls[kInstallFolderBox].name), PageState(), "about page"));
    EXPECT_FALSE(ClockShown()) << "the clock label belongs to the repair page";

    // Ticks go on over the about page: the caption changes, the label stays hidden.
    const std::string before = e2e::TextOf(clock_);
    EXPECT_TRUE(e2e::WaitFor([&] { return e2e::TextOf(clock_) != before; }, 3000, 20))
        << "clock line stopped on the about page at \"" << before << "\"";
    EXPECT_FALSE(ClockShown());

    // Typed, Backspace, Delete or pasted, nothing reaches the hidden installation box.
    HWND path = Control(kInstallFolderBox);
    SendMessageA(path, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("D:\\e\\"));
    SendMessageA(Control(kLinkConfigBox), EM_SETSEL, 0, -1);
    SendMessageA(Control(kLinkConfigBox), WM_COPY, 0, 0);  // something to paste
    for (WORD key : std::initializer_list<WORD>{VK_END, 'X', 'Y', VK_BACK, VK_HOME, VK_DELETE}) e2e::PressKey(key);
    e2e::KeyCombo({VK_CONTROL, 'V'});
    e2e::KeyCombo({VK_SHIFT, VK_INSERT});

    ASSERT_TRUE(e2e::ClickControl(Control(kReturnButton)));
    e2e::Settle(program_->Handle());
    EXPECT_TRUE(e2e::MatchSequence(PageExpected(0, kControls[kInstallFolderBox].name), PageState(), "repair page"));
    EXPECT_EQ(e2e::TextOf(path), "D:\\e\\") << "edited while hidden";
    // Its flag was set on the about page, so it shows with the page.
    EXPECT_TRUE(ClockShown());
    EXPECT_TRUE(ShowsLocalTime(e2e::TextOf(clock_)));
    ExpectOpenings(2, "a click on the return button");

    // A second round opens once more, the same way.
    ASSERT_TRUE(e2e::ClickControl(Control(kAboutButton)));
    ExpectOpenings(3, "a second click on the about button");
    EXPECT_TRUE(
        e2e::MatchSequence(PageExpected(1, kControls[kInstallFolderBox].name), PageState(), "about page again"));
}

TEST_F(NavigationTest, AboutTextOpensAtThePressAndOnceForADoubleClick) {
    ASSERT_NO_FATAL_FAILURE(ExpectStartOpeningOnly());
    ASSERT_TRUE(e2e::BringToForeground(main_));
    ASSERT_TRUE(e2e::ClickAt(TabCentre(1)));
    HWND text = Control(kAboutText);
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::IsShown(text); }, 2000)) << "about page not shown";
    ExpectOpenings(1, "a press on the about tab");

    // Held down: the opening comes with the press, not with the release.
    const POINT at = e2e::CentreOf(text);
    ASSERT_TRUE(e2e::MoveMouse(at));
    Press(at, true);
    const bool openedWhileHeld = e2e::WaitForBrowserOpenings(2, kOpeningTimeoutMs);
    Press(at, false);
    EXPECT_TRUE(openedWhileHeld) << "no opening while the button was held";
    ExpectOpenings(2, "a press and release on the about text");
    const auto openings = e2e::BrowserOpenings();
    ASSERT_GE(openings.size(), 2u);
    EXPECT_EQ(openings[1].address, kHomePage) << openings[1].line;
    EXPECT_EQ(openings[1].page, "about") << openings[1].line;

    // Out of the double-click time, so the next two presses pair only with each other.
    e2e::Pump(GetDoubleClickTime() + 100);
    Press(at, true);
    Press(at, false);
    Press(at, true);
    Press(at, false);
    ExpectOpenings(3, "a double click on the about text");
    EXPECT_TRUE(e2e::MatchSequence(PageExpected(1, kControls[kReturnButton].name), PageState(), "after the presses"));
}

TEST_F(NavigationTest, TabPressSwitchesPagesWithoutOpeningAndFocusGoesToFirstControl) {
    ASSERT_NO_FATAL_FAILURE(ExpectStartOpeningOnly());
    ASSERT_TRUE(e2e::WaitFor([this] { return ClockShown(); }, 3000)) << "clock label never shown";
    ASSERT_TRUE(e2e::BringToForeground(main_));

    ASSERT_TRUE(e2e::ClickAt(TabCentre(1)));
    e2e::Settle(program_->Handle());
    EXPECT_TRUE(e2e::MatchSequence(PageExpected(1, kControls[kReturnButton].name), PageState(), "about tab"));
    EXPECT_FALSE(ClockShown());

    ASSERT_TRUE(e2e::ClickAt(TabCentre(0)));
    e2e::Settle(program_->Handle());
    EXPECT_TRUE(e2e::MatchSequence(PageExpected(0, kControls[kBrowseButton].name), PageState(), "repair tab"));
    EXPECT_TRUE(ClockShown());

    // The current page's own tab changes nothing, the focus included.
    ASSERT_TRUE(e2e::ClickControl(Control(kLinkConfigBox)));
    ASSERT_TRUE(e2e::ClickAt(TabCentre(0)));
    e2e::Settle(program_->Handle());
    EXPECT_TRUE(e2e::MatchSequence(PageExpected(0, kControls[kLinkConfigBox].name), PageState(), "repair tab again"));

    ExpectOpenings(1, "presses on the tabs");
}

// The first tick comes about a second after the window was built, so a quick
// trip to the about page and back finds the clock label still without its flag.
TEST_F(NavigationTest, PageTripBeforeTheFirstTickLeavesTheClockHidden) {
    if (clockShownAtStart_) GTEST_SKIP() << "the first tick came before the window showed";
    ASSERT_TRUE(e2e::BringToForeground(main_));
    ASSERT_TRUE(e2e::ClickAt(TabCentre(1)));
    ASSERT_TRUE(e2e::ClickAt(TabCentre(0)));
    e2e::Settle(program_->Handle(), 20);
    const bool shownAfterTrip = ClockShown();
    if (e2e::TextOf(clock_) != kControls[kClockLabel].caption) {
        GTEST_SKIP() << "the first tick came during the trip, " << (GetTickCount() - shownAt_)
                     << " ms after the window showed";
    }
    EXPECT_FALSE(shownAfterTrip) << "clock label shown with its default caption after the trip";
    EXPECT_TRUE(e2e::MatchSequence(PageExpected(0, kControls[kBrowseButton].name), PageState(), "after the trip"));
    ASSERT_TRUE(e2e::WaitFor([this] { return ClockShown(); }, 3000)) << "clock label never shown";
    EXPECT_TRUE(ShowsLocalTime(e2e::TextOf(clock_)));
}

// Every event a control can raise, raised from outside the way the system
// raises it, also on controls no user input reaches (the disabled 按钮1, the
// hidden about page): a click is the button's BN_CLICKED to its parent; a
// press is WM_LBUTTONDOWN, released away from the control so that no button
// takes it for a click. Only the bound pairs may do anything, and each bound
// one must show its handler's effect.
TEST_F(NavigationTest, EachControlEventRunsItsOwnHandlerAndNoOther) {
    ASSERT_NO_FATAL_FAILURE(ExpectStartOpeningOnly());
    enum How { Click, Press };
    struct Row {
        Index control;
        How how;
        const char* dialog = "none";  // "none", "Open dialog" or "message box"
        int openings = 0;             // new home-page openings
        const char* page = "repair";  // the page showing afterwards
        const char* focus = nullptr;  // null: wherever the event left it
    };
    // clang-format off
    const Row rows[] = {
        {kLinkConfigButton, Click}, {kContactLabel, Click}, {kBanner, Click}, {kClockLabel, Click},
        {kLinkConfigBox, Click}, {kInstallFolderBox, Click}, {kAboutText, Click},
        {kBrowseButton, Click, "Open dialog"}, {kRepairButton, Click, "message box"},
        {kAboutButton, Click, "none", 1, "about", "编辑框1"}, {kReturnButton, Click, "none", 0, "repair", "编辑框1"},
        {kContactLabel, Press}, {kBrowseButton, Press}, {kLinkConfigButton, Press}, {kBanner, Press},
        {kClockLabel, Press}, {kAboutButton, Press}, {kRepairButton, Press}, {kLinkConfigBox, Press},
        {kInstallFolderBox, Press}, {kReturnButton, Press}, {kAboutText, Press, "none", 1},
    };
    // clang-format on
    e2e::Facts facts;
    size_t openings = e2e::BrowserOpenings().size();
    for (const Row& r : rows) {
        const std::string what =
            std::string(kControls[r.control].name) + (r.how == Click ? " clicked: " : " pressed: ");
        HWND control = Control(r.control);
        ASSERT_TRUE(control) << what;
        if (r.how == Click) {
            PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(Id(r.control), BN_CLICKED),
                         reinterpret_cast<LPARAM>(control));
        } else {
            PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
        }
        // What is expected comes within seconds; nothing at all is given a short while.
        const bool something = std::string(r.dialog) != "none" || r.openings > 0;
        e2e::WaitFor(
            [&] { return !e2e::MessageBoxes(program_->Id()).empty() || e2e::BrowserOpenings().size() > openings; },
            something ? kOpeningTimeoutMs : 300, 20);
        e2e::Settle(program_->Handle());
        const std::vector<HWND> dialogs = e2e::MessageBoxes(program_->Id());
        std::string dialog = "none";
        for (HWND d : dialogs) {
            const bool open = e2e::FileNameField(d) != nullptr;
            dialog = open ? "Open dialog" : "message box";
            e2e::PressDialogButton(d, open ? IDCANCEL : IDOK);
        }
        e2e::WaitFor([&] { return e2e::MessageBoxes(program_->Id()).empty(); }, kOpeningTimeoutMs, 20);
        const size_t now = e2e::BrowserOpenings().size();
        facts.Add(what + "dialog", dialog, r.dialog);
        facts.Add(what + "openings", std::to_string(now - openings), std::to_string(r.openings));
        facts.Add(what + "page", e2e::IsShown(Control(kReturnButton)) ? "about" : "repair", r.page);
        if (r.focus) facts.Add(what + "focus", FocusName(), r.focus);
        openings = now;
    }
    EXPECT_TRUE(facts.Match("control events"));
    // An opening the shell was slow to start still counts.
    ExpectOpenings(3, "every control event");
}

}  // namespace
