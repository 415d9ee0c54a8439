// The display scale. Each window has its own: Windows 10 (1607 and later)
// gives a window the scale of the monitor it is on, and tells it of a move to
// another with WM_DPICHANGED; earlier Windows have one scale for every window.
// The program and the skin engine each link their own copy.
#pragma once
#include <windows.h>

#include "core/scale.h"

namespace tolvane {

// Beyond the headers of the oldest Windows the program targets.
// Each is ignored with a scale that IsWindowsDpi refuses.
constexpr UINT kWmDpiChanged = 0x02E0;        // wParam: the new scale in both words; lParam: RECT*
constexpr UINT kWmGetDpiScaledSize = 0x02E4;  // wParam: the new scale; lParam: SIZE* to fill in

// The system's scale, GetDeviceCaps(LOGPIXELSY) of the screen at the first
// call; 96 when unreadable or not one Windows sets (IsWindowsDpi).
int ScreenDpi();

// A window's own scale: GetDpiForWindow where user32 has it and answers one
// Windows sets, else the system's.
int WindowDpi(HWND hwnd);

// GetSystemMetricsForDpi where user32 has it, else GetSystemMetrics, which
// returns the metric at the system's scale: the only one a window has there.
int SystemMetricAt(int index, int dpi);

}  // namespace tolvane
