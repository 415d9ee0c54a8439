// The floor of a start: what any program with Tolvane's start-up must do
// before its window shows (OLE, the home page through the shell), then a
// plain 380 x 250 window. Built without TOLVANE_FLOOR_SHELL it is only the
// bare window. Findable by the benchmark as the real program is: same class
// and caption. Given "idle", the floor of a waiting window too: every
// control of the form at its place, as a system control, and the clock line
// written every second into a plain static.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstring>

#include "navigation/date_text.h"
#include "navigation/home_page.h"
#include "toolkit/control_table.h"

namespace {

using namespace tolvane;

#ifdef TOLVANE_FLOOR_SHELL
HWND g_clock = nullptr;  // the clock line's static, when there is one
#endif

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
#ifdef TOLVANE_FLOOR_SHELL
    if (message == WM_TIMER && g_clock) {
        SYSTEMTIME t;
        GetLocalTime(&t);
        const DateTime now{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
        SetWindowTextA(g_clock, DateTimeToText(now).c_str());
        return 0;
    }
#endif
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

#ifdef TOLVANE_FLOOR_SHELL
// The repair page's controls where the form has them, drawn by the system.
void BuildForm(HWND window) {
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const int x0 = kPageControl.left, y0 = kPageControl.top;
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_WHITERECT, x0, y0, kPageControl.width,
                    kPageControl.height, window, nullptr, nullptr, nullptr);
    for (int i = 0; i < kControlCount; ++i) {
        const ControlSpec& c = kControls[i];
        const char* cls = c.kind == Kind::Button ? "BUTTON" : c.kind == Kind::EditBox ? "EDIT" : "STATIC";
        if (c.kind == Kind::Timer || c.kind == Kind::CommonDlg) continue;
        const bool clock = i == kClockLabel;
        const DWORD visible = (c.page == kRepairPage && (c.flags & kVisible)) || clock ? WS_VISIBLE : 0;
        HWND w = CreateWindowExA(c.kind == Kind::EditBox ? WS_EX_CLIENTEDGE : 0, cls, c.caption, WS_CHILD | visible,
                                 x0 + c.left, y0 + c.top, c.width, c.height, window, nullptr, nullptr, nullptr);
        SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (clock) g_clock = w;
    }
    SetTimer(window, kClockTimerId, kTimerIntervalMs, nullptr);
}
#endif

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef TOLVANE_FLOOR_SHELL
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
#endif
    WNDCLASSA wc{};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "TolvaneMainWindow";
    RegisterClassA(&wc);
    // Waiting beside the program, it stands in the corner: a window covered
    // by the program's would not repaint its clock at all.
    const bool idle = std::strstr(GetCommandLineA(), " idle") != nullptr;
    const int x = idle ? 0 : (GetSystemMetrics(SM_CXSCREEN) - 380) / 2;
    const int y = idle ? 0 : (GetSystemMetrics(SM_CYSCREEN) - 250) / 2;
    HWND window = CreateWindowExA(0, wc.lpszClassName, "TolvaneV1.0", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y,
                                  380, 250, nullptr, nullptr, instance, nullptr);
#ifdef TOLVANE_FLOOR_SHELL
    if (idle) BuildForm(window);
    ShellExecuteA(FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer"), "open",
                  tolvane::HomePageAddress, nullptr, nullptr, SW_SHOWNORMAL);
#endif
    ShowWindow(window, SW_SHOW);
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
#ifdef TOLVANE_FLOOR_SHELL
    if (ole) OleUninitialize();
#endif
    return static_cast<int>(msg.wParam);
}
