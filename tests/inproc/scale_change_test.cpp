// Moves to monitors of other scales, sent from inside the process as Windows
// sends them (Wine never does): after each, every rectangle and font is what
// a start at that scale gives, and back at 96 dpi no pixel has drifted.
#include <gtest/gtest.h>

#include "controls/win/page_control.h"
#include "tests/e2e/driver/design_form.h"
#include "tests/inproc/program_window.h"
#include "toolkit/win/control_services.h"
#include "winutil/dpi.h"

namespace {

std::string FontHeight(HWND hwnd) {
    LOGFONTA lf{};
    const auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    return font && GetObjectA(font, sizeof lf, &lf) ? std::to_string(lf.lfHeight) : "none";
}

TEST(ScaleChange, EveryRectangleAndFontMatchesAStartAtThatScaleAndComesBackWithoutDrift) {
    ASSERT_TRUE(inproc::DropStaleSkinFiles());
    inproc::ProgramWindow window;
    ASSERT_TRUE(window.Build());
    HWND main = window.hwnd, page = tolvane::PageControlWindow();
    LOGFONTA gui{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    for (int dpi : {120, 144, 192, 96}) {
        // As Windows does: the size the window asks for, then the change with
        // a rectangle for it, here centred on the screen (all of it on the
        // screen, for the pixel rows).
        SIZE size{};
        SendMessageA(main, tolvane::kWmGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size));
        const POINT at{(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
        RECT suggested{at.x, at.y, at.x + size.cx, at.y + size.cy};
        SendMessageA(main, tolvane::kWmDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        inproc::Drain(main);

        e2e::Facts f;
        e2e::AddScaledLayout(f, main, page, dpi);
        f.Add("window at", e2e::Box(e2e::WindowRectOf(main)), e2e::Box(suggested));
        const e2e::TabGeometry tabs = e2e::DesignTabs(dpi);
        for (int t = 0; t < design::kPageCount; ++t) {
            tolvane::PageTab tab{};
            f.Add("tab " + std::to_string(t), tolvane::PageControlTab(page, t, &tab) ? e2e::Box(tab.rect) : "none",
                  e2e::Box(tabs.tabs[t]));
        }
        f.Add("page font", FontHeight(page), std::to_string(-MulDiv(12, dpi, 96)));
        for (int i = 0; i < design::kCount; ++i)
            if (design::kControls[i].windowClass)
                f.Add(std::string(design::kControls[i].name) + " font", FontHeight(tolvane::ControlWindow(i)),
                      std::to_string(MulDiv(i == design::kBrowseButton ? -12 : gui.lfHeight, dpi, 96)));
        EXPECT_TRUE(f.Match("after WM_DPICHANGED to " + std::to_string(dpi) + " dpi"));
    }
}

}  // namespace
