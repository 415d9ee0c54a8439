#include "controls/win/trans_label.h"

#include <new>

#include "core/window_classes.h"
#include "winutil/gdi_objects.h"
#include "winutil/high_contrast.h"
#include "winutil/window_class.h"

namespace tolvane {

namespace {

// Known once the class is registered; painting asks it for every child.
ATOM g_labelAtom = 0;

TransLabelSettings* Settings(HWND hwnd) { return StateOf<TransLabelSettings>(hwnd); }

void Paint(HWND hwnd, HDC dc) {
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return;
    char stackText[256];
    char* text = length < static_cast<int>(sizeof stackText) ? stackText : new (std::nothrow) char[length + 1];
    if (!text) return;
    GetWindowTextA(hwnd, text, length + 1);

    const TransLabelSettings* s = Settings(hwnd);
    HFONT font = s && s->font ? s->font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    ScopedSelect sel(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const Look look = LookNow(s ? s->contrast : Part::Label);
    SetTextColor(dc, look.kind == Look::kPair ? SysColourRef(look.text) : s ? s->textColour : RGB(0, 0, 0));
    RECT rc;
    GetClientRect(hwnd, &rc);
    UINT format = DT_LEFT | DT_NOCLIP | DT_NOPREFIX;
    if (s && s->layout == LabelLayout::WordWrapTop) format |= DT_WORDBREAK | DT_TOP;
    else format |= DT_SINGLELINE | DT_VCENTER;
    DrawTextA(dc, text, -1, &rc, format);
    if (text != stackText) delete[] text;
}

LRESULT CALLBACK TransLabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TransLabelSettings* s = OwnWindowState<TransLabelSettings>(hwnd, msg);
    if (msg == WM_NCCREATE) {
        if (!s) return FALSE;
        if (auto* given = static_cast<const TransLabelSettings*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams))
            *s = *given;
    }
    if (HandlePaint(hwnd, msg, wp, Paint)) return 0;
    switch (msg) {
        case WM_ERASEBKGND: return 1;  // nothing of its own: what lies beneath shows through
        case WM_SETFONT:
            if (s) s->font = reinterpret_cast<HFONT>(wp);
            if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_GETFONT: return s ? reinterpret_cast<LRESULT>(s->font) : 0;
    }
    // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks): the window keeps its state till WM_NCDESTROY
    return DefWindowProcA(hwnd, msg, wp, lp);
}

RECT RectIn(HWND of, HWND in) {
    RECT r;
    GetWindowRect(of, &r);
    MapWindowPoints(nullptr, in, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

bool RegisterTransLabelClass(HINSTANCE instance) {
    // a double click is one press and one double-click, not two presses
    g_labelAtom = RegisterOwnClass(instance, kTransLabelClass, TransLabelProc, ClassLook{CS_DBLCLKS});
    return g_labelAtom != 0;
}

bool IsTransLabel(HWND hwnd) { return g_labelAtom && GetClassWord(hwnd, GCW_ATOM) == g_labelAtom; }

void SetTransLabelCaption(HWND label, const char* text) {
    SetWindowTextA(label, text);
    if (!IsWindowVisible(label)) return;  // nothing of it is on screen to wipe

    const UINT now = RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN;
    // The top-level window first, then every window under or over the label
    // from the back of the stacking order to the front, the label last.
    HWND top = GetAncestor(label, GA_ROOT);
    RECT r = RectIn(label, top);
    RedrawWindow(top, &r, nullptr, now);
    // Ancestors below the top-level window lie beneath the label too, the
    // outermost furthest back.
    HWND chain[8];
    int depth = 0;
    for (HWND a = GetParent(label); a && a != top && depth < 8; a = GetParent(a)) chain[depth++] = a;
    while (depth > 0) {
        HWND a = chain[--depth];
        RECT ra = RectIn(label, a);
        RedrawWindow(a, &ra, nullptr, now);
    }
    RECT mine;
    GetWindowRect(label, &mine);
    for (HWND sib = GetWindow(label, GW_HWNDLAST); sib; sib = GetWindow(sib, GW_HWNDPREV)) {
        if (sib == label || !IsWindowVisible(sib)) continue;
        RECT theirs, both;
        GetWindowRect(sib, &theirs);
        if (!IntersectRect(&both, &mine, &theirs)) continue;
        MapWindowPoints(nullptr, sib, reinterpret_cast<POINT*>(&both), 2);
        RedrawWindow(sib, &both, nullptr, now);
    }
    RedrawWindow(label, nullptr, nullptr, now);
}

}  // namespace tolvane
