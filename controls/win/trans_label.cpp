#include "controls/win/trans_label.h"

#include <new>

#include "core/window_classes.h"
#include "winutil/back_buffer.h"
#include "winutil/gdi_objects.h"
#include "winutil/high_contrast.h"
#include "winutil/window_class.h"

namespace tolvane {

namespace {

// Known once the class is registered; painting asks it for every child.
ATOM g_labelAtom = 0;

struct LabelState {
    TransLabelSettings settings;
    // Kept between paints: a tick of the clock creates no GDI object.
    BackBuffer buffer;
    // The other children of the parent, front first, as they stood when the
    // label was last shown, moved or restacked: walking them asks the window
    // manager once a step, a dozen times a tick. Their places are read at
    // each paint.
    static constexpr int kMaxSiblings = 32;
    HWND siblings[kMaxSiblings];
    int siblingCount = -1;  // -1: not taken yet
};

LabelState* State(HWND hwnd) { return StateOf<LabelState>(hwnd); }

// The caption alone, over whatever `dc` already holds. With DT_NOCLIP, the
// default, it is drawn whole and the label's own window clips it; with 0 it
// is clipped to the label, where it is drawn into another label's picture.
void PaintText(HWND hwnd, HDC dc, UINT clip = DT_NOCLIP) {
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return;
    char stackText[256];
    char* text = length < static_cast<int>(sizeof stackText) ? stackText : new (std::nothrow) char[length + 1];
    if (!text) return;
    GetWindowTextA(hwnd, text, length + 1);

    const LabelState* state = State(hwnd);
    const TransLabelSettings* s = state ? &state->settings : nullptr;
    HFONT font = s && s->font ? s->font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    ScopedSelect sel(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const Look look = LookNow(s ? s->contrast : Part::Label);
    SetTextColor(dc, look.kind == Look::kPair ? SysColourRef(look.text) : s ? s->textColour : RGB(0, 0, 0));
    RECT rc;
    GetClientRect(hwnd, &rc);
    UINT format = DT_LEFT | clip | DT_NOPREFIX;
    if (s && s->layout == LabelLayout::WordWrapTop) format |= DT_WORDBREAK | DT_TOP;
    else format |= DT_SINGLELINE | DT_VCENTER;
    DrawTextA(dc, text, -1, &rc, format);
    if (text != stackText) delete[] text;
}

void TakeSiblings(HWND label, LabelState* s) {
    s->siblingCount = 0;
    for (HWND c = GetWindow(label, GW_HWNDFIRST); c && s->siblingCount < LabelState::kMaxSiblings;
         c = GetWindow(c, GW_HWNDNEXT))
        if (c != label) s->siblings[s->siblingCount++] = c;
}

// What lies beneath the label, into `dc` at the label's client origin: the
// parent draws itself, as it does for a themed control's background, then
// every sibling that overlaps the label, from the back of the stacking order
// to the front. The label's text goes over all of them.
void PaintBeneath(HWND label, LabelState* s, HDC dc) {
    const HWND parent = GetParent(label);
    if (!parent) return;
    POINT at{0, 0};
    MapWindowPoints(label, parent, &at, 1);  // NOLINT(readability-suspicious-call-argument): from it to its parent
    SetViewportOrgEx(dc, -at.x, -at.y, nullptr);
    SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RECT mine;
    GetWindowRect(label, &mine);
    if (s->siblingCount < 0) TakeSiblings(label, s);
    for (int i = s->siblingCount - 1; i >= 0; --i) {
        const HWND sib = s->siblings[i];
        RECT theirs, both;
        // One that has gone since, or whose handle another window now holds, is passed over.
        if (GetParent(sib) != parent || !(GetWindowLongA(sib, GWL_STYLE) & WS_VISIBLE) ||
            !GetWindowRect(sib, &theirs) || !IntersectRect(&both, &mine, &theirs))
            continue;
        // Each keeps to its own rectangle, as its window keeps it on screen.
        // Another label is text only: its own paint would take this one in.
        SetViewportOrgEx(dc, theirs.left - mine.left, theirs.top - mine.top, nullptr);
        if (IsTransLabel(sib)) PaintText(sib, dc, 0);
        else SendMessageA(sib, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    }
    SetViewportOrgEx(dc, 0, 0, nullptr);
}

// One paint wipes the old text: the label brings what lies beneath it along,
// composed off screen so the text never flickers. Without a buffer it is
// composed on screen, which flickers but leaves no trace.
void PaintWhole(HWND hwnd, HDC target) {
    LabelState* s = State(hwnd);
    if (!s) return;
    RECT rc;
    GetClientRect(hwnd, &rc);
    const bool buffered = s->buffer.Ensure(target, rc.right, rc.bottom);
    HDC dc = buffered ? s->buffer.Dc() : target;
    PaintBeneath(hwnd, s, dc);
    PaintText(hwnd, dc);
    if (buffered) s->buffer.CopyTo(target, 0, 0);
}

LRESULT CALLBACK TransLabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LabelState* s = OwnWindowState<LabelState>(hwnd, msg);
    switch (msg) {
        case WM_NCCREATE:
            if (!s) return FALSE;
            if (auto* given =
                    static_cast<const TransLabelSettings*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams))
                s->settings = *given;
            break;
        case WM_PAINT: {
            const ScopedPaint paint(hwnd);
            PaintWhole(hwnd, paint.Get());
            return 0;
        }
        // Printed into a picture of what lies beneath, a label adds its text only.
        case WM_PRINTCLIENT: PaintText(hwnd, reinterpret_cast<HDC>(wp)); return 0;
        case WM_ERASEBKGND: return 1;  // the paint brings what lies beneath
        case WM_WINDOWPOSCHANGED:
            if (s) s->siblingCount = -1;
            break;
        case WM_SETFONT:
            if (s) s->settings.font = reinterpret_cast<HFONT>(wp);
            if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_GETFONT: return s ? reinterpret_cast<LRESULT>(s->settings.font) : 0;
    }
    // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks): the window keeps its state till WM_NCDESTROY
    return DefWindowProcA(hwnd, msg, wp, lp);
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
    HWND top = label;
    while (HWND up = GetParent(top)) top = up;
    if (IsIconic(top)) return;  // it shows again with a whole repaint
    // Painted at once through its own DC: by way of WM_PAINT each tick would
    // also ask the window manager for an update region, then validate it.
    const ScopedDc dc(label);
    PaintWhole(label, dc.Get());
}

}  // namespace tolvane
