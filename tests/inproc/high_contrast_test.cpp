// High contrast, which Wine never reports, forced in this process on the real
// window with a contrast palette: every part in one matched pair of it, the
// skin standing aside; then off again, the window as it was, pixel for pixel.
#include <gtest/gtest.h>

#include "tests/inproc/forced_high_contrast.h"
#include "tests/inproc/program_window.h"
#include "toolkit/form_table.h"
#include "toolkit/win/form_api.h"

using namespace tolvane;

namespace {

// A palette in none of the design's or the skin's colours, each system colour
// given the role a contrast theme gives it: face, text, highlight, its text,
// grey text, caption.
constexpr COLORREF kRoles[] = {RGB(16, 8, 40), RGB(255, 250, 120), RGB(26, 235, 255), RGB(8, 8, 8), RGB(60, 230, 60), RGB(130, 0, 110)};
constexpr int kRoleOf[31] = {0, 0, 5, 5, 0, 0, 1, 1, 1, 1, 0, 0, 0, 2, 3, 0, 1, 4, 1, 1, 1, 1, 0, 1, 0, 0, 2, 5, 5, 2, 0};

TEST(HighContrast, EveryPartTakesItsPairAndOffAgainNothingChanged) {
    ASSERT_TRUE(inproc::DropStaleSkinFiles());
    inproc::ProgramWindow window;
    ASSERT_TRUE(window.Build());
    const HWND main = window.hwnd, page = PageControlWindow();
    KillTimer(main, kClockTimerId);  // the clock line stays as the pictures are compared
    SetVisibleFlag(kLabel3, true);
    SetLabelCaption(kLabel3, "2026年12月7日8时0分1秒");
    SetCursorPos(0, 0);
    SetFocus(main);
    inproc::Drain(main);
    const e2e::Capture before = e2e::CaptureWindow(main);

    inproc::ForcedHighContrast forced({GetModuleHandleA(nullptr), GetModuleHandleA("C:\\WINDOWS\\system\\Skin.dll")});
    ASSERT_EQ(forced.Replaced(), 2u) << "the program's or the engine's reading of the setting was not found";
    int index[31];
    COLORREF saved[31], palette[31];
    for (int i = 0; i < 31; ++i) index[i] = i, saved[i] = GetSysColor(i), palette[i] = kRoles[kRoleOf[i]];
    // The palette first, then high contrast on, each heard of by itself.
    SetSysColors(31, index, palette);
    inproc::ForcedHighContrast::on = true;
    SendMessageA(main, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    inproc::Drain(main);
    const e2e::Capture on = e2e::CaptureWindow(main);
    inproc::ForcedHighContrast::on = false;
    SendMessageA(main, WM_THEMECHANGED, 0, 0);
    SetSysColors(31, index, saved);
    inproc::Drain(main);
    const e2e::Capture off = e2e::CaptureWindow(main);

    auto onPage = [&](RECT r) { return MapWindowPoints(page, nullptr, reinterpret_cast<POINT*>(&r), 2), r; };
    auto of = [](int index) { RECT r; return GetWindowRect(ControlWindow(index), &r), r; };
    const e2e::TabGeometry g = e2e::DesignTabs();
    RECT frame, client{0, 0, 0, 0};
    GetWindowRect(main, &frame);
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 1);
    const int mid = (frame.left + frame.right) / 2, captionY = (frame.top + client.top) / 2;
    const struct {
        const char* what;
        RECT place;
        int text, back;
        bool inked;  // the text colour must show
    } rows[] = {
        {"tab strip", onPage({g.tabs[1].right + 2, 2, 350, 22}), COLOR_BTNTEXT, COLOR_BTNFACE, false},
        {"current tab", onPage({g.tabs[0].left + 2, 4, g.tabs[0].right - 2, 20}), COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT, true},
        {"other tab", onPage({g.tabs[1].left + 2, 4, g.tabs[1].right - 2, 20}), COLOR_BTNTEXT, COLOR_BTNFACE, true},
        {"page body", onPage({110, 150, 260, 160}), COLOR_BTNTEXT, COLOR_BTNFACE, false},
        {"contact label", of(kLabel1), COLOR_BTNTEXT, COLOR_BTNFACE, true},
        {"banner's place", of(kPicture1), COLOR_BTNTEXT, COLOR_BTNFACE, true},
        {"the system's caption", {mid, captionY, mid + 1, captionY + 1}, COLOR_ACTIVECAPTION, COLOR_ACTIVECAPTION, false},
    };
    for (const auto& row : rows) {
        const e2e::Rgb text = e2e::FromColorRef(palette[row.text]), back = e2e::FromColorRef(palette[row.back]);
        EXPECT_EQ(on.Count(row.place, [&](e2e::Rgb c) { return c != text && c != back; }), 0) << row.what << ": a colour of no pair";
        EXPECT_GT(on.Count(row.place, [&](e2e::Rgb c) { return c == back; }), 0) << row.what << ": not on its background";
        if (row.inked) EXPECT_GT(on.Count(row.place, [&](e2e::Rgb c) { return c == text; }), 0) << row.what << ": no text";
    }
    // Nothing of the design or the skin anywhere: the palette's colours only,
    // but in the icon, at the caption's left end.
    auto foreign = [&](e2e::Rgb c) {
        for (COLORREF p : kRoles) if (c == e2e::FromColorRef(p)) return false;
        return true;
    };
    const RECT icon{frame.left, frame.top, frame.left + client.top - frame.top, client.top};
    EXPECT_EQ(on.Count(frame, foreign) - on.Count(icon, foreign), 0) << "a colour of no pair in the window";
    int changed = 0;
    for (int y = before.Top(); y < before.Top() + before.Height(); ++y)
        for (int x = before.Left(); x < before.Left() + before.Width(); ++x) changed += before.At(x, y) != off.At(x, y);
    EXPECT_EQ(changed, 0) << "pixels of the window differ from before high contrast";
}

}  // namespace
