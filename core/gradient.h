// Colour arithmetic of the page control's painting.
#pragma once
#include <cstdint>
#include <vector>

namespace tolvane {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

struct Band {
    int top = 0, bottom = 0;  // rows [top, bottom)
    Rgb colour;
};

// 64 bands from `from` at the top to `to` at the bottom; empty bands are left out.
std::vector<Band> GradientBands(int top, int height, Rgb from, Rgb to);

// Each channel moves `percent` of the way to white, truncated.
Rgb LightenTowardWhite(Rgb c, int percent);

}  // namespace tolvane
