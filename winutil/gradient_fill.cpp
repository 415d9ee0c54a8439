#include "winutil/gradient_fill.h"

#include "winutil/colour.h"
#include "winutil/gdi_objects.h"

namespace tolvane {

namespace {

// The DC brush selected, and its colour put back, for the span of one fill.
class DcBrushFill {
public:
    explicit DcBrushFill(HDC dc) : dc_(dc), brush_(dc, GetStockObject(DC_BRUSH)), old_(GetDCBrushColor(dc)) {}
    ~DcBrushFill() { SetDCBrushColor(dc_, old_); }
    DcBrushFill(const DcBrushFill&) = delete;
    DcBrushFill& operator=(const DcBrushFill&) = delete;

    void Rows(const RECT& rc, int top, int bottom, Rgb colour) const {
        SetDCBrushColor(dc_, ToColorRef(colour));
        PatBlt(dc_, rc.left, top, rc.right - rc.left, bottom - top, PATCOPY);
    }

private:
    HDC dc_;
    ScopedSelect brush_;
    COLORREF old_;
};

bool IsEmpty(const RECT& rc) { return rc.bottom <= rc.top || rc.right <= rc.left; }

}  // namespace

void FillGradientBands(HDC dc, const RECT& rc, Rgb top, Rgb bottom) {
    if (IsEmpty(rc)) return;
    const DcBrushFill fill(dc);
    ForEachGradientBand(rc.top, rc.bottom - rc.top, top, bottom,
                        [&](const Band& b) { fill.Rows(rc, b.top, b.bottom, b.colour); });
}

void FillGradientRows(HDC dc, const RECT& rc, Rgb top, Rgb bottom) {
    if (IsEmpty(rc)) return;
    const DcBrushFill fill(dc);
    const int h = rc.bottom - rc.top;
    if (top == bottom || h == 1) {
        fill.Rows(rc, rc.top, rc.bottom, top);
        return;
    }
    for (int y = 0; y < h; ++y) fill.Rows(rc, rc.top + y, rc.top + y + 1, GradientRow(top, bottom, y, h));
}

}  // namespace tolvane
