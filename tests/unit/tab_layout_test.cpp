#include "controls/tab_layout.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

Rect R(int l, int t, int r, int b) { return Rect{l, t, r, b}; }

TabLayoutInput Input(std::vector<int> captions, int width, int current = 0, int font = 12) {
    TabLayoutInput in;
    in.captionWidths = std::move(captions);
    in.fontHeight = font;
    in.controlWidth = width;
    in.controlHeight = 208;
    in.currentTab = current;
    return in;
}

TEST(TabLayout, TwoCaptionsShareOneRowAndTheBodyFollowsIt) {
    const TabLayout l = LayoutTabs(Input({42, 60}, 360));
    EXPECT_EQ(l.rowHeight, 20);
    EXPECT_EQ(l.rows, 1);
    ASSERT_EQ(l.tabs.size(), 2u);
    EXPECT_EQ(l.tabs[0], R(1, 2, 54, 22));    // 42 + 11
    EXPECT_EQ(l.tabs[1], R(54, 2, 125, 22));  // 60 + 11
    EXPECT_EQ(l.body, R(0, 22, 360, 208));
    EXPECT_EQ(l.strip, R(0, 0, 360, 22));
}

TEST(TabLayout, NarrowCaptionsGetTheMinimumWidth) {
    const TabLayout l = LayoutTabs(Input({0, 39, 40}, 360));
    EXPECT_EQ(l.tabs[0], R(1, 2, 51, 22));
    EXPECT_EQ(l.tabs[1], R(51, 2, 101, 22));
    EXPECT_EQ(l.tabs[2], R(101, 2, 152, 22));  // 40 + 11 = 51 beats the minimum
}

TEST(TabLayout, LargeFontRaisesTheRowHeight) {
    const TabLayout l = LayoutTabs(Input({42, 60}, 360, 0, -24));
    EXPECT_EQ(l.rowHeight, 24);
    EXPECT_EQ(l.tabs[1], R(54, 2, 125, 26));
    EXPECT_EQ(l.body.top, 26);
}

TEST(TabLayout, TabEndingExactlyAtTheLimitStaysOnItsRow) {
    // Four 50-wide tabs end at x = 201; the limit is width - 3.
    const TabLayout fits = LayoutTabs(Input({30, 30, 30, 30}, 204));
    EXPECT_EQ(fits.rows, 1);
    EXPECT_EQ(fits.tabs[3], R(151, 2, 201, 22));

    const TabLayout wraps = LayoutTabs(Input({30, 30, 30, 30}, 203, 3));
    EXPECT_EQ(wraps.rows, 2);
    EXPECT_EQ(wraps.tabs[2], R(101, 2, 151, 22));
    EXPECT_EQ(wraps.tabs[3], R(1, 22, 51, 42));
    EXPECT_EQ(wraps.body, R(0, 42, 203, 208));
    EXPECT_EQ(wraps.strip, R(0, 0, 203, 42));
}

TEST(TabLayout, ManyWideCaptionsWrapOntoSeveralRows) {
    // 111-wide tabs, one per row in a 200-wide control.
    const TabLayout l = LayoutTabs(Input({100, 100, 100}, 200, 2));
    EXPECT_EQ(l.rows, 3);
    EXPECT_EQ(l.tabs[0], R(1, 2, 112, 22));
    EXPECT_EQ(l.tabs[1], R(1, 22, 112, 42));
    EXPECT_EQ(l.tabs[2], R(1, 42, 112, 62));
    EXPECT_EQ(l.body.top, 62);
}

TEST(TabLayout, CurrentTabsRowSwapsWithTheRowNextToTheBody) {
    // Rows: {0, 1, 2}, {3}; tab 1 current moves its row down.
    const TabLayout l = LayoutTabs(Input({30, 30, 30, 30}, 203, 1));
    EXPECT_EQ(l.tabs[0].top, 22);
    EXPECT_EQ(l.tabs[1].top, 22);
    EXPECT_EQ(l.tabs[2].top, 22);
    EXPECT_EQ(l.tabs[3], R(1, 2, 51, 22));
    EXPECT_EQ(l.body.top, 42);

    // Three rows, the middle one current: the first row stays put.
    const TabLayout three = LayoutTabs(Input({100, 100, 100}, 200, 1));
    EXPECT_EQ(three.tabs[0].top, 2);
    EXPECT_EQ(three.tabs[1].top, 42);
    EXPECT_EQ(three.tabs[2].top, 22);
}

TEST(TabLayout, CurrentTabOutOfRangeSwapsNothing) {
    for (int current : {-1, 4, 100}) {
        const TabLayout l = LayoutTabs(Input({30, 30, 30, 30}, 203, current));
        EXPECT_EQ(l.tabs[0].top, 2) << current;
        EXPECT_EQ(l.tabs[3].top, 22) << current;
    }
}

TEST(TabLayout, CaptionWiderThanTheControlIsClampedAndKeptAloneOnItsRow) {
    const TabLayout one = LayoutTabs(Input({1000}, 360));
    EXPECT_EQ(one.rows, 1);
    EXPECT_EQ(one.tabs[0], R(1, 2, 358, 22));

    // A second clamped tab goes to a row of its own, with no empty row between.
    const TabLayout two = LayoutTabs(Input({1000, 1000, 10}, 360, 2));
    EXPECT_EQ(two.rows, 3);
    EXPECT_EQ(two.tabs[0], R(1, 2, 358, 22));
    EXPECT_EQ(two.tabs[1], R(1, 22, 358, 42));
    EXPECT_EQ(two.tabs[2], R(1, 42, 51, 62));
}

TEST(TabLayout, DegenerateControlsGiveNoNegativeRectangles) {
    const TabLayout tiny = LayoutTabs(Input({42}, 2));
    EXPECT_GE(tiny.tabs[0].Width(), 0);
    EXPECT_GE(tiny.body.Width(), 0);

    TabLayoutInput low = Input({42}, 360);
    low.controlHeight = 10;
    const TabLayout l = LayoutTabs(low);
    EXPECT_EQ(l.body.top, 22);
    EXPECT_EQ(l.body.Height(), 0);

    const TabLayout none = LayoutTabs(Input({}, 360));
    EXPECT_TRUE(none.tabs.empty());
    EXPECT_EQ(none.HitTest(10, 10), -1);
}

TEST(TabLayout, HitTestFindsTheTabUnderThePoint) {
    const TabLayout l = LayoutTabs(Input({42, 60}, 360));
    struct Case {
        int x, y, tab;
    };
    const Case cases[] = {
        {1, 2, 0},     {53, 21, 0}, {54, 2, 1},   {124, 21, 1},   {0, 10, -1},
        {125, 10, -1}, {10, 1, -1}, {10, 22, -1}, {300, 100, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(l.HitTest(c.x, c.y), c.tab) << c.x << "," << c.y;
    }

    // After a swap the hit follows the drawn position, not the logical row.
    const TabLayout swapped = LayoutTabs(Input({30, 30, 30, 30}, 203, 0));
    EXPECT_EQ(swapped.HitTest(10, 5), 3);
    EXPECT_EQ(swapped.HitTest(10, 25), 0);
}

}  // namespace
}  // namespace tolvane
