#include "winutil/high_contrast.h"

namespace tolvane {

static_assert(static_cast<int>(SysColour::Highlight) == COLOR_HIGHLIGHT &&
                  static_cast<int>(SysColour::HighlightText) == COLOR_HIGHLIGHTTEXT &&
                  static_cast<int>(SysColour::ButtonFace) == COLOR_BTNFACE &&
                  static_cast<int>(SysColour::GrayText) == COLOR_GRAYTEXT &&
                  static_cast<int>(SysColour::ButtonText) == COLOR_BTNTEXT,
              "the pure part names the system's colour indices");

namespace {

int g_on = -1;  // -1 until read

// The one place the setting is asked for: SystemParametersInfoA, on every
// Windows from XP on. A failed call counts as off, the design's own look.
int Read() {
    HIGHCONTRASTA hc{};
    hc.cbSize = sizeof hc;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON) ? 1 : 0;
}

}  // namespace

bool HighContrast() {
    if (g_on < 0) g_on = Read();
    return g_on == 1;
}

bool ReadHighContrast() {
    const int was = g_on;
    g_on = Read();
    return g_on != was;
}

void PassColourChangeToChildren(HWND parent) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageA(c, WM_SYSCOLORCHANGE, 0, 0);
}

}  // namespace tolvane
