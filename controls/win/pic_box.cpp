#include "controls/win/pic_box.h"

#include <utility>

#include "controls/win/accessible.h"
#include "core/scale.h"
#include "core/window_classes.h"
#include "winutil/gdi_objects.h"
#include "winutil/high_contrast.h"
#include "winutil/window_class.h"

namespace tolvane {

namespace {

// Each bitmap is selected once, so a repaint is one copy.
struct PicBoxState {
    BitmapDc picture;  // as given, in 96-dpi pixels
    BitmapDc scaled;   // the picture at the box's scale, when that is not 96 dpi
    int dpi = kDesignDpi;
    const char* words = nullptr;  // what the picture says, for a screen reader
    HFONT font = nullptr;         // the words' font, borrowed (WM_SETFONT); null: the stock GUI font
    Part contrast = Part::Banner;
};

ATOM g_atom = 0;

// High contrast: the words the picture says, the ones a screen reader is
// told, in place of the picture, the pair's text on its background.
bool PaintWordsInPair(HDC dc, const PicBoxState* s, RECT rc) {
    const Look look = LookNow(s ? s->contrast : Part::Banner);
    if (look.kind != Look::kPair) return false;
    FillRect(dc, &rc, GetSysColorBrush(static_cast<int>(look.back)));
    if (!s || !s->words) return true;
    ScopedSelect font(dc, s->font ? s->font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SysColourRef(look.text));
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    RECT text = rc;
    DrawTextA(dc, s->words, -1, &text, format | DT_CALCRECT);
    if (text.bottom < rc.bottom) OffsetRect(&rc, 0, (rc.bottom - text.bottom) / 2);  // centred as a block
    DrawTextA(dc, s->words, -1, &rc, format);
    return true;
}

void Paint(HWND hwnd, HDC dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    PicBoxState* s = StateOf<PicBoxState>(hwnd);
    if (PaintWordsInPair(dc, s, rc)) return;
    int pw = 0, ph = 0;
    const BitmapDc* shown = nullptr;
    if (s) shown = s->scaled.Dc() ? &s->scaled : &s->picture;
    // Clipped to the box here, not only by its window: printed into another
    // window's picture (WM_PRINTCLIENT), it must not spill over.
    if (shown && shown->Dc()) {
        pw = shown->Width() < rc.right ? shown->Width() : rc.right;
        ph = shown->Height() < rc.bottom ? shown->Height() : rc.bottom;
        BitBlt(dc, 0, 0, pw, ph, shown->Dc(), 0, 0, SRCCOPY);
    }
    // Whatever the picture leaves uncovered shows the background.
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    RECT right{pw, 0, rc.right, rc.bottom};
    RECT below{0, ph, pw, rc.bottom};
    if (right.left < right.right) FillRect(dc, &right, face);
    if (below.top < below.bottom) FillRect(dc, &below, face);
}

// The picture's pixels are 96-dpi pixels too. At another scale it is
// stretched once, smoothly, to its scaled size, so that a repaint stays one
// copy; at 96 dpi it is shown exactly as it is. Always from the picture as
// given, so that scales come and go without the picture wearing. Without
// room for the copy the picture shows unscaled.
void Rescale(PicBoxState* s) {
    s->scaled.Release();
    const BitmapDc& original = s->picture;
    if (s->dpi == kDesignDpi || !original.Dc()) return;
    const int w = ScaleToDpi(original.Width(), s->dpi), h = ScaleToDpi(original.Height(), s->dpi);
    ScopedDc screen(nullptr);
    if (!s->scaled.Adopt(GdiObject<HBITMAP>(CreateCompatibleBitmap(screen.Get(), w, h)))) return;
    SetStretchBltMode(s->scaled.Dc(), HALFTONE);
    SetBrushOrgEx(s->scaled.Dc(), 0, 0, nullptr);  // as HALFTONE asks, after the mode
    StretchBlt(s->scaled.Dc(), 0, 0, w, h, original.Dc(), 0, 0, original.Width(), original.Height(), SRCCOPY);
}

LRESULT CALLBACK PicBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    PicBoxState* made = OwnWindowState<PicBoxState>(hwnd, msg);
    if (msg == WM_NCCREATE) {
        if (!made) return FALSE;
        if (auto* part = static_cast<const Part*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams))
            made->contrast = *part;
    }
    // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks): the window keeps its state till WM_NCDESTROY
    if (HandlePaint(hwnd, msg, wp, Paint)) return 0;
    if (msg == WM_ERASEBKGND) return 1;
    PicBoxState* s = StateOf<PicBoxState>(hwnd);
    if (s && msg == WM_SETFONT) s->font = reinterpret_cast<HFONT>(wp);
    if (s && msg == WM_GETFONT) return reinterpret_cast<LRESULT>(s->font);
    if (msg == WM_GETOBJECT) {
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

void SetPicBoxPicture(HWND box, GdiObject<HBITMAP> picture) {
    PicBoxState* s = StateOf<PicBoxState>(box);
    if (!s) return;
    s->picture.Adopt(std::move(picture));  // empty: the box is left without one
    Rescale(s);
    InvalidateRect(box, nullptr, FALSE);
}

void SetPicBoxDpi(HWND box, int dpi) {
    PicBoxState* s = StateOf<PicBoxState>(box);
    if (!s || dpi == s->dpi) return;
    s->dpi = dpi;
    Rescale(s);
    InvalidateRect(box, nullptr, FALSE);
}

}  // namespace tolvane
