#include "winutil/gradient_fill.h"

#include "winutil/colour.h"
#include "winutil/gdi_objects.h"

namespace tolvane {

namespace {
void FillRows(HDC dc, const RECT& rc, int top, int bottom, Rgb colour) {
    SetDCBrushColor(dc, ToColorRef(colour));
    PatBlt(dc, rc.left, top, rc.right - rc.left, bottom - top, PATCOPY);
}
}  // namespace

void FillGradient(HDC dc, const RECT& rc, Rgb top, Rgb bottom, GradientSteps steps) {
    const int h = rc.bottom - rc.top;
    if (h <= 0 || rc.right <= rc.left) return;
    ScopedSelect brush(dc, GetStockObject(DC_BRUSH));
    const COLORREF old = GetDCBrushColor(dc);
    if (steps == GradientSteps::Bands64) {
        for (int i = 0; i < kGradientBands; ++i) {
            const Band b = GradientBand(rc.top, h, top, bottom, i);
            if (b.bottom > b.top) FillRows(dc, rc, b.top, b.bottom, b.colour);
        }
    } else if (top == bottom || h == 1) {
        FillRows(dc, rc, rc.top, rc.bottom, top);
    } else {
        for (int y = 0; y < h; ++y) FillRows(dc, rc, rc.top + y, rc.top + y + 1, GradientRow(top, bottom, y, h));
    }
    SetDCBrushColor(dc, old);
}

}  // namespace tolvane
