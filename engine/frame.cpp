// The non-client frame of top-level windows: caption, title, icon, border and
// the caption buttons. The frame keeps the system's geometry, so windows laid
// out for the system frame keep their client size; only the look changes.
#include "engine/engine.h"

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

struct FrameState : Skinned {
    bool active = false;
    int hot = 0;          // hit-test code of the caption button under the mouse
    int tracked = 0;      // button being pressed with the mouse captured
    bool pressedInside = false;
    bool leaveTracking = false;
};

constexpr int kMaxButtons = 3;

struct Geometry {
    int width = 0, height = 0;
    RECT client = {};     // window coordinates
    RECT inner = {};      // inside the border and below caption (and menu)
    int border = 0;       // frame thickness, without the client edge
    int captionBottom = 0;
    bool defaultInner = false;  // menu or scroll bars: the default paints them
    RECT buttons[kMaxButtons] = {};
    int buttonHit[kMaxButtons] = {};
    int buttonCount = 0;
    RECT icon = {};
    HICON hicon = nullptr;
    RECT text = {};
};

using DwmSetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

// dwmapi.dll exists from Vista on. A copy the process holds already is used
// as it is; otherwise only the one in the system folder is loaded, never one
// found through the search path, which starts in the program's own folder
// where a planted copy could lie. Looked for once; the module stays loaded.
DwmSetWindowAttributeFn DwmSetter() {
    static bool looked = false;
    static DwmSetWindowAttributeFn set = nullptr;
    if (looked) return set;
    looked = true;
    HMODULE dwm = nullptr;
    if (!GetModuleHandleExA(0, "dwmapi.dll", &dwm)) {
        static const char kName[] = "\\dwmapi.dll";
        char path[MAX_PATH];
        UINT n = GetSystemDirectoryA(path, MAX_PATH);
        if (n == 0 || n + sizeof kName > MAX_PATH) return nullptr;
        lstrcpyA(path + n, kName);
        dwm = LoadLibraryA(path);
    }
    if (dwm)
        set = reinterpret_cast<DwmSetWindowAttributeFn>(
            reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")));
    return set;
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

// False when the window has no room for a skinned caption (minimised,
// mirrored, or too small); the default frame is drawn then.
bool Measure(HWND hwnd, const Palette& pal, Geometry* g) {
    LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    LONG ex = GetWindowLongA(hwnd, GWL_EXSTYLE);
    if ((style & WS_CAPTION) != WS_CAPTION || IsIconic(hwnd) || (ex & WS_EX_LAYOUTRTL)) return false;
    RECT wr, cr;
    if (!GetWindowRect(hwnd, &wr) || !GetClientRect(hwnd, &cr)) return false;
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    g->width = wr.right - wr.left;
    g->height = wr.bottom - wr.top;
    g->client = {origin.x - wr.left, origin.y - wr.top, origin.x - wr.left + cr.right,
                 origin.y - wr.top + cr.bottom};
    int edge = (ex & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0;
    g->border = g->client.left - edge;
    if (g->border < 0) return false;

    g->captionBottom = g->client.top - edge;
    HMENU menu = GetMenu(hwnd);
    if (menu && IsMenu(menu)) {
        MENUBARINFO mbi = {};
        mbi.cbSize = sizeof(mbi);
        if (GetMenuBarInfo(hwnd, OBJID_MENU, 0, &mbi)) g->captionBottom = mbi.rcBar.top - wr.top;
        g->defaultInner = true;
    }
    if (style & (WS_VSCROLL | WS_HSCROLL)) g->defaultInner = true;
    g->inner = {g->border, g->captionBottom, g->width - g->border, g->height - g->border};
    int band = g->captionBottom - g->border;  // caption height inside the top border
    if (band < 8 || g->width < 2 * g->border + 16) return false;

    // Caption buttons from the right: close, maximise, minimise.
    int size = pal.metric(she::kCaptionButtonSize);
    if (size > band - 2) size = band - 2;
    int top = g->border + (band - size) / 2;
    int right = g->width - g->border - 2;
    auto add = [&](int hit) {
        g->buttons[g->buttonCount] = {right - size, top, right, top + size};
        g->buttonHit[g->buttonCount] = hit;
        ++g->buttonCount;
        right -= size + 2;
    };
    if (style & WS_SYSMENU) {
        add(HTCLOSE);
        if (style & WS_MAXIMIZEBOX) add(HTMAXBUTTON);
        if (style & WS_MINIMIZEBOX) add(HTMINBUTTON);
    }

    int x = g->border + pal.metric(she::kCaptionTextIndent);
    bool wantsIcon = (style & WS_SYSMENU) && !(ex & (WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW));
    if (wantsIcon) g->hicon = IconOf(hwnd);
    if (g->hicon) {
        int is = GetSystemMetrics(SM_CXSMICON);
        if (is > band) is = band;
        int iy = g->border + (band - is) / 2;
        g->icon = {x, iy, x + is, iy + is};
        x += is + 4;
    }
    g->text = {x, g->border, right - 2, g->captionBottom};
    return true;
}

int ButtonAt(const Geometry& g, POINT windowPt) {
    for (int i = 0; i < g.buttonCount; ++i)
        if (PtInRect(&g.buttons[i], windowPt)) return g.buttonHit[i];
    return 0;
}

bool IsCaptionButtonHit(LRESULT hit) {
    return hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON || hit == HTHELP;
}

POINT ScreenToWindowPt(HWND hwnd, POINT screen) {
    RECT wr;
    GetWindowRect(hwnd, &wr);
    return {screen.x - wr.left, screen.y - wr.top};
}

void DrawGlyph(HDC dc, const Palette& pal, const RECT& r, int hit, bool zoomed) {
    ScopedSelect pen(dc, pal.glyph);
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
    FillRect(dc, &all, pal.brush[st.active ? she::kFrameActiveFill : she::kFrameInactiveFill]);
    RECT caption = {0, 0, g.width, g.captionBottom};
    FillGradientRows(dc, caption, pal.skin.color(st.active ? she::kCaptionActiveTop : she::kCaptionInactiveTop),
                     pal.skin.color(st.active ? she::kCaptionActiveBottom : she::kCaptionInactiveBottom));

    // The outline is drawn inside the window rectangle, width lines deep.
    {
        ScopedSelect pen(dc, pal.frameOutline[a]);
        ScopedSelect brush(dc, GetStockObject(NULL_BRUSH));
        int ow = pal.metric(she::kFrameOutlineWidth);
        if (ow > g.border) ow = g.border > 0 ? g.border : 1;
        for (int i = 0; i < ow; ++i) Rectangle(dc, i, i, g.width - i, g.height - i);
    }

    if (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
        RECT edge = g.client;
        int e = GetSystemMetrics(SM_CXEDGE);
        InflateRect(&edge, e, e);
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    }

    if (g.hicon) {
        DrawIconEx(dc, g.icon.left, g.icon.top, g.hicon, g.icon.right - g.icon.left,
                   g.icon.bottom - g.icon.top, 0, nullptr, DI_NORMAL);
    }

    char title[512];
    int n = GetWindowTextA(hwnd, title, sizeof(title));
    if (n > 0) {
        ScopedSelect font(dc, pal.captionFont);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, pal.color(st.active ? she::kCaptionActiveText : she::kCaptionInactiveText));
        RECT tr = g.text;
        DrawTextA(dc, title, n, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }

    const int radius = pal.metric(she::kCaptionButtonRadius);
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
        const RECT& r = g.buttons[i];
        {
            ScopedSelect brush(dc, pal.brush[face]);
            ScopedSelect pen(dc, GetStockObject(NULL_PEN));
            // A null pen leaves the right and bottom line out; hence + 1.
            RoundRect(dc, r.left, r.top, r.right + 1, r.bottom + 1, 2 * radius, 2 * radius);
        }
        DrawGlyph(dc, pal, r, hit, zoomed);
    }
}

// Paints the whole skinned frame now. Returns false when the default frame
// should be drawn instead.
bool PaintNow(HWND hwnd, bool afterDefault) {
    FrameState* st = StateOf(hwnd);
    const Palette* pal = CurrentPalette();
    if (st == nullptr || pal == nullptr) return false;
    Geometry g;
    if (!Measure(hwnd, *pal, &g)) return false;
    if (g.defaultInner && !afterDefault) return false;
    HDC wdc = GetWindowDC(hwnd);
    if (wdc == nullptr) return true;
    {
        BackBuffer canvas(wdc, g.width, g.height);
        if (canvas.Dc()) {
            DrawFrame(hwnd, *st, *pal, g, canvas.Dc());
            const RECT& hole = g.defaultInner ? g.inner : g.client;
            ExcludeClipRect(wdc, hole.left, hole.top, hole.right, hole.bottom);
            canvas.CopyTo(wdc, 0, 0);
        }
    }
    ReleaseDC(hwnd, wdc);
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

}  // namespace

LRESULT FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR ref) {
    FrameState* st = reinterpret_cast<FrameState*>(ref);
    switch (msg) {
        case WM_NCPAINT: {
            bool needsDefault = false;
            if (const Palette* pal = CurrentPalette()) {
                Geometry g;
                needsDefault = !Measure(hwnd, *pal, &g) || g.defaultInner;
            }
            if (needsDefault) {
                LRESULT r = DefSubclass(hwnd, msg, wp, lp);
                PaintNow(hwnd, true);
                return r;
            }
            if (!PaintNow(hwnd, false)) return DefSubclass(hwnd, msg, wp, lp);
            return 0;
        }
        case WM_NCACTIVATE: {
            st->active = wp != FALSE;
            // lParam -1: update the state but leave the painting to us.
            DefSubclass(hwnd, msg, wp, static_cast<LPARAM>(-1));
            // Minimised or captionless: the default frame must be redrawn.
            if (!PaintNow(hwnd, true)) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
            return TRUE;
        }
        case WM_SETTEXT:
        case WM_SETICON:
        case WM_STYLECHANGED: {
            // The default procedure paints the classic caption right here.
            LRESULT r = DefSubclass(hwnd, msg, wp, lp);
            if (IsWindowVisible(hwnd)) PaintNow(hwnd, true);
            return r;
        }
        case WM_PRINT: {
            // PrintWindow and friends: the skinned frame into their DC, then
            // the rest, shifted to where the client area lies.
            const Palette* pal = CurrentPalette();
            Geometry g;
            HDC dc = reinterpret_cast<HDC>(wp);
            if (!(lp & PRF_NONCLIENT) || pal == nullptr || !Measure(hwnd, *pal, &g) || g.defaultInner ||
                ((lp & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)))
                break;
            {
                BackBuffer canvas(dc, g.width, g.height);
                if (!canvas.Dc()) break;
                DrawFrame(hwnd, *st, *pal, g, canvas.Dc());
                int saved = SaveDC(dc);
                ExcludeClipRect(dc, g.client.left, g.client.top, g.client.right, g.client.bottom);
                canvas.CopyTo(dc, 0, 0);
                RestoreDC(dc, saved);
            }
            // Clipped to the client area: the default erase fills the whole
            // clip box, which would wipe the frame just drawn.
            int saved = SaveDC(dc);
            IntersectClipRect(dc, g.client.left, g.client.top, g.client.right, g.client.bottom);
            OffsetViewportOrgEx(dc, g.client.left, g.client.top, nullptr);
            LRESULT r = DefSubclass(hwnd, msg, wp, lp & ~PRF_NONCLIENT);
            RestoreDC(dc, saved);
            return r;
        }
        case kWmNcUahDrawCaption:
        case kWmNcUahDrawFrame:
            return 0;
        case WM_NCHITTEST: {
            LRESULT hit = DefSubclass(hwnd, msg, wp, lp);
            const Palette* pal = CurrentPalette();
            Geometry g;
            if (pal == nullptr || !Measure(hwnd, *pal, &g)) return hit;
            POINT pt = ScreenToWindowPt(hwnd, {XOf(lp), YOf(lp)});
            int ours = ButtonAt(g, pt);
            if (ours) return ours;
            // The classic buttons lie hidden under our caption: not clickable.
            if (IsCaptionButtonHit(hit)) return HTCAPTION;
            return hit;
        }
        case WM_NCMOUSEMOVE: {
            int hot = (wp == HTCLOSE || wp == HTMINBUTTON || wp == HTMAXBUTTON) ? static_cast<int>(wp) : 0;
            if (!st->leaveTracking) {
                TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE | TME_NONCLIENT, hwnd, 0};
                st->leaveTracking = TrackMouseEvent(&tme) != FALSE;
            }
            if (hot != st->hot) {
                st->hot = hot;
                PaintNow(hwnd, true);
            }
            break;
        }
        case WM_NCMOUSELEAVE:
            st->leaveTracking = false;
            if (st->hot) {
                st->hot = 0;
                PaintNow(hwnd, true);
            }
            break;
        case WM_MOUSEMOVE:
            if (st->tracked) {
                const Palette* pal = CurrentPalette();
                Geometry g;
                if (pal == nullptr || !Measure(hwnd, *pal, &g)) return 0;
                POINT pt = {XOf(lp), YOf(lp)};
                ClientToScreen(hwnd, &pt);
                bool inside = ButtonAt(g, ScreenToWindowPt(hwnd, pt)) == st->tracked;
                if (inside != st->pressedInside) {
                    st->pressedInside = inside;
                    PaintNow(hwnd, true);
                }
                return 0;
            }
            if (st->hot) {
                st->hot = 0;
                PaintNow(hwnd, true);
            }
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            if (wp == HTCLOSE || wp == HTMINBUTTON || wp == HTMAXBUTTON) {
                // The default would run its own loop and draw classic buttons.
                st->tracked = static_cast<int>(wp);
                st->pressedInside = true;
                SetCapture(hwnd);
                PaintNow(hwnd, true);
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (st->tracked) {
                int tracked = st->tracked;
                POINT pt = {XOf(lp), YOf(lp)};
                ClientToScreen(hwnd, &pt);
                // Where the button goes up counts, not the last move seen.
                bool inside = false;
                if (const Palette* pal = CurrentPalette()) {
                    Geometry g;
                    inside = Measure(hwnd, *pal, &g) && ButtonAt(g, ScreenToWindowPt(hwnd, pt)) == tracked;
                }
                ReleaseCapture();
                StopTracking(hwnd, st);
                if (inside) {
                    UINT cmd = CommandFor(hwnd, tracked);
                    if (cmd) PostMessageA(hwnd, WM_SYSCOMMAND, cmd, MAKELPARAM(pt.x, pt.y));
                }
                return 0;
            }
            break;
        case WM_KEYDOWN:
            if (st->tracked && wp == VK_ESCAPE) {
                ReleaseCapture();
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            StopTracking(hwnd, st);
            break;
        case WM_NCDESTROY: {
            RemoveSubclass(hwnd, FrameProc);
            Unregister(st);
            delete st;
            return DefSubclass(hwnd, msg, wp, lp);
        }
    }
    return DefSubclass(hwnd, msg, wp, lp);
}

bool AttachFrame(HWND hwnd) {
    DWORD_PTR ref = 0;
    if (GetSubclass(hwnd, FrameProc, &ref)) return false;
    FrameState* st = new (std::nothrow) FrameState;
    if (st == nullptr) return false;
    st->hwnd = hwnd;
    st->kind = Kind::kFrame;
    st->active = GetActiveWindow() == hwnd;
    if (!SetSubclass(hwnd, FrameProc, reinterpret_cast<DWORD_PTR>(st))) {
        delete st;
        return false;
    }
    Register(st);
    // Called from the creation hook, this comes before the first frame paint.
    SetFrameRendering(hwnd, true);
    return true;
}

void SetFrameRendering(HWND hwnd, bool ours) {
    // With composition on, the desktop window manager draws the frame itself
    // and our WM_NCPAINT never shows.
    if (DwmSetWindowAttributeFn set = DwmSetter()) {
        DWORD policy = ours ? DWMNCRP_DISABLED : DWMNCRP_USEWINDOWSTYLE;
        set(hwnd, DWMWA_NCRENDERING_POLICY, &policy, sizeof policy);
    }
}

void RepaintFrame(HWND hwnd) {
    if (IsWindowVisible(hwnd)) RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace engine
