// High contrast, which Wine never reports, forced in this process on the real
// window with a contrast palette: every part in one matched pair of it, the
// skin standing aside; then off again, the window as it was, pixel for pixel;
// and on at 150 %.
#include <gtest/gtest.h>

#include "tests/inproc/forced_high_contrast.h"
#include "tests/inproc/program_window.h"
#include "toolkit/control_table.h"
#include "toolkit/win/control_services.h"
#include "winutil/dpi.h"

using namespace tolvane;

// Face, text, highlight, highlighted text, grey text, caption: none a colour of the design or the skin,
// each system colour in the role a contrast theme gives it. Every other system colour has a value of its
// own, so that a part painted in the wrong one of a pair (the window's text for the face's) shows.
constexpr COLORREF F = RGB(16, 8, 40), T = RGB(255, 250, 120), H = RGB(26, 235, 255), K = RGB(8, 8, 8),
                   G = RGB(60, 230, 60), C = RGB(130, 0, 110);
const std::vector<COLORREF> kPalette = [] {
    std::vector<COLORREF> p;
    for (int i = 0; i < 31; ++i) p.push_back(RGB(100 + 4 * i, 60, 200 - 3 * i));
    p[COLOR_ACTIVECAPTION] = C, p[COLOR_HIGHLIGHT] = H, p[COLOR_HIGHLIGHTTEXT] = K;
    p[COLOR_BTNFACE] = F, p[COLOR_GRAYTEXT] = G, p[COLOR_BTNTEXT] = T;
    return p;
}();

RECT OnScreen(HWND w, RECT r) { return MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2), r; }

struct Shown {
    const char* what;
    RECT place;
    std::vector<COLORREF> colours;  // all it may show, the first of them shown
    bool centred = false;           // the first one's pixels, within a few
};

void ExpectShows(const e2e::Capture& shot, const Shown& part) {
    auto is = [](COLORREF want) { return [want](e2e::Rgb c) { return c == e2e::FromColorRef(want); }; };
    const RECT& r = part.place;
    int other = shot.Count(r, [](e2e::Rgb) { return true; }), shown = shot.Count(r, is(part.colours[0]));
    for (COLORREF c : part.colours) other -= shot.Count(r, is(c));
    EXPECT_TRUE(other == 0 && shown > 0) << part.what << ": " << other << " pixels of another colour, " << shown
                                         << " of its own";
    if (!part.centred) return;
    RECT ink{r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (shot.At(x, y) == e2e::FromColorRef(part.colours[0]))
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                       std::max<LONG>(ink.bottom, y + 1)};
    // Within the glyphs' own bearings.
    EXPECT_NEAR(ink.left - r.left, r.right - ink.right, 5) << part.what << ": the words' left and right margins";
    EXPECT_NEAR(ink.top - r.top, r.bottom - ink.bottom, 5) << part.what << ": the words' top and bottom margins";
}

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
    SetSysColors(31, index, kPalette.data());
    inproc::ForcedHighContrast::on = true;
    SendMessageA(main, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    // The pointer over the other tab, for its underline.
    const RECT t0 = e2e::DesignTabs().tabs[0], t1 = e2e::DesignTabs().tabs[1], b = e2e::DesignTabs().body;
    const POINT hover{(t1.left + t1.right) / 2, (t1.top + t1.bottom) / 2};
    SendMessageA(page, WM_MOUSEMOVE, 0, MAKELPARAM(hover.x, hover.y));
    inproc::Drain(main);
    const e2e::Capture on = e2e::CaptureWindow(main);
    SendMessageA(page, WM_MOUSELEAVE, 0, 0);
    inproc::ForcedHighContrast::on = false;
    SendMessageA(main, WM_THEMECHANGED, 0, 0);
    SetSysColors(31, index, saved);
    inproc::Drain(main);
    const e2e::Capture off = e2e::CaptureWindow(main);

    const RECT client = OnScreen(main, e2e::ClientRectOf(main));
    // Where the caption's gradient starts, in its own colour.
    const RECT caption{client.left, client.top - 8, client.left + 1, client.top - 7};
    std::vector<COLORREF> system = kPalette;  // what the system draws its buttons and edits in
    std::swap(system[0], system[COLOR_BTNFACE]);
    const Shown rows[] = {
        {"tab strip", OnScreen(page, {t1.right + 2, 2, 350, 22}), {F}},
        {"current tab", OnScreen(page, {t0.left + 2, 4, t0.right - 2, 20}), {K, H}},
        {"current tab's outline", OnScreen(page, {t0.left + 1, t0.top + 2, t0.left + 2, t0.bottom - 2}), {T}},
        {"other tab", OnScreen(page, {t1.left + 2, 4, t1.right - 2, 20}), {T, F}},
        {"hover underline", OnScreen(page, {t1.left + 3, t1.bottom - 3, t1.right - 3, t1.bottom - 1}), {T}},
        {"page body", OnScreen(page, {110, 150, 260, 160}), {F}},
        {"page body's frame", OnScreen(page, {b.left + 2, b.bottom - 1, b.right - 2, b.bottom}), {T}},
        {"contact label", e2e::WindowRectOf(ControlWindow(kContactLabel)), {T, F}},
        {"banner's words", e2e::WindowRectOf(ControlWindow(kBanner)), {T, F}, true},
        // wine-quirk: Wine draws a classic caption from the colours set here; 10 and 11 draw the title bar by DWM.
        {"the system's caption", caption, {C}},
        {"client area: nothing of the design or the skin", client, system},
    };
    for (const Shown& row : rows) ExpectShows(on, row);
    int changed = 0;
    for (int y = before.Top(); y < before.Top() + before.Height(); ++y)
        for (int x = before.Left(); x < before.Left() + before.Width(); ++x) changed += before.At(x, y) != off.At(x, y);
    EXPECT_EQ(changed, 0) << "pixels of the window differ from before high contrast";

    // At 150 %, where the words' font and box have grown.
    SetSysColors(31, index, kPalette.data());
    inproc::ForcedHighContrast::on = true;
    SendMessageA(main, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    SIZE size{};
    SendMessageA(main, kWmGetDpiScaledSize, 144, reinterpret_cast<LPARAM>(&size));
    RECT suggested{0, 0, size.cx, size.cy};
    SendMessageA(main, kWmDpiChanged, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    inproc::Drain(main);
    ExpectShows(e2e::CaptureWindow(main),
                {"banner's words at 144 dpi", e2e::WindowRectOf(ControlWindow(kBanner)), {T, F}, true});
    inproc::ForcedHighContrast::on = false;
    SetSysColors(31, index, saved);
}
