#include "core/gradient.h"

#include <algorithm>

namespace tolvane {

namespace {
// Signed int throughout: the end colour is often darker than the start, and an
// unsigned difference would wrap instead of going down.
std::uint8_t BandChannel(int start, int end, int band) {
    return static_cast<std::uint8_t>((kGradientBands * start + band * (end - start)) / kGradientBands);
}
}  // namespace

Band GradientBand(int top, int height, Rgb from, Rgb to, int index) {
    Band b;
    if (height <= 0) {
        b.top = b.bottom = top;
        return b;
    }
    // 64-bit products: a tall rectangle times 64 must not overflow.
    const long long h = height;
    b.top = top + static_cast<int>(h * index / kGradientBands);
    b.bottom = top + static_cast<int>(h * (index + 1) / kGradientBands);
    b.colour.r = BandChannel(from.r, to.r, index);
    b.colour.g = BandChannel(from.g, to.g, index);
    b.colour.b = BandChannel(from.b, to.b, index);
    return b;
}

Rgb GradientRow(Rgb from, Rgb to, int row, int height) {
    if (height <= 1) return from;
    auto mix = [&](int a, int b) { return static_cast<std::uint8_t>(a + (b - a) * row / (height - 1)); };
    return Rgb{mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b)};
}

Rgb LightenTowardWhite(Rgb c, int percent) {
    // Outside 0..100 the channel would leave the byte range and wrap.
    const int p = std::clamp(percent, 0, 100);
    auto lighten = [p](std::uint8_t v) { return static_cast<std::uint8_t>(v + (255 - v) * p / 100); };
    return Rgb{lighten(c.r), lighten(c.g), lighten(c.b)};
}

}  // namespace tolvane
