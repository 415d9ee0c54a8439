#include "controls/win/pic_box.h"

#include "controls/win/accessible.h"
#include "controls/win/window_class.h"
#include "core/window_classes.h"
#include "winutil/dpi.h"
#include "winutil/gdi_objects.h"

namespace tolvane {

namespace {

struct PicBoxState {
    BitmapDc picture;  // selected once, so a repaint is one copy
    const char* words = nullptr;  // what the picture says, for a screen reader
};

ATOM g_atom = 0;

void Paint(HWND hwnd, HDC dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    PicBoxState* s = StateOf<PicBoxState>(hwnd);
    int pw = 0, ph = 0;
    if (s && s->picture.Dc()) {
        pw = s->picture.Width();
        ph = s->picture.Height();
        BitBlt(dc, 0, 0, pw, ph, s->picture.Dc(), 0, 0, SRCCOPY);
    }
    // Whatever the picture leaves uncovered shows the background.
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    RECT right{pw, 0, rc.right, rc.bottom};
    RECT below{0, ph, pw < rc.right ? pw : rc.right, rc.bottom};
    if (right.left < right.right) FillRect(dc, &right, face);
    if (below.top < below.bottom) FillRect(dc, &below, face);
}

// The picture's pixels are 96-dpi pixels too. At another scale it is
// stretched once, smoothly, to its scaled size, so that a repaint stays one
// copy; at 96 dpi it is kept exactly as it is.
void AdoptScaled(BitmapDc* into, HBITMAP picture) {
    BitmapDc original;
    if (!original.Adopt(GdiObject<HBITMAP>(picture))) {
        into->Release();
        return;
    }
    const int w = Scale(original.Width()), h = Scale(original.Height());
    ScopedDc screen(nullptr);
    if (!into->Adopt(GdiObject<HBITMAP>(CreateCompatibleBitmap(screen.Get(), w, h)))) return;
    SetStretchBltMode(into->Dc(), HALFTONE);
    SetBrushOrgEx(into->Dc(), 0, 0, nullptr);  // as HALFTONE asks, after the mode
    StretchBlt(into->Dc(), 0, 0, w, h, original.Dc(), 0, 0, original.Width(), original.Height(), SRCCOPY);
}

LRESULT CALLBACK PicBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!OwnWindowState<PicBoxState>(hwnd, msg) && msg == WM_NCCREATE) return FALSE;
    if (HandlePaint(hwnd, msg, wp, Paint)) return 0;
    if (msg == WM_ERASEBKGND) return 1;
    if (msg == WM_GETOBJECT) {
        const PicBoxState* s = StateOf<PicBoxState>(hwnd);
        if (const LRESULT object = AnswerGraphicObject(hwnd, wp, lp, s ? s->words : nullptr)) return object;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

bool RegisterPicBoxClass(HINSTANCE instance) {
    g_atom = RegisterOwnClass(instance, kPicBoxClass, PicBoxProc);
    return g_atom != 0;
}

bool IsPicBox(HWND hwnd) { return IsOwnWindow(hwnd, g_atom); }

void SetPicBoxWords(HWND box, const char* words) {
    if (PicBoxState* s = StateOf<PicBoxState>(box)) s->words = words;
}

void SetPicBoxPicture(HWND box, HBITMAP picture) {
    PicBoxState* s = StateOf<PicBoxState>(box);
    if (!s) {
        if (picture) DeleteObject(picture);
        return;
    }
    if (!picture) s->picture.Release();
    else if (ScreenDpi() == kDesignDpi) s->picture.Adopt(GdiObject<HBITMAP>(picture));
    else AdoptScaled(&s->picture, picture);
    InvalidateRect(box, nullptr, FALSE);
}

}  // namespace tolvane
