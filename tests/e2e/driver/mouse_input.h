// One mouse event through SendInput that carries its own screen position.
// Header-only, so that tests which do not link the driver can use it too.
#pragma once
#include <windows.h>

namespace e2e {

// Under Wine a pointer warp can be undone by a late echo of the old position,
// so a press or release sent without one may land where the pointer was, not
// where the test put it. Rounded up so that both the >>16 mapping and the
// /65535 one land on the pixel.
inline void MouseAt(POINT screen, DWORD buttonFlags) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<long long>(screen.x) * 65536 + w - 1) / w);
    in.mi.dy = static_cast<LONG>((static_cast<long long>(screen.y) * 65536 + h - 1) / h);
    in.mi.dwFlags = buttonFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

}  // namespace e2e
