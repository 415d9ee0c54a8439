#include "toolkit/geometry.h"

#include <cmath>

namespace tolvane {

namespace {
constexpr long long kMaxControlWidth = 32627;
}  // namespace

Point CentredOrigin(int screenWidth, int screenHeight, int width, int height) {
    // Truncating division: an odd leftover pixel goes to the right and bottom.
    Point p;
    p.x = (screenWidth - width) / 2;
    p.y = (screenHeight - height) / 2;
    return p;
}

int ClampControlWidth(long long width) {
    if (width > kMaxControlWidth) return static_cast<int>(kMaxControlWidth);
    if (width < 0) return 0;
    return static_cast<int>(width);
}

int BannerWidthFor(int pageControlWidth, int dpi) {
    // Any int minus the margin is exact in a double and fits 64 bits after truncation.
    // The clamp sees that 64-bit value: cutting it to 32 bits first would turn
    // a width just above INT_MIN into a large positive one.
    const double reduced = static_cast<double>(pageControlWidth) - ScaleToDpi(5, dpi);
    return ClampControlWidth(static_cast<long long>(std::trunc(reduced)));
}

int EditBoxHeight(int designHeight, int textHeight, int edgeHeight) {
    const int needed = textHeight + 2 * edgeHeight;
    return designHeight < needed ? needed : designHeight;
}

}  // namespace tolvane
