// Placement arithmetic of the main window and the banner.
#pragma once

#include "core/scale.h"

namespace tolvane {

struct Point {
    int x = 0, y = 0;
};

// Centred on the full screen, integer division (may be negative on a tiny screen).
Point CentredOrigin(int screenWidth, int screenHeight, int width, int height);

// The banner's width for a page control of `pageControlWidth` pixels:
// truncates width - 5.0 toward zero, then applies the width setter's clamp.
// The 5 is a 96-dpi length: at another `dpi` it is scaled.
int BannerWidthFor(int pageControlWidth, int dpi = kDesignDpi);

// The width setter's clamp: above 32627 becomes 32627, below 0 becomes 0.
int ClampControlWidth(long long width);

// An edit box lower than its text plus two 3-D edges is heightened to that.
int EditBoxHeight(int designHeight, int textHeight, int edgeHeight);

}  // namespace tolvane
