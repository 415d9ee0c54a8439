#include "app/gradient.h"

#include <algorithm>

namespace tolvane {

namespace {
constexpr int kBands = 64;

// Signed int throughout: the end colour is often darker than the start, and an
// unsigned difference would wrap instead of going down.
std::uint8_t BandChannel(int start, int end, int band) {
    return static_cast<std::uint8_t>((kBands * start + band * (end - start)) / kBands);
}
}  // namespace

std::vector<Band> GradientBands(int top, int height, Rgb from, Rgb to) {
    std::vector<Band> bands;
    if (height <= 0) return bands;
    // 64-bit products: a tall rectangle times 64 must not overflow.
    const long long h = height;
    for (int i = 0; i < kBands; ++i) {
        const int bandTop = top + static_cast<int>(h * i / kBands);
        const int bandBottom = top + static_cast<int>(h * (i + 1) / kBands);
        if (bandBottom <= bandTop) continue;
        Band b;
        b.top = bandTop;
        b.bottom = bandBottom;
        b.colour.r = BandChannel(from.r, to.r, i);
        b.colour.g = BandChannel(from.g, to.g, i);
        b.colour.b = BandChannel(from.b, to.b, i);
        bands.push_back(b);
    }
    return bands;
}

Rgb LightenTowardWhite(Rgb c, int percent) {
    // Outside 0..100 the channel would leave the byte range and wrap.
    const int p = std::clamp(percent, 0, 100);
    auto lighten = [p](std::uint8_t v) {
        return static_cast<std::uint8_t>(v + (255 - v) * p / 100);
    };
    return Rgb{lighten(c.r), lighten(c.g), lighten(c.b)};
}

}  // namespace tolvane
