// Moves to monitors of other scales, sent from inside the process as Windows
// sends them (Wine never does): after each, every rectangle and font is what
// a start at that scale gives, and back at 96 dpi no pixel has drifted.
#include <gtest/gtest.h>

#include <climits>

#include "controls/win/page_control.h"
#include "tests/e2e/driver/design_form.h"
#include "tests/inproc/import_slot.h"
#include "tests/inproc/program_window.h"
#include "toolkit/win/control_services.h"
#include "winutil/dpi.h"

namespace {

std::string FontHeight(HWND hwnd) {
    LOGFONTA lf{};
    const auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    return font && GetObjectA(font, sizeof lf, &lf) ? std::to_string(lf.lfHeight) : "none";
}

// The controls' ids from the front: the order a screen reader reads them in.
std::string ChildOrder(HWND parent) {
    std::string ids;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        ids += std::to_string(GetDlgCtrlID(c)) + " ";
    return ids;
}

// Scales Windows never sets (below 100 %, above 500 %) come only from other
// programs, and change nothing: each expects the layout of the scale before it.
// So do pointers no one can read or write, sent or posted; no rectangle, or
// an absurd one, still gives the window its layout's size, on the monitor.
TEST(ScaleChange, EveryRectangleAndFontMatchesAStartAtThatScaleAndComesBackWithoutDrift) {
    ASSERT_TRUE(inproc::DropStaleSkinFiles());
    inproc::ProgramWindow window;
    ASSERT_TRUE(window.Build());
    HWND main = window.hwnd, page = tolvane::PageControlWindow();
    LOGFONTA gui{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    static const SIZE kReadOnly{};
    // The user changes the scale in Settings, which stays the active window.
    const e2e::Window settings(CreateWindowExA(0, "STATIC", "settings", WS_POPUP | WS_VISIBLE, 0, 0, 100, 60, nullptr,
                                               nullptr, nullptr, nullptr));
    SetActiveWindow(settings.Get());
    const std::string mainOrder = ChildOrder(main), pageOrder = ChildOrder(page);
    int current = 96;
    enum Given { Centred, None, Unusable, Posted, Empty, Huge, Far };
    const std::pair<int, Given> rows[] = {{120, Centred},  {144, Centred}, {95, Centred}, {481, Centred},
                                          {4800, Centred}, {1, Centred},   {0, Centred},  {120, None},
                                          {144, Unusable}, {120, Posted},  {144, Empty},  {120, Huge},
                                          {144, Far},      {192, Centred}, {96, Centred}};
    for (const auto& [dpi, given] : rows) {
        // As Windows does: the size the window asks for, then the change with
        // a rectangle for it, here centred on the screen (all of it on the
        // screen, for the pixel rows).
        SIZE size{MulDiv(380, dpi, 96), MulDiv(250, dpi, 96)};
        const POINT at{(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
        const RECT suggestions[] = {{at.x, at.y, at.x + size.cx, at.y + size.cy},
                                    {},
                                    {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                                    {100000, 100000, 100000 + size.cx, 100000 + size.cy}};
        const RECT& suggested = suggestions[given < Empty ? 0 : given - Empty + 1];
        const bool unusable = given == Unusable || given == Posted;
        const LPARAM sizeAt = given == Posted ? 0x10 : reinterpret_cast<LPARAM>(unusable ? &kReadOnly : &size);
        const LPARAM rectAt = unusable ? 0x10 : given == None ? 0 : reinterpret_cast<LPARAM>(&suggested);
        const RECT before = e2e::WindowRectOf(main);
        LRESULT sized = 0;
        if (given == Posted) {
            PostMessageA(main, tolvane::kWmGetDpiScaledSize, dpi, sizeAt);
            PostMessageA(main, tolvane::kWmDpiChanged, MAKEWPARAM(dpi, dpi), rectAt);
        } else {
            sized = SendMessageA(main, tolvane::kWmGetDpiScaledSize, dpi, sizeAt);
            SendMessageA(main, tolvane::kWmDpiChanged, MAKEWPARAM(dpi, dpi), rectAt);
        }
        inproc::Drain(main);
        const bool taken = dpi >= 96 && dpi <= 480;
        if (taken) current = dpi;
        const SIZE now{MulDiv(380, current, 96), MulDiv(250, current, 96)};
        const POINT wants[] = {
            {before.left, before.top}, at, {0, 0}, {work.left, work.top}, {work.right - now.cx, work.bottom - now.cy}};
        const POINT want = wants[given >= Empty ? given - Empty + 2 : taken && given == Centred ? 1 : 0];

        e2e::Facts f;
        f.Add("WM_GETDPISCALEDSIZE answered", sized ? "yes" : "no", taken && !unusable ? "yes" : "no");
        e2e::AddScaledLayout(f, main, page, current);
        f.Add("window at", e2e::Box(e2e::WindowRectOf(main)),
              e2e::Box({want.x, want.y, want.x + now.cx, want.y + now.cy}));
        const e2e::TabGeometry tabs = e2e::DesignTabs(current);
        for (int t = 0; t < design::kPageCount; ++t) {
            tolvane::PageTab tab{};
            f.Add("tab " + std::to_string(t), tolvane::PageControlTab(page, t, &tab) ? e2e::Box(tab.rect) : "none",
                  e2e::Box(tabs.tabs[t]));
        }
        f.Add("page font", FontHeight(page), std::to_string(-MulDiv(12, current, 96)));
        for (int i = 0; i < design::kCount; ++i)
            if (design::kControls[i].windowClass)
                f.Add(std::string(design::kControls[i].name) + " font", FontHeight(tolvane::ControlWindow(i)),
                      std::to_string(MulDiv(i == design::kBrowseButton ? -12 : gui.lfHeight, current, 96)));
        f.Add("main window's children from the front", ChildOrder(main), mainOrder);
        f.Add("page's children from the front", ChildOrder(page), pageOrder);
        f.Add("active window", GetActiveWindow() == settings.Get() ? "settings" : "another", "settings");
        EXPECT_TRUE(
            f.Match("after WM_DPICHANGED to " + std::to_string(dpi) + " dpi, rectangle " + std::to_string(given)));
    }
}

// Windows before 10 1607 have no GetDpiForWindow: the window takes the
// system's scale there. Seen in this test started again at 120 dpi, which
// Wine reads at each start, with user32's function hidden.
decltype(&GetProcAddress) g_getProcAddress = nullptr;  // kernel32's, kept before its slot is swapped
FARPROC WINAPI HideGetDpiForWindow(HMODULE module, LPCSTR name) {
    return HIWORD(name) && lstrcmpA(name, "GetDpiForWindow") == 0 ? nullptr : g_getProcAddress(module, name);
}

TEST(ScaleChange, WithoutGetDpiForWindowTheWindowTakesTheSystemsScale) {
    if (tolvane::ScreenDpi() != 120) {
        const auto setScale = [](DWORD dpi) {
            return e2e::RegSetDword(HKEY_CURRENT_CONFIG, "Software\\Fonts", "LogPixels", dpi);
        };
        ASSERT_TRUE(setScale(120));
        std::unique_ptr<e2e::Process> child =
            e2e::LaunchSelf("--gtest_filter=ScaleChange.WithoutGetDpiForWindowTheWindowTakesTheSystemsScale");
        // Answering what the child sends meanwhile.
        DWORD code = 1;
        const bool ended =
            child && e2e::WaitFor([&] { return !child->Running(); }, 60000, 50) && child->WaitForExit(0, &code);
        EXPECT_TRUE(setScale(96));
        EXPECT_TRUE(ended && code == 0) << "the start at 120 dpi " << (ended ? "failed" : "did not end");
        return;
    }
    g_getProcAddress = &GetProcAddress;
    ASSERT_TRUE(inproc::SwapImport(GetModuleHandleA(nullptr), reinterpret_cast<void*>(&GetProcAddress),
                                   reinterpret_cast<void*>(&HideGetDpiForWindow)));
    // The skin files are this build's: the parent wrote them, and holds the engine.
    inproc::ProgramWindow window;
    ASSERT_TRUE(window.Build());
    const RECT r = e2e::WindowRectOf(window.hwnd);
    EXPECT_EQ(tolvane::MainWindowDpi(), 120);
    EXPECT_EQ(e2e::Box(r, {r.left, r.top}), "0,0 475x313") << "the window at 120 dpi";
}

}  // namespace
