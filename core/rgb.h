// A 24-bit colour, as skins, the page control and the tests name colours.
#pragma once
#include <cstdint>

namespace tolvane {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

}  // namespace tolvane
