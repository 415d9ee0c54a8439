// The floor of a start: what any program with Tolvane's start-up must do
// before its window shows (OLE, the home page through the shell), then a
// plain 380 x 250 window. Built without TOLVANE_FLOOR_SHELL it is only the
// bare window. Findable by the benchmark as the real program is: same class
// and caption.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include "navigation/home_page.h"

namespace {

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

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
    const int x = (GetSystemMetrics(SM_CXSCREEN) - 380) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 250) / 2;
    HWND window = CreateWindowExA(0, wc.lpszClassName, "TolvaneV1.0", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, x, y,
                                  380, 250, nullptr, nullptr, instance, nullptr);
#ifdef TOLVANE_FLOOR_SHELL
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
