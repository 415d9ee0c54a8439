// High contrast, which Wine never reports, forced in this process on the real
// window with a contrast palette: every part in one matched pair of it, the
// skin standing aside; then off again, the window as it was, pixel for pixel.
#include <gtest/gtest.h>

#include "tests/inproc/forced_high_contrast.h"
#include "tests/inproc/program_window.h"
#include "toolkit/control_table.h"
#include "toolkit/win/control_services.h"

using namespace tolvane;

// Face, text, highlight, highlighted text, grey text, caption: none a colour of the design or the skin,
// each system colour in the role a contrast theme gives it.
constexpr COLORREF F = RGB(16, 8, 40), T = RGB(255, 250, 120), H = RGB(26, 235, 255), K = RGB(8, 8, 8),
                   G = RGB(60, 230, 60), C = RGB(130, 0, 110);
COLORREF kPalette[31] = {F, F, C, C, F, F, T, T, T, T, F, F, F, H, K, F, T, G, T, T, T, T, F, T, F, F, H, C, C, H, F};

RECT OnScreen(HWND w, RECT r) { return MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2), r; }

TEST(HighContrast, EveryPartTakesItsPairAndOffAgainNothingChanged) {
    ASSERT_TRUE(inproc::DropStaleSkinFiles());
    inproc::ProgramWindow window;
    ASSERT_TRUE(window.Build());
    const HWND main = window.hwnd, page = PageControlWindow();
    KillTimer(main, kClockTimerId);  // the clock line stays as the pictures are compared
    SetVisibleFlag(kClockLabel, true);
    SetLabelCaption(kClockLabel, "2026年12月7日8时0分1秒");
    SetCursorPos(0, 0);
    SetFocus(main);
    inproc::Drain(main);
    const e2e::Capture before = e2e::CaptureWindow(main);

    const inproc::ForcedHighContrast forced{
        {GetModuleHandleA(nullptr), GetModuleHandleA("C:\\WINDOWS\\system\\Skin.dll")}};
    ASSERT_EQ(forced.replaced, 2) << "the program's or the engine's reading of the setting was not found";
    int index[31];
    COLORREF saved[31];
    for (int i = 0; i < 31; ++i) index[i] = i, saved[i] = GetSysColor(i);
    // The palette, high contrast on, off, the colours back: each heard of by itself.
    SetSysColors(31, index, kPalette);
    inproc::ForcedHighContrast::on = true;
    SendMessageA(main, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    inproc::Drain(main);
    const e2e::Capture on = e2e::CaptureWindow(main);
    inproc::ForcedHighContrast::on = false;
    SendMessageA(main, WM_THEMECHANGED, 0, 0);
    SetSysColors(31, index, saved);
    inproc::Drain(main);
    const e2e::Capture off = e2e::CaptureWindow(main);

    const RECT t0 = e2e::DesignTabs().tabs[0], t1 = e2e::DesignTabs().tabs[1],
               client = OnScreen(main, e2e::ClientRectOf(main));
    const RECT caption{client.left + 100, client.top - 8, client.left + 101, client.top - 7};
    const struct {
        const char* what;
        RECT place;
        std::vector<COLORREF> colours;  // all it may show, the first of them shown
    } rows[] = {
        {"tab strip", OnScreen(page, {t1.right + 2, 2, 350, 22}), {F}},
        {"current tab", OnScreen(page, {t0.left + 2, 4, t0.right - 2, 20}), {K, H}},
        {"other tab", OnScreen(page, {t1.left + 2, 4, t1.right - 2, 20}), {T, F}},
        {"page body", OnScreen(page, {110, 150, 260, 160}), {F}},
        {"contact label", e2e::WindowRectOf(ControlWindow(kContactLabel)), {T, F}},
        {"banner's place", e2e::WindowRectOf(ControlWindow(kBanner)), {T, F}},
        {"the system's caption", caption, {C}},
        {"client area: nothing of the design or the skin", client, {F, T, H, K, G, C}},
    };
    for (const auto& row : rows) {
        auto is = [](COLORREF want) { return [want](e2e::Rgb c) { return c == e2e::FromColorRef(want); }; };
        int other = on.Count(row.place, [](e2e::Rgb) { return true; }), shown = on.Count(row.place, is(row.colours[0]));
        for (COLORREF c : row.colours) other -= on.Count(row.place, is(c));
        EXPECT_TRUE(other == 0 && shown > 0)
            << row.what << ": " << other << " pixels of another colour, " << shown << " of its own";
    }
    int changed = 0;
    for (int y = before.Top(); y < before.Top() + before.Height(); ++y)
        for (int x = before.Left(); x < before.Left() + before.Width(); ++x) changed += before.At(x, y) != off.At(x, y);
    EXPECT_EQ(changed, 0) << "pixels of the window differ from before high contrast";
}
