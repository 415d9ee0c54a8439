// A move to a monitor of another scale, sent from inside the process as
// Windows sends it (Wine never does, and its GetDpiForWindow never changes):
// after each, every rectangle and font of the window is what a start at that
// scale gives, and the way back to 96 dpi leaves no pixel of drift.
#include <gtest/gtest.h>

#include <string>

#include "controls/win/page_control.h"
#include "tests/e2e/driver/design_form.h"
#include "tests/inproc/program_window.h"
#include "toolkit/win/form_api.h"
#include "winutil/dpi.h"

namespace {

std::string FontHeight(HWND hwnd) {
    LOGFONTA lf{};
    const auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    return font && GetObjectA(font, sizeof lf, &lf) ? std::to_string(lf.lfHeight) : "none";
}

std::string Corners(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(ScaleChange, EveryRectangleAndFontIsAStartsAtEachScaleAndBack) {
    ASSERT_TRUE(inproc::DropStaleSkinFiles());
    inproc::ProgramWindow window;
    ASSERT_TRUE(window.Build());
    HWND main = window.hwnd, page = tolvane::PageControlWindow();
    LOGFONTA gui{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    for (int dpi : {120, 144, 192, 96}) {
        auto px = [dpi](int n) { return MulDiv(n, dpi, 96); };
        // As Windows does: the size the window asks for, then the change
        // with a rectangle where the user dragged it.
        SIZE size{};
        SendMessageA(main, tolvane::kWmGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size));
        const RECT was = e2e::WindowRectOf(main);
        RECT suggested{was.left + 8, was.top + 4, was.left + 8 + size.cx, was.top + 4 + size.cy};
        SendMessageA(main, tolvane::kWmDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        inproc::Drain(main);

        e2e::Facts f;
        e2e::AddScaledPlaces(f, main, page, dpi, 0);
        const RECT now = e2e::WindowRectOf(main);
        f.Add("window at", Corners(now), Corners(suggested));
        f.Add("page font", FontHeight(page), std::to_string(-px(12)));
        const e2e::TabGeometry tabs = e2e::DesignTabs(dpi);
        for (int t = 0; t < 2; ++t) {
            tolvane::PageTab tab{};
            f.Add("tab " + std::to_string(t), tolvane::PageControlTab(page, t, &tab) ? Corners(tab.rect) : "none",
                  Corners(tabs.tabs[t]));
        }
        for (int i = 0; i < design::kCount; ++i) {
            const design::Control& c = design::kControls[i];
            if (!c.windowClass || i == design::kPicture1) continue;
            HWND hwnd = tolvane::ControlWindow(i);
            f.Add(std::string(c.name) + " font", FontHeight(hwnd),
                  std::to_string(i == design::kButton2 ? -px(12) : MulDiv(gui.lfHeight, dpi, 96)));
            // A path box's hidden name lies right before it, where the box is.
            if (lstrcmpiA(c.windowClass, "Edit") == 0) {
                RECT name = e2e::WindowRectOf(GetWindow(hwnd, GW_HWNDPREV));
                MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&name), 2);
                f.Add(std::string(c.name) + "'s name", Corners(name),
                      Corners(RECT{px(c.left), px(c.top), px(c.left), px(c.top)}));
            }
        }
        EXPECT_TRUE(f.Match("after WM_DPICHANGED to " + std::to_string(dpi) + " dpi"));
    }
}

}  // namespace
