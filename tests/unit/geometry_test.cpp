#include "toolkit/geometry.h"

#include <climits>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(Geometry, WindowIsCentredOnTheFullScreen) {
    struct Case {
        int sw, sh, x, y;
    };
    const Case cases[] = {
        {1024, 768, 322, 259}, {1025, 769, 322, 259},                    // odd leftovers truncate
        {1366, 767, 493, 258}, {380, 250, 0, 0},      {379, 249, 0, 0},  // -1 / 2 truncates toward zero
        {300, 200, -40, -25},  // smaller screen: the window hangs off both sides
    };
    for (const Case& c : cases) {
        const Point p = CentredOrigin(c.sw, c.sh, 380, 250);
        EXPECT_EQ(p.x, c.x) << c.sw << "x" << c.sh;
        EXPECT_EQ(p.y, c.y) << c.sw << "x" << c.sh;
    }
}

TEST(Geometry, BannerIsFiveNarrowerThanThePageControl) {
    EXPECT_EQ(BannerWidthFor(360), 355);
    EXPECT_EQ(BannerWidthFor(6), 1);
    EXPECT_EQ(BannerWidthFor(5), 0);
    EXPECT_EQ(BannerWidthFor(4), 0);
    EXPECT_EQ(BannerWidthFor(0), 0);
    EXPECT_EQ(BannerWidthFor(-100), 0);
    EXPECT_EQ(BannerWidthFor(32632), 32627);
    EXPECT_EQ(BannerWidthFor(32633), 32627);
    EXPECT_EQ(BannerWidthFor(INT_MAX), 32627);
    // The most negative widths must not wrap round to the maximum.
    EXPECT_EQ(BannerWidthFor(INT_MIN), 0);
    EXPECT_EQ(BannerWidthFor(INT_MIN + 4), 0);
    // At 144 dpi the 5 is 7.5, which rounds as MulDiv does, to 8.
    EXPECT_EQ(BannerWidthFor(540, 144), 532);
}

// The system's fonts keep their whole points at a window's own scale.
TEST(Geometry, SystemFontsKeepTheirPointsAtAnotherScale) {
    EXPECT_EQ(FontHeightAtDpi(-12, 96, 144), -18);
    EXPECT_EQ(FontHeightAtDpi(-11, 96, 144), -16);  // 16.5 scaled straight would round to 17
    EXPECT_EQ(FontHeightAtDpi(15, 120, 96), 12);    // a cell height keeps its sign
    // 13 pixels at 120 dpi are 7.8 points: 8, not 7.
    EXPECT_EQ(FontHeightAtDpi(-13, 120, 144), -16);
}

TEST(Geometry, WidthSetterClamps) {
    EXPECT_EQ(ClampControlWidth(32627), 32627);
    EXPECT_EQ(ClampControlWidth(32628), 32627);
    EXPECT_EQ(ClampControlWidth(1LL << 40), 32627);
    EXPECT_EQ(ClampControlWidth(0), 0);
    EXPECT_EQ(ClampControlWidth(-1), 0);
    EXPECT_EQ(ClampControlWidth(-(1LL << 40)), 0);
}

TEST(Geometry, EditBoxGrowsToItsTextAndEdges) {
    EXPECT_EQ(EditBoxHeight(17, 13, 2), 17);
    EXPECT_EQ(EditBoxHeight(17, 12, 2), 17);
    EXPECT_EQ(EditBoxHeight(17, 14, 2), 18);
    EXPECT_EQ(EditBoxHeight(17, 16, 3), 22);
}

}  // namespace
}  // namespace tolvane
