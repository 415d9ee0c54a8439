// Push buttons and edit borders. Check boxes, radio buttons, group boxes and
// owner-drawn buttons share the BUTTON class but keep their default look.
#include "skin_engine/win/engine.h"

#include <memory>
#include <new>

namespace engine {

namespace {

struct ButtonState : Skinned {
    bool hot = false;
    bool leaveTracking = false;
    // The back buffer of WM_PAINT, kept while the size stays: creating it
    // anew cost more than all the painting into it.
    BackBuffer canvas;

    void Unsubclass() override { RemoveSubclass(hwnd, ButtonProc); }
    void Repaint() override { InvalidateRect(hwnd, nullptr, TRUE); }
};

struct EditState : Skinned {
    void Unsubclass() override { RemoveSubclass(hwnd, EditProc); }
    void Repaint() override { RepaintEdit(hwnd); }
};

bool IsPushButton(HWND hwnd) {
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG type = style & BS_TYPEMASK;
    return (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && !(style & (BS_BITMAP | BS_ICON));
}

// Whatever the parent paints behind the button, so the rounded corners blend.
void PaintParentBackground(HWND hwnd, HDC dc, const RECT& rc) {
    HWND parent = GetParent(hwnd);
    HBRUSH bg = nullptr;
    if (parent) {
        bg = reinterpret_cast<HBRUSH>(
            SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    }
    FillRect(dc, &rc, bg ? bg : GetSysColorBrush(COLOR_BTNFACE));
    if (parent) {
        POINT offset = {0, 0};
        MapWindowPoints(hwnd, parent, &offset, 1);  // NOLINT(readability-suspicious-call-argument): from us to it
        POINT old;
        OffsetViewportOrgEx(dc, -offset.x, -offset.y, &old);
        SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        SetViewportOrgEx(dc, old.x, old.y, nullptr);
    }
}

void DrawCaption(HWND hwnd, HDC dc, const Palette& pal, LONG style, LRESULT ui, bool disabled, bool pressed,
                 const RECT& rc) {
    char text[256];
    const int n = GetWindowTextA(hwnd, text, sizeof(text));
    if (n <= 0) return;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    ScopedSelect sel(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, pal.color(disabled ? she::kButtonDisabledText : she::kButtonText));
    // The standard button's text margins, so a caption wraps where it
    // would wrap unskinned.
    RECT tr = rc;
    InflateRect(&tr, -3, -2);
    if (pressed) OffsetRect(&tr, 1, 1);
    UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (style & BS_MULTILINE) {
        // Wrapped lines stay centred as a block.
        flags = DT_CENTER | DT_WORDBREAK;
        RECT need = tr;
        DrawTextA(dc, text, n, &need, flags | DT_CALCRECT);
        const int spare = (tr.bottom - tr.top) - (need.bottom - need.top);
        if (spare > 0) tr.top += spare / 2;
    }
    if (ui & UISF_HIDEACCEL) flags |= DT_HIDEPREFIX;
    DrawTextA(dc, text, n, &tr, flags);
}

void DrawButton(HWND hwnd, const ButtonState& st, const Palette& pal, HDC dc, const RECT& rc) {
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    bool disabled = !IsWindowEnabled(hwnd);
    // Straight to the button's own procedure, which holds the state; it
    // knows the focus too, set and cleared on WM_SETFOCUS and WM_KILLFOCUS,
    // where asking the system would cost another round trip under Wine.
    LRESULT state = DefSubclass(hwnd, BM_GETSTATE, 0, 0);
    bool pressed = (state & BST_PUSHED) != 0;
    bool focused = (state & BST_FOCUS) != 0;
    bool isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const LRESULT ui = SendMessageA(hwnd, WM_QUERYUISTATE, 0, 0);

    PaintParentBackground(hwnd, dc, rc);

    const int radius = pal.metric(she::kButtonRadius);
    const tolvane::GdiObject<HRGN> shape(
        CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, 2 * radius, 2 * radius));
    if (shape) SelectClipRgn(dc, shape.Get());
    if (disabled) {
        FillRect(dc, &rc, pal.brush[she::kButtonDisabledFace].Get());
    } else if (pressed) {
        FillGradientRows(dc, rc, pal.skin.color(she::kButtonPressedTop), pal.skin.color(she::kButtonPressedBottom));
    } else if (st.hot) {
        FillGradientRows(dc, rc, pal.skin.color(she::kButtonHotTop), pal.skin.color(she::kButtonHotBottom));
    } else {
        FillGradientRows(dc, rc, pal.skin.color(she::kButtonTop), pal.skin.color(she::kButtonBottom));
    }
    SelectClipRgn(dc, nullptr);

    {
        // A disabled default button is greyed but keeps its heavier border,
        // so the user still sees which button Enter would press once enabled.
        const auto& border = disabled ? (isDefault ? pal.buttonDisabledDefaultBorder : pal.buttonDisabledBorder)
                             : (isDefault || focused) ? pal.buttonDefaultBorder
                                                      : pal.buttonBorder;
        ScopedSelect pen(dc, border.Get());
        ScopedSelect brush(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, 2 * radius, 2 * radius);
    }

    DrawCaption(hwnd, dc, pal, style, ui, disabled, pressed, rc);

    if (focused && !disabled && !(ui & UISF_HIDEFOCUS)) {
        ScopedSelect pen(dc, pal.buttonFocus.Get());
        ScopedSelect brush(dc, GetStockObject(NULL_BRUSH));
        int inset = pal.metric(she::kButtonDefaultBorderWidth) + 2;
        Rectangle(dc, rc.left + inset, rc.top + inset, rc.right - inset, rc.bottom - inset);
    }
}

// WM_PAINT keeps its back buffer; WM_PRINTCLIENT makes one compatible with
// whatever DC it was given.
void PaintButtonTo(HWND hwnd, ButtonState* st, HDC target, bool screen) {
    const Palette* pal = CurrentPalette();
    if (pal == nullptr) return;
    RECT rc;
    GetClientRect(hwnd, &rc);
    BackBuffer made;
    BackBuffer* canvas = screen ? &st->canvas : &made;
    // WM_PAINT's buffer is kept while the size stays; Ensure makes it anew otherwise.
    if (canvas->Ensure(target, rc.right, rc.bottom)) {
        // A kept canvas would pass the parent's background painting what
        // the last paint left selected and set; it gets a fresh state.
        const int saved = SaveDC(canvas->Dc());
        DrawButton(hwnd, *st, *pal, canvas->Dc(), rc);
        RestoreDC(canvas->Dc(), saved);
        canvas->CopyTo(target, 0, 0);
    } else {
        DrawButton(hwnd, *st, *pal, target, rc);
    }
}

// Messages after which the default button procedure paints the classic
// look itself, outside WM_PAINT.
bool DefaultRepaints(UINT msg) {
    switch (msg) {
        case BM_SETSTATE:
        case BM_SETSTYLE:
        case WM_ENABLE:
        case WM_UPDATEUISTATE:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_SETTEXT:
        case WM_SETFONT:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CAPTURECHANGED:
        case WM_SYSCOLORCHANGE: return true;
    }
    return false;
}

void PaintEditBorder(HWND hwnd) {
    const Palette* pal = CurrentPalette();
    if (pal == nullptr || StandsAside()) return;
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG ex = GetWindowLongA(hwnd, GWL_EXSTYLE);
    if (!(style & WS_BORDER) && !(ex & WS_EX_CLIENTEDGE)) return;
    RECT wr;
    GetWindowRect(hwnd, &wr);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    int ring = origin.x - wr.left;  // the left inset holds no scroll bar
    if (ring > 2) ring = 2;
    if (ring <= 0) return;
    she::ColorId id = !IsWindowEnabled(hwnd) ? she::kEditDisabledBorder
                      : GetFocus() == hwnd   ? she::kEditFocusBorder
                                             : she::kEditBorder;
    const tolvane::ScopedDc dc = tolvane::ScopedDc::OfWindow(hwnd);
    if (dc.Get() == nullptr) return;
    RECT r = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
    int width = pal->metric(she::kEditBorderWidth);
    for (int i = 0; i < ring; ++i) {
        FrameRect(dc.Get(), &r, pal->brush[i < width ? id : she::kEditInner].Get());
        InflateRect(&r, -1, -1);
    }
}

// To the default procedure; after the messages it handles by painting the
// classic look itself, ours is painted over it at once.
LRESULT PassOn(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // A click may destroy the button inside the default procedure: after
    // it, only the handle is used, never the record.
    LRESULT r = DefSubclass(hwnd, msg, wp, lp);
    if (DefaultRepaints(msg) && IsWindow(hwnd) && IsWindowVisible(hwnd))
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return r;
}

}  // namespace

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR ref) {
    ButtonState* st = reinterpret_cast<ButtonState*>(ref);
    if (msg == WM_NCDESTROY) {
        RemoveSubclass(hwnd, ButtonProc);
        Unregister(st);
        delete st;
        return DefSubclass(hwnd, msg, wp, lp);
    }
    FollowDisplaySettings(msg);
    if (!IsPushButton(hwnd) || CurrentPalette() == nullptr || StandsAside()) return DefSubclass(hwnd, msg, wp, lp);
    switch (msg) {
        case WM_PAINT: {
            const tolvane::ScopedPaint dc(hwnd);
            if (dc.Get()) PaintButtonTo(hwnd, st, dc.Get(), true);
            return 0;
        }
        case WM_PRINTCLIENT: PaintButtonTo(hwnd, st, reinterpret_cast<HDC>(wp), false); return 0;
        case WM_ERASEBKGND: return TRUE;
        case WM_MOUSEMOVE:
            if (!st->leaveTracking) {
                TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hwnd, 0};
                st->leaveTracking = TrackMouseEvent(&tme) != FALSE;
            }
            if (!st->hot) {
                st->hot = true;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            break;
        case WM_MOUSELEAVE:
            st->leaveTracking = false;
            st->hot = false;
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
    }
    return PassOn(hwnd, msg, wp, lp);
}

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR ref) {
    FollowDisplaySettings(msg);
    switch (msg) {
        case WM_NCPAINT: {
            LRESULT r = DefSubclass(hwnd, msg, wp, lp);
            PaintEditBorder(hwnd);
            return r;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_STYLECHANGED: {
            LRESULT r = DefSubclass(hwnd, msg, wp, lp);
            if (IsWindow(hwnd) && IsWindowVisible(hwnd)) PaintEditBorder(hwnd);
            return r;
        }
        case WM_NCDESTROY: {
            EditState* st = reinterpret_cast<EditState*>(ref);
            RemoveSubclass(hwnd, EditProc);
            Unregister(st);
            delete st;
            break;
        }
    }
    return DefSubclass(hwnd, msg, wp, lp);
}

namespace {

template <typename State>
bool AttachControl(HWND hwnd, SubclassProc proc) {
    DWORD_PTR ref = 0;
    if (GetSubclass(hwnd, proc, &ref)) return false;
    std::unique_ptr<State> st(new (std::nothrow) State);
    if (!st) return false;
    st->hwnd = hwnd;
    if (!SetSubclass(hwnd, proc, reinterpret_cast<DWORD_PTR>(st.get()))) return false;
    Register(st.release());  // the window's record now, deleted on WM_NCDESTROY or at detach
    return true;
}

}  // namespace

bool AttachButton(HWND hwnd) { return AttachControl<ButtonState>(hwnd, ButtonProc); }
bool AttachEdit(HWND hwnd) { return AttachControl<EditState>(hwnd, EditProc); }

void RepaintEdit(HWND hwnd) {
    // The frame may be recalculated by the default procedure, so ask for it.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace engine
