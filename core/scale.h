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

// The height of a font the system made at `fromDpi`, as the system makes it
// at `toDpi`. Its fonts are whole points, so the height goes back to points
// first: 8 points is 11 pixels at 96 dpi and 16 at 144, where 11 scaled
// straight would give 16.5, rounded to 17.
constexpr int FontHeightAtDpi(int height, int fromDpi, int toDpi) {
    if (fromDpi == toDpi || fromDpi <= 0) return height;
    const int size = height < 0 ? -height : height;
    const int points = (size * 72 + fromDpi / 2) / fromDpi;
    const int pixels = (points * toDpi + 36) / 72;
    return height < 0 ? -pixels : pixels;
}

}  // namespace tolvane
