// The non-client frame of top-level windows: caption, title, icon, border and
// the caption buttons. The frame keeps the system's geometry, so windows laid
// out for the system frame keep their client size; only the look changes.
#include "skin_engine/frame_geometry.h"
#include "skin_engine/win/engine.h"
#include "winutil/dpi.h"
#include "winutil/system_library.h"

#include <dwmapi.h>

#include <new>

#ifndef WM_NCMOUSELEAVE
#define WM_NCMOUSELEAVE 0x02A2
#endif

namespace engine {

namespace {

// Undocumented messages a themed system sends to draw the caption outside
// WM_NCPAINT; left to the default they would paint over the skin.
constexpr UINT kWmNcUahDrawCaption = 0x00AE;
constexpr UINT kWmNcUahDrawFrame = 0x00AF;

void SetFrameRendering(HWND hwnd, bool ours);

struct FrameState : Skinned {
    int dpi = 0;  // the scale WM_DPICHANGED last carried; 0: the window's as the system tells it
    bool active = false;
    int hot = 0;      // hit-test code of the caption button under the mouse
    int tracked = 0;  // button being pressed with the mouse captured
    bool pressedInside = false;
    bool leaveTracking = false;

    void Unsubclass() override { RemoveSubclass(hwnd, FrameProc); }
    void Repaint() override {
        if (IsWindowVisible(hwnd)) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    }
    void Restore() override {
        SetFrameRendering(hwnd, false);
        Repaint();
    }
    void StandAside(bool aside) override {
        hot = 0;
        if (tracked) {
            tracked = 0;
            ReleaseCapture();
        }
        SetFrameRendering(hwnd, !aside);
        Repaint();
    }
};

// The layout, the icon it makes room for, and the scale it is drawn at.
struct Geometry : FrameGeometry {
    HICON hicon = nullptr;
    int dpi = tolvane::kDesignDpi;
    const FrameObjects* objects = nullptr;
};

static_assert(kMinButton == HTMINBUTTON && kMaxButton == HTMAXBUTTON && kCloseButton == HTCLOSE,
              "the layout returns the system's hit-test codes");

RECT ToRect(const Box& b) { return {b.left, b.top, b.right, b.bottom}; }

using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

// dwmapi.dll exists from Vista on. Looked for once; the module stays loaded.
DwmSetWindowAttributeFn DwmSetter() {
    static bool looked = false;
    static DwmSetWindowAttributeFn set = nullptr;
    if (looked) return set;
    looked = true;
    tolvane::Module dwmapi = tolvane::HeldOrSystemLibrary("dwmapi.dll");
    set = tolvane::ProcOf<DwmSetWindowAttributeFn>(dwmapi.Get(), "DwmSetWindowAttribute");
    if (set) static_cast<void>(dwmapi.Detach());  // held for the process, as the pointer is
    return set;
}

// Tells desktop composition (Vista and later) whether the frame of a
// top-level window is ours to paint; nothing happens where there is none.
void SetFrameRendering(HWND hwnd, bool ours) {
    // With composition on, the desktop window manager draws the frame itself
    // and our WM_NCPAINT never shows.
    if (DwmSetWindowAttributeFn set = DwmSetter()) {
        DWORD policy = ours ? DWMNCRP_DISABLED : DWMNCRP_USEWINDOWSTYLE;
        set(hwnd, DWMWA_NCRENDERING_POLICY, &policy, sizeof policy);
    }
}

FrameState* StateOf(HWND hwnd) {
    DWORD_PTR ref = 0;
    if (!GetSubclass(hwnd, FrameProc, &ref)) return nullptr;
    return reinterpret_cast<FrameState*>(ref);
}

HICON IconOf(HWND hwnd) {
    HICON icon = reinterpret_cast<HICON>(SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(hwnd, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrA(hwnd, GCLP_HICON));
    return icon;
}

// Under Wine, which never moves a window to another scale, the scale a test
// sent with WM_DPICHANGED is known only from the message.
int FrameDpi(HWND hwnd) {
    const FrameState* st = StateOf(hwnd);
    return st && st->dpi ? st->dpi : tolvane::WindowDpi(hwnd);
}

// Returns false if the window has no room for a skinned caption (minimised,
// mirrored, or too small), or if the scale's objects cannot be made; the
// default frame is drawn then.
bool Measure(HWND hwnd, const Palette& pal, Geometry* g) {
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG ex = GetWindowLongA(hwnd, GWL_EXSTYLE);
    if ((style & WS_CAPTION) != WS_CAPTION || IsIconic(hwnd) || (ex & WS_EX_LAYOUTRTL)) return false;
    RECT wr, cr;
    if (!GetWindowRect(hwnd, &wr) || !GetClientRect(hwnd, &cr)) return false;
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    FrameInput in;
    in.window = {wr.left, wr.top, wr.right, wr.bottom};
    in.clientX = origin.x;
    in.clientY = origin.y;
    in.clientWidth = cr.right;
    in.clientHeight = cr.bottom;
    const int dpi = FrameDpi(hwnd);
    g->dpi = dpi;
    g->objects = pal.FrameAt(dpi);
    if (!g->objects) return false;
    in.clientEdge = (ex & WS_EX_CLIENTEDGE) ? tolvane::SystemMetricAt(SM_CXEDGE, dpi) : 0;
    HMENU menu = GetMenu(hwnd);
    if (menu && IsMenu(menu)) {
        MENUBARINFO mbi = {};
        mbi.cbSize = sizeof(mbi);
        in.menuBar = GetMenuBarInfo(hwnd, OBJID_MENU, 0, &mbi) != FALSE;
        in.menuBarTop = mbi.rcBar.top;
        in.defaultInner = true;
    }
    if (style & (WS_VSCROLL | WS_HSCROLL)) in.defaultInner = true;
    in.sysMenu = (style & WS_SYSMENU) != 0;
    in.maxBox = (style & WS_MAXIMIZEBOX) != 0;
    in.minBox = (style & WS_MINIMIZEBOX) != 0;
    in.buttonSize = pal.FrameLength(she::kCaptionButtonSize, dpi);
    in.textIndent = pal.FrameLength(she::kCaptionTextIndent, dpi);
    in.dpi = dpi;
    FrameGeometry& geo = *g;
    geo = MeasureFrame(in);
    // The icon is asked for only when the caption is ours to draw; it moves
    // the title.
    bool wantsIcon = in.sysMenu && !(ex & (WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW));
    if (geo.fits && wantsIcon) g->hicon = IconOf(hwnd);
    if (g->hicon) PlaceIcon(&geo, tolvane::SystemMetricAt(SM_CXSMICON, dpi), dpi);
    return geo.fits;
}

// The one guard of every skinned path: a skin is attached and the window has
// room for its caption.
bool Measured(HWND hwnd, Geometry* g, const Palette** palette = nullptr) {
    const Palette* pal = CurrentPalette();
    if (palette) *palette = pal;
    return pal != nullptr && Measure(hwnd, *pal, g);
}

bool IsCaptionButtonHit(LRESULT hit) {
    return hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON || hit == HTHELP;
}

POINT ScreenToWindowPt(HWND hwnd, POINT screen) {
    RECT wr;
    GetWindowRect(hwnd, &wr);
    return {screen.x - wr.left, screen.y - wr.top};
}

int ButtonAt(const Geometry& g, POINT windowPt) { return g.ButtonAt(windowPt.x, windowPt.y); }

void DrawGlyph(HDC dc, const FrameObjects& objects, const RECT& r, int hit, bool zoomed) {
    ScopedSelect pen(dc, objects.glyph.Get());
    ScopedSelect brush(dc, GetStockObject(NULL_BRUSH));
    int w = r.right - r.left;
    int pad = w * 3 / 10;
    RECT g = {r.left + pad, r.top + pad, r.right - pad, r.bottom - pad};
    switch (hit) {
        case HTCLOSE:
            MoveToEx(dc, g.left, g.top, nullptr);
            LineTo(dc, g.right, g.bottom);
            MoveToEx(dc, g.right - 1, g.top, nullptr);
            LineTo(dc, g.left - 1, g.bottom);
            break;
        case HTMINBUTTON:
            MoveToEx(dc, g.left, g.bottom - 1, nullptr);
            LineTo(dc, g.right, g.bottom - 1);
            break;
        case HTMAXBUTTON:
            if (zoomed) {
                int d = (g.right - g.left) / 4;
                Rectangle(dc, g.left, g.top + d, g.right - d, g.bottom);
                MoveToEx(dc, g.left + d, g.top + d, nullptr);
                LineTo(dc, g.left + d, g.top);
                LineTo(dc, g.right, g.top);
                LineTo(dc, g.right, g.bottom - d);
                LineTo(dc, g.right - d, g.bottom - d);
            } else {
                Rectangle(dc, g.left, g.top, g.right, g.bottom);
            }
            break;
    }
}

void DrawFrame(HWND hwnd, const FrameState& st, const Palette& pal, const Geometry& g, HDC dc) {
    const int a = st.active ? 1 : 0;
    RECT all = {0, 0, g.width, g.height};
    FillRect(dc, &all, pal.brush[st.active ? she::kFrameActiveFill : she::kFrameInactiveFill].Get());
    RECT caption = {0, 0, g.width, g.captionBottom};
    FillGradientRows(dc, caption, pal.skin.color(st.active ? she::kCaptionActiveTop : she::kCaptionInactiveTop),
                     pal.skin.color(st.active ? she::kCaptionActiveBottom : she::kCaptionInactiveBottom));

    // The outline is drawn inside the window rectangle, width lines deep.
    {
        ScopedSelect pen(dc, pal.frameOutline[a].Get());
        ScopedSelect brush(dc, GetStockObject(NULL_BRUSH));
        int ow = pal.FrameLength(she::kFrameOutlineWidth, g.dpi);
        if (ow > g.border) ow = g.border > 0 ? g.border : 1;
        for (int i = 0; i < ow; ++i) Rectangle(dc, i, i, g.width - i, g.height - i);
    }

    if (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
        RECT edge = ToRect(g.client);
        int e = tolvane::SystemMetricAt(SM_CXEDGE, g.dpi);
        InflateRect(&edge, e, e);
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    }

    if (g.hicon) {
        DrawIconEx(dc, g.icon.left, g.icon.top, g.hicon, g.icon.right - g.icon.left, g.icon.bottom - g.icon.top, 0,
                   nullptr, DI_NORMAL);
    }

    char title[512];
    int n = GetWindowTextA(hwnd, title, sizeof(title));
    if (n > 0) {
        ScopedSelect font(dc, g.objects->captionFont.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, pal.color(st.active ? she::kCaptionActiveText : she::kCaptionInactiveText));
        RECT tr = ToRect(g.text);
        DrawTextA(dc, title, n, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }

    const int radius = pal.FrameLength(she::kCaptionButtonRadius, g.dpi);
    const bool zoomed = IsZoomed(hwnd) != FALSE;
    for (int i = 0; i < g.buttonCount; ++i) {
        int hit = g.buttonHit[i];
        bool pressed = st.tracked == hit && st.pressedInside;
        bool hot = st.hot == hit || (st.tracked == hit && !pressed);
        she::ColorId face = she::kCaptionButtonNormal;
        if (hit == HTCLOSE && pressed) face = she::kCloseButtonPressed;
        else if (hit == HTCLOSE && hot) face = she::kCloseButtonHot;
        else if (pressed) face = she::kCaptionButtonPressed;
        else if (hot) face = she::kCaptionButtonHot;
        const RECT r = ToRect(g.buttons[i]);
        {
            ScopedSelect brush(dc, pal.brush[face].Get());
            ScopedSelect pen(dc, GetStockObject(NULL_PEN));
            // A null pen leaves the right and bottom line out; hence + 1.
            RoundRect(dc, r.left, r.top, r.right + 1, r.bottom + 1, 2 * radius, 2 * radius);
        }
        DrawGlyph(dc, *g.objects, r, hit, zoomed);
    }
}

// Paints the whole skinned frame now. Returns false if the default frame
// should be drawn instead.
bool PaintNow(HWND hwnd, bool afterDefault) {
    FrameState* st = StateOf(hwnd);
    const Palette* pal = nullptr;
    Geometry g;
    if (st == nullptr || !Measured(hwnd, &g, &pal)) return false;
    if (g.defaultInner && !afterDefault) return false;
    const tolvane::ScopedDc wdc = tolvane::ScopedDc::OfWindow(hwnd);
    if (wdc.Get() == nullptr) return true;
    BackBuffer canvas(wdc.Get(), g.width, g.height);
    if (canvas.Dc()) {
        DrawFrame(hwnd, *st, *pal, g, canvas.Dc());
        const Box& hole = g.defaultInner ? g.inner : g.client;
        ExcludeClipRect(wdc.Get(), hole.left, hole.top, hole.right, hole.bottom);
        canvas.CopyTo(wdc.Get(), 0, 0);
    }
    return true;
}

void StopTracking(HWND hwnd, FrameState* st) {
    if (!st->tracked) return;
    st->tracked = 0;
    st->pressedInside = false;
    PaintNow(hwnd, true);
}

UINT CommandFor(HWND hwnd, int hit) {
    switch (hit) {
        case HTCLOSE: return SC_CLOSE;
        case HTMINBUTTON: return SC_MINIMIZE;
        case HTMAXBUTTON: return IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
    }
    return 0;
}

// Returns the caption button under a point of the client area (where the
// mouse is reported while captured), kNoButton if none, or -1 if the frame
// cannot be measured.
int ButtonAtClientPt(HWND hwnd, LPARAM lp, POINT* screen = nullptr) {
    POINT pt = {XOf(lp), YOf(lp)};
    ClientToScreen(hwnd, &pt);
    if (screen) *screen = pt;
    Geometry g;
    return Measured(hwnd, &g) ? ButtonAt(g, ScreenToWindowPt(hwnd, pt)) : -1;
}

// One handler per message. Those returning LRESULT return the message's
// result; those returning bool return true if the message's result is 0 and
// false to leave it to the default; those returning nothing only watch it on
// its way to the default.
LRESULT OnNcPaint(HWND hwnd, WPARAM wp, LPARAM lp) {
    Geometry g;
    if (CurrentPalette() && (!Measured(hwnd, &g) || g.defaultInner)) {
        LRESULT r = DefSubclass(hwnd, WM_NCPAINT, wp, lp);
        PaintNow(hwnd, true);
        return r;
    }
    if (!PaintNow(hwnd, false)) return DefSubclass(hwnd, WM_NCPAINT, wp, lp);
    return 0;
}

LRESULT OnNcActivate(HWND hwnd, FrameState* st, WPARAM wp) {
    st->active = wp != FALSE;
    // lParam -1: update the state but leave the painting to us.
    DefSubclass(hwnd, WM_NCACTIVATE, wp, static_cast<LPARAM>(-1));
    // Minimised or captionless: the default frame must be redrawn.
    if (!PaintNow(hwnd, true)) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return TRUE;
}

// WM_SETTEXT, WM_SETICON, WM_STYLECHANGED: the default procedure paints the
// classic caption right there. WM_DPICHANGED: whatever the window makes of
// it, the frame is drawn again at the new scale afterwards.
LRESULT OnCaptionChange(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT r = DefSubclass(hwnd, msg, wp, lp);
    if (IsWindowVisible(hwnd)) PaintNow(hwnd, true);
    return r;
}

// PrintWindow and friends: the skinned frame into their DC, then the rest,
// shifted to where the client area lies.
LRESULT OnPrint(HWND hwnd, const FrameState& st, WPARAM wp, LPARAM lp) {
    const Palette* pal = nullptr;
    Geometry g;
    HDC dc = reinterpret_cast<HDC>(wp);
    if (!(lp & PRF_NONCLIENT) || !Measured(hwnd, &g, &pal) || g.defaultInner ||
        ((lp & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)))
        return DefSubclass(hwnd, WM_PRINT, wp, lp);
    {
        BackBuffer canvas(dc, g.width, g.height);
        if (!canvas.Dc()) return DefSubclass(hwnd, WM_PRINT, wp, lp);
        DrawFrame(hwnd, st, *pal, g, canvas.Dc());
        int saved = SaveDC(dc);
        ExcludeClipRect(dc, g.client.left, g.client.top, g.client.right, g.client.bottom);
        canvas.CopyTo(dc, 0, 0);
        RestoreDC(dc, saved);
    }
    // Clipped to the client area: the default erase fills the whole clip
    // box, which would wipe the frame just drawn.
    int saved = SaveDC(dc);
    IntersectClipRect(dc, g.client.left, g.client.top, g.client.right, g.client.bottom);
    OffsetViewportOrgEx(dc, g.client.left, g.client.top, nullptr);
    LRESULT r = DefSubclass(hwnd, WM_PRINT, wp, lp & ~PRF_NONCLIENT);
    RestoreDC(dc, saved);
    return r;
}

LRESULT OnNcHitTest(HWND hwnd, WPARAM wp, LPARAM lp) {
    LRESULT hit = DefSubclass(hwnd, WM_NCHITTEST, wp, lp);
    Geometry g;
    if (!Measured(hwnd, &g)) return hit;
    int ours = ButtonAt(g, ScreenToWindowPt(hwnd, {XOf(lp), YOf(lp)}));
    if (ours) return ours;
    // The classic buttons lie hidden under our caption: not clickable.
    if (IsCaptionButtonHit(hit)) return HTCAPTION;
    return hit;
}

void SetHot(HWND hwnd, FrameState* st, int hot) {
    if (hot == st->hot) return;
    st->hot = hot;
    PaintNow(hwnd, true);
}

void OnNcMouseMove(HWND hwnd, FrameState* st, WPARAM wp) {
    if (!st->leaveTracking) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE | TME_NONCLIENT, hwnd, 0};
        st->leaveTracking = TrackMouseEvent(&tme) != FALSE;
    }
    SetHot(hwnd, st, (wp == HTCLOSE || wp == HTMINBUTTON || wp == HTMAXBUTTON) ? static_cast<int>(wp) : 0);
}

void OnNcMouseLeave(HWND hwnd, FrameState* st) {
    st->leaveTracking = false;
    SetHot(hwnd, st, 0);
}

// While a caption button is held, the mouse is ours: the button shows
// pressed only while the mouse is over it.
bool OnMouseMove(HWND hwnd, FrameState* st, LPARAM lp) {
    if (st->tracked) {
        int at = ButtonAtClientPt(hwnd, lp);
        if (at < 0) return true;
        bool inside = at == st->tracked;
        if (inside != st->pressedInside) {
            st->pressedInside = inside;
            PaintNow(hwnd, true);
        }
        return true;
    }
    SetHot(hwnd, st, 0);
    return false;
}

bool OnNcButtonDown(HWND hwnd, FrameState* st, WPARAM wp) {
    if (wp != HTCLOSE && wp != HTMINBUTTON && wp != HTMAXBUTTON) return false;
    // The default would run its own loop and draw classic buttons.
    st->tracked = static_cast<int>(wp);
    st->pressedInside = true;
    SetCapture(hwnd);
    PaintNow(hwnd, true);
    return true;
}

bool OnLButtonUp(HWND hwnd, FrameState* st, LPARAM lp) {
    if (!st->tracked) return false;
    int tracked = st->tracked;
    POINT pt;
    // Where the button goes up counts, not the last move seen.
    bool inside = ButtonAtClientPt(hwnd, lp, &pt) == tracked;
    ReleaseCapture();
    StopTracking(hwnd, st);
    if (inside) {
        UINT cmd = CommandFor(hwnd, tracked);
        if (cmd) PostMessageA(hwnd, WM_SYSCOMMAND, cmd, MAKELPARAM(pt.x, pt.y));
    }
    return true;
}

void OnNcDestroy(HWND hwnd, FrameState* st) {
    RemoveSubclass(hwnd, FrameProc);
    Unregister(st);
    delete st;
}

}  // namespace

LRESULT FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR ref) {
    FrameState* st = reinterpret_cast<FrameState*>(ref);
    FollowDisplaySettings(msg);
    // Before the window lays itself out at the new scale and repaints; also
    // while standing aside, for the frame taken back.
    if (msg == tolvane::kWmDpiChanged && tolvane::IsWindowsDpi(HIWORD(wp))) st->dpi = HIWORD(wp);
    if (StandsAside() && msg != WM_NCDESTROY) return DefSubclass(hwnd, msg, wp, lp);
    switch (msg) {
        case WM_NCPAINT: return OnNcPaint(hwnd, wp, lp);
        case WM_NCACTIVATE: return OnNcActivate(hwnd, st, wp);
        case tolvane::kWmDpiChanged:
        case WM_SETTEXT:
        case WM_SETICON:
        case WM_STYLECHANGED: return OnCaptionChange(hwnd, msg, wp, lp);
        case WM_PRINT: return OnPrint(hwnd, *st, wp, lp);
        case kWmNcUahDrawCaption:
        case kWmNcUahDrawFrame: return 0;
        case WM_NCHITTEST: return OnNcHitTest(hwnd, wp, lp);
        case WM_NCMOUSEMOVE: OnNcMouseMove(hwnd, st, wp); break;
        case WM_NCMOUSELEAVE: OnNcMouseLeave(hwnd, st); break;
        case WM_MOUSEMOVE:
            if (OnMouseMove(hwnd, st, lp)) return 0;
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            if (OnNcButtonDown(hwnd, st, wp)) return 0;
            break;
        case WM_LBUTTONUP:
            if (OnLButtonUp(hwnd, st, lp)) return 0;
            break;
        case WM_KEYDOWN:
            // Escape cancels the press of a caption button held with the mouse.
            if (st->tracked && wp == VK_ESCAPE) {
                ReleaseCapture();
                return 0;
            }
            break;
        case WM_CAPTURECHANGED: StopTracking(hwnd, st); break;
        case WM_NCDESTROY: OnNcDestroy(hwnd, st); break;
    }
    return DefSubclass(hwnd, msg, wp, lp);
}

bool AttachFrame(HWND hwnd) {
    DWORD_PTR ref = 0;
    if (GetSubclass(hwnd, FrameProc, &ref)) return false;
    FrameState* st = new (std::nothrow) FrameState;
    if (st == nullptr) return false;
    st->hwnd = hwnd;
    st->active = GetActiveWindow() == hwnd;
    if (!SetSubclass(hwnd, FrameProc, reinterpret_cast<DWORD_PTR>(st))) {
        delete st;
        return false;
    }
    Register(st);
    // Called from the creation hook, this comes before the first frame paint.
    if (!StandsAside()) SetFrameRendering(hwnd, true);
    return true;
}

}  // namespace engine
