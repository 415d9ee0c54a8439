#include "winutil/dpi.h"

#include <windows.h>

#include "winutil/gdi_objects.h"

namespace tolvane {

namespace {
int g_dpi = 0;  // 0 until read
}  // namespace

int ScreenDpi() {
    if (g_dpi == 0) {
        const ScopedDc screen(nullptr);
        const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        g_dpi = dpi > 0 && dpi <= kMaxDpi ? dpi : kDesignDpi;
    }
    return g_dpi;
}

int Scale(int n) { return ScaleToDpi(n, ScreenDpi()); }

}  // namespace tolvane
