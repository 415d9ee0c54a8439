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

int UsableDpi(UINT dpi) { return dpi > 0 && dpi <= kMaxDpi ? static_cast<int>(dpi) : kDesignDpi; }

int ScreenDpi() {
    if (g_dpi == 0) {
        const ScopedDc screen(nullptr);
        // A failed read returns 0, a negative one a large unsigned: 96 either way.
        g_dpi = UsableDpi(screen.Get() ? static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSY)) : 0);
    }
    return g_dpi;
}

int WindowDpi(HWND hwnd) {
    const auto forWindow = User32().forWindow;
    const UINT dpi = forWindow && hwnd ? forWindow(hwnd) : 0;
    return dpi ? UsableDpi(dpi) : ScreenDpi();
}

int SystemMetricAt(int index, int dpi) {
    const auto forDpi = User32().metricForDpi;
    return forDpi ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

}  // namespace tolvane
