#include "skin_engine/frame_geometry.h"

namespace engine {

int FrameGeometry::ButtonAt(int x, int y) const {
    for (int i = 0; i < buttonCount; ++i)
        if (buttons[i].Contains(x, y)) return buttonHit[i];
    return kNoButton;
}

FrameGeometry MeasureFrame(const FrameInput& in) {
    FrameGeometry g;
    g.width = in.window.right - in.window.left;
    g.height = in.window.bottom - in.window.top;
    const int cx = in.clientX - in.window.left, cy = in.clientY - in.window.top;
    g.client = {cx, cy, cx + in.clientWidth, cy + in.clientHeight};
    g.border = g.client.left - in.clientEdge;
    if (g.border < 0) return g;

    g.captionBottom = in.menuBar ? in.menuBarTop - in.window.top : g.client.top - in.clientEdge;
    g.defaultInner = in.defaultInner;
    g.inner = {g.border, g.captionBottom, g.width - g.border, g.height - g.border};
    int band = g.captionBottom - g.border;  // caption height inside the top border
    if (band < 8 || g.width < 2 * g.border + 16) return g;
    g.fits = true;

    // Caption buttons from the right: close, maximise, minimise.
    const int gap = tolvane::ScaleToDpi(2, in.dpi);
    int size = in.buttonSize;
    if (size > band - gap) size = band - gap;
    int top = g.border + (band - size) / 2;
    int right = g.width - g.border - gap;
    auto add = [&](int hit) {
        g.buttons[g.buttonCount] = {right - size, top, right, top + size};
        g.buttonHit[g.buttonCount] = hit;
        ++g.buttonCount;
        right -= size + gap;
    };
    if (in.sysMenu) {
        add(kCloseButton);
        if (in.maxBox) add(kMaxButton);
        if (in.minBox) add(kMinButton);
    }

    g.text = {g.border + in.textIndent, g.border, right - gap, g.captionBottom};
    if (in.icon) PlaceIcon(&g, in.iconSize, in.dpi);
    return g;
}

void PlaceIcon(FrameGeometry* g, int iconSize, int dpi) {
    const int band = g->captionBottom - g->border;
    const int is = iconSize > band ? band : iconSize;
    const int x = g->text.left, iy = g->border + (band - is) / 2;
    g->icon = {x, iy, x + is, iy + is};
    g->text.left = x + is + tolvane::ScaleToDpi(4, dpi);
}

}  // namespace engine
