// Where the page control's tabs and page body go. Pure arithmetic, so that
// wrapping and row swapping are tested without a window.
#pragma once
#include <vector>

#include "core/scale.h"

namespace tolvane {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct TabLayoutInput {
    std::vector<int> captionWidths;  // caption width in the control's font, per tab
    int fontHeight = 12;             // absolute character height of the font
    int controlWidth = 0;
    int controlHeight = 0;
    int currentTab = 0;
    int dpi = kDesignDpi;  // the display scale of the layout's own lengths (row height, margins)
};

struct TabLayout {
    int rowHeight = 20;
    int rows = 1;
    std::vector<Rect> tabs;           // per tab, in control coordinates
    Rect body;                        // page body, framed
    Rect strip;                       // y = 0 to the body's top, whole width
    int HitTest(int x, int y) const;  // tab index or -1
};

TabLayout LayoutTabs(const TabLayoutInput& in);

}  // namespace tolvane
