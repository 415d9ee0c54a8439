// The window is designed in pixels at 96 dots per inch: every position, size
// and font. At another display scale a length n becomes MulDiv(n, dpi, 96):
// rounded to the nearest pixel, halves away from zero; at 96 dpi it is n itself.
#pragma once

namespace tolvane {

constexpr int kDesignDpi = 96;
// Scales a screen reports lie far below this; with it, n * dpi fits an int
// for every length a window can have (below 32768).
constexpr int kMaxDpi = 4800;

constexpr int ScaleToDpi(int n, int dpi) {
    const int product = n * dpi;
    return (product >= 0 ? product + kDesignDpi / 2 : product - kDesignDpi / 2) / kDesignDpi;
}

}  // namespace tolvane
