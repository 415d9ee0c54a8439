// Colour arithmetic of vertical gradients and of lighter shades.
#pragma once
#include <vector>

#include "core/rgb.h"

namespace tolvane {

struct Band {
    int top = 0, bottom = 0;  // rows [top, bottom)
    Rgb colour;
};

// The page control's tabs run in 64 bands from `from` at the top to `to` at
// the bottom; band `index` of a rectangle `height` rows high, empty
// (bottom == top) when the rectangle has fewer rows than bands.
constexpr int kGradientBands = 64;
Band GradientBand(int top, int height, Rgb from, Rgb to, int index);

// Calls `fill` with each non-empty band, top to bottom; painting goes through
// here without a list of its own.
template <class Fill>
void ForEachGradientBand(int top, int height, Rgb from, Rgb to, Fill&& fill) {
    if (height <= 0) return;
    for (int i = 0; i < kGradientBands; ++i) {
        const Band b = GradientBand(top, height, from, to, i);
        if (b.bottom > b.top) fill(b);
    }
}

// The same bands as a list.
inline std::vector<Band> GradientBands(int top, int height, Rgb from, Rgb to) {
    std::vector<Band> bands;
    ForEachGradientBand(top, height, from, to, [&bands](const Band& b) { bands.push_back(b); });
    return bands;
}

// The skin engine's gradients give every row its own colour, the first row
// exactly `from` and the last exactly `to`.
Rgb GradientRow(Rgb from, Rgb to, int row, int height);

// Each channel moves `percent` of the way to white, truncated.
Rgb LightenTowardWhite(Rgb c, int percent);

}  // namespace tolvane
