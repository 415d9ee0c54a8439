#include "winutil/dpi.h"

#include "winutil/gdi_objects.h"
#include "winutil/system_library.h"

namespace tolvane {

namespace {

int g_dpi = 0;  // 0 until read

// Windows 10 1607 and later, so found at run time, once; user32 is loaded by
// every GUI process.
struct PerWindowScale {
    bool looked = false;
    UINT(WINAPI* forWindow)(HWND) = nullptr;
    int(WINAPI* metricForDpi)(int, UINT) = nullptr;
} g_user32;

const PerWindowScale& User32() {
    if (!g_user32.looked) {
        const HMODULE user32 = GetModuleHandleA("user32.dll");
        g_user32.forWindow = ProcOf<UINT(WINAPI*)(HWND)>(user32, "GetDpiForWindow");
        g_user32.metricForDpi = ProcOf<int(WINAPI*)(int, UINT)>(user32, "GetSystemMetricsForDpi");
        g_user32.looked = true;
    }
    return g_user32;
}

}  // namespace

int ScreenDpi() {
    if (g_dpi == 0) {
        const ScopedDc screen(nullptr);
        const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;  // 0 when the read failed
        g_dpi = IsWindowsDpi(dpi) ? dpi : kDesignDpi;
    }
    return g_dpi;
}

int WindowDpi(HWND hwnd) {
    const auto forWindow = User32().forWindow;
    const UINT dpi = forWindow && hwnd ? forWindow(hwnd) : 0;
    return IsWindowsDpi(dpi) ? static_cast<int>(dpi) : ScreenDpi();
}

int SystemMetricAt(int index, int dpi) {
    const auto forDpi = User32().metricForDpi;
    return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

}  // namespace tolvane
