// The window is designed in pixels at 96 dots per inch: every position, size
// and font. At another display scale a length n becomes MulDiv(n, dpi, 96):
// rounded to the nearest pixel, halves away from zero; at 96 dpi it is n itself.
#pragma once

namespace tolvane {

constexpr int kDesignDpi = 96;
// The scales Windows sets, 100 % to 500 %. A message from another program may
// carry any number: one far above these freezes the window while it makes
// fonts and bitmaps of megabytes, one below shrinks it to a few pixels.
constexpr int kMinDpi = kDesignDpi;
constexpr int kMaxDpi = 480;
constexpr bool IsWindowsDpi(long long dpi) { return dpi >= kMinDpi && dpi <= kMaxDpi; }

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
