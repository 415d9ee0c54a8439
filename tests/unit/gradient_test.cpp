#include "core/gradient.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

const Rgb kTabTop{255, 255, 255};
const Rgb kTabBottom{235, 235, 229};

::testing::AssertionResult BandsTile(const std::vector<Band>& bands, int top, int height) {
    int next = top;
    for (const Band& b : bands) {
        if (b.top != next || b.bottom <= b.top)
            return ::testing::AssertionFailure() << "gap or empty band at row " << b.top;
        next = b.bottom;
    }
    if (next != top + height) return ::testing::AssertionFailure() << "ends at " << next;
    return ::testing::AssertionSuccess();
}

TEST(Gradient, TwentyRowTabSkipsEmptyBands) {
    const std::vector<Band> bands = GradientBands(0, 20, kTabTop, kTabBottom);
    ASSERT_EQ(bands.size(), 20u);
    EXPECT_TRUE(BandsTile(bands, 0, 20));
    // Row 0 is painted by band 3: bands 0 to 2 are empty, so the top row is not white.
    EXPECT_EQ(bands.front().colour, (Rgb{254, 254, 253}));
    EXPECT_EQ(bands[1].colour, (Rgb{253, 253, 252}));  // band 6
    EXPECT_EQ(bands[4].colour, (Rgb{250, 250, 248}));  // band 15
    EXPECT_EQ(bands[5].colour, (Rgb{249, 249, 247}));  // band 19
    EXPECT_EQ(bands.back().top, 19);
    EXPECT_EQ(bands.back().colour, kTabBottom);  // band 63
}

TEST(Gradient, SixtyFourRowsGiveOneRowPerBand) {
    const std::vector<Band> bands = GradientBands(5, 64, kTabTop, kTabBottom);
    ASSERT_EQ(bands.size(), 64u);
    EXPECT_TRUE(BandsTile(bands, 5, 64));
    EXPECT_EQ(bands[0].colour, kTabTop);
    EXPECT_EQ(bands[1].colour, (Rgb{254, 254, 254}));
    EXPECT_EQ(bands[63].colour, kTabBottom);
}

TEST(Gradient, TenRowsAndTallRectangles) {
    const std::vector<Band> ten = GradientBands(100, 10, kTabTop, kTabBottom);
    ASSERT_EQ(ten.size(), 10u);
    EXPECT_TRUE(BandsTile(ten, 100, 10));
    EXPECT_EQ(ten.front().colour, (Rgb{253, 253, 252}));  // band 6
    EXPECT_EQ(ten[4].colour, (Rgb{245, 245, 242}));       // band 31
    EXPECT_EQ(ten.back().colour, kTabBottom);

    const std::vector<Band> tall = GradientBands(0, 130, kTabTop, kTabBottom);
    ASSERT_EQ(tall.size(), 64u);
    EXPECT_TRUE(BandsTile(tall, 0, 130));
    EXPECT_EQ(tall[0].bottom - tall[0].top, 2);
}

TEST(Gradient, FallingAndRisingChannelsFollowTheIntegerFormula) {
    // Red rises, green stays, blue falls the full range.
    const std::vector<Band> bands = GradientBands(0, 64, Rgb{0, 100, 255}, Rgb{255, 100, 0});
    ASSERT_EQ(bands.size(), 64u);
    EXPECT_EQ(bands[0].colour, (Rgb{0, 100, 255}));
    EXPECT_EQ(bands[1].colour, (Rgb{3, 100, 251}));
    EXPECT_EQ(bands[31].colour, (Rgb{123, 100, 131}));
    EXPECT_EQ(bands[32].colour, (Rgb{127, 100, 127}));
    // The end colour itself is never reached.
    EXPECT_EQ(bands[63].colour, (Rgb{251, 100, 3}));
}

TEST(Gradient, EmptyOrNegativeHeightPaintsNothing) {
    EXPECT_TRUE(GradientBands(0, 0, kTabTop, kTabBottom).empty());
    EXPECT_TRUE(GradientBands(10, -20, kTabTop, kTabBottom).empty());
}

TEST(Gradient, LighteningMovesEachChannelTowardWhiteTruncated) {
    EXPECT_EQ(LightenTowardWhite(Rgb{230, 139, 44}, 30), (Rgb{237, 173, 107}));
    EXPECT_EQ(LightenTowardWhite(Rgb{0, 255, 254}, 30), (Rgb{76, 255, 254}));
    EXPECT_EQ(LightenTowardWhite(Rgb{12, 34, 56}, 0), (Rgb{12, 34, 56}));
    EXPECT_EQ(LightenTowardWhite(Rgb{12, 34, 56}, 100), (Rgb{255, 255, 255}));
    // Out-of-range percentages stop at the ends instead of wrapping the byte.
    EXPECT_EQ(LightenTowardWhite(Rgb{12, 34, 56}, 250), (Rgb{255, 255, 255}));
    EXPECT_EQ(LightenTowardWhite(Rgb{12, 34, 56}, -40), (Rgb{12, 34, 56}));
}

}  // namespace
}  // namespace tolvane
