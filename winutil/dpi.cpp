#include "winutil/dpi.h"

#include <windows.h>

namespace tolvane {

namespace {
int g_dpi = 0;  // 0 until read
}  // namespace

int ScreenDpi() {
    if (g_dpi == 0) {
        HDC screen = GetDC(nullptr);
        const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen) ReleaseDC(nullptr, screen);
        g_dpi = dpi > 0 && dpi <= kMaxDpi ? dpi : kDesignDpi;
    }
    return g_dpi;
}

int Scale(int n) { return ScaleToDpi(n, ScreenDpi()); }

}  // namespace tolvane
