#include "controls/tab_layout.h"

#include <algorithm>
#include <cstdlib>

#include "core/scale.h"

namespace tolvane {

namespace {
// The tabs' lengths, in 96-dpi pixels; a layout uses them at its scale.
struct Metrics {
    int minRowHeight = 20, minTabWidth = 50, captionPadding = 11, stripTop = 2, firstTabLeft = 1, rightMargin = 3;
};

Metrics MetricsAt(int dpi) {
    Metrics m;
    for (int* n : {&m.minRowHeight, &m.minTabWidth, &m.captionPadding, &m.stripTop, &m.firstTabLeft, &m.rightMargin})
        *n = ScaleToDpi(*n, dpi);
    return m;
}
}  // namespace

int TabLayout::HitTest(int x, int y) const {
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        if (tabs[i].Contains(x, y)) return static_cast<int>(i);
    }
    return -1;
}

namespace {

// Flows the tabs left to right, wrapping to a new row where one would pass
// the right limit. Sets each tab's left and right; returns each tab's row.
std::vector<int> FlowTabs(const TabLayoutInput& in, const Metrics& m, TabLayout* out) {
    const int rightLimit = in.controlWidth - m.rightMargin;
    // A control narrower than the margin would give negative widths; an empty tab is
    // the most that can be drawn there.
    const int maxTabWidth = std::max(0, rightLimit);
    std::vector<int> rowOf;
    rowOf.reserve(in.captionWidths.size());
    int x = m.firstTabLeft;
    int row = 0;
    bool rowEmpty = true;
    for (int caption : in.captionWidths) {
        const int width = std::min(std::max(m.minTabWidth, caption + m.captionPadding), maxTabWidth);
        // A tab alone on its row stays there even when clamped to the full width;
        // wrapping it would only leave an empty row behind.
        if (!rowEmpty && x + width > rightLimit) {
            ++row;
            x = m.firstTabLeft;
        }
        Rect r;
        r.left = x;
        r.right = x + width;
        out->tabs.push_back(r);
        rowOf.push_back(row);
        x += width;
        rowEmpty = false;
    }
    out->rows = row + 1;
    return rowOf;
}

// Sets each tab's top and bottom. The current tab's row sits next to the
// body, so that the tab can join it: it trades places with the last row.
void StackRows(const std::vector<int>& rowOf, int currentTab, int stripTop, TabLayout* out) {
    const int lastRow = out->rows - 1;
    int currentRow = -1;
    if (currentTab >= 0 && static_cast<std::size_t>(currentTab) < rowOf.size()) {
        currentRow = rowOf[static_cast<std::size_t>(currentTab)];
    }
    for (std::size_t i = 0; i < out->tabs.size(); ++i) {
        int shownRow = rowOf[i];
        if (currentRow >= 0 && currentRow != lastRow) {
            if (shownRow == currentRow) {
                shownRow = lastRow;
            } else if (shownRow == lastRow) {
                shownRow = currentRow;
            }
        }
        out->tabs[i].top = stripTop + shownRow * out->rowHeight;
        out->tabs[i].bottom = out->tabs[i].top + out->rowHeight;
    }
}

}  // namespace

TabLayout LayoutTabs(const TabLayoutInput& in) {
    TabLayout out;
    const Metrics m = MetricsAt(in.dpi);
    // Fonts come as negative character heights; a large font must not clip its captions.
    out.rowHeight = std::max(m.minRowHeight, std::abs(in.fontHeight));
    StackRows(FlowTabs(in, m, &out), in.currentTab, m.stripTop, &out);

    const int bodyTop = m.stripTop + out.rows * out.rowHeight;
    out.body.left = 0;
    out.body.top = bodyTop;
    out.body.right = std::max(0, in.controlWidth);
    // A control lower than its tab strip has no body left, not a negative one.
    out.body.bottom = std::max(bodyTop, in.controlHeight);
    out.strip.left = 0;
    out.strip.top = 0;
    out.strip.right = out.body.right;
    out.strip.bottom = bodyTop;
    return out;
}

}  // namespace tolvane
