// Off-screen painting: everything is drawn into a bitmap first and reaches
// the screen in one copy, so nothing flickers.
#pragma once
#include <windows.h>

#include "winutil/gdi_objects.h"

namespace tolvane {

// Kept between paints, it is recreated only when the size changes; made for
// one paint, it is sized at construction.
class BackBuffer {
public:
    BackBuffer() = default;
    BackBuffer(HDC reference, int width, int height) { Ensure(reference, width, height); }

    // False when the size is empty or no bitmap could be had.
    // NOLINTNEXTLINE(clang-diagnostic-unknown-attributes): kept whole, as BitmapDc::Adopt is
    [[gnu::noinline, gnu::noclone]] bool Ensure(HDC reference, int width, int height) {
        if (bits_.Dc() && width == bits_.Width() && height == bits_.Height()) return true;
        bits_.Release();
        if (width <= 0 || height <= 0) return false;
        return bits_.Adopt(GdiObject<HBITMAP>(CreateCompatibleBitmap(reference, width, height)), reference);
    }
    HDC Dc() const { return bits_.Dc(); }
    int Width() const { return bits_.Width(); }
    int Height() const { return bits_.Height(); }
    void CopyTo(HDC target, int x, int y) const {
        if (bits_.Dc()) BitBlt(target, x, y, bits_.Width(), bits_.Height(), bits_.Dc(), 0, 0, SRCCOPY);
    }

private:
    BitmapDc bits_;
};

}  // namespace tolvane
