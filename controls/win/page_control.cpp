#include "controls/win/page_control.h"

#include <utility>
#include <vector>

#include "controls/tab_layout.h"
#include "controls/win/accessible.h"
#include "controls/win/fonts.h"
#include "controls/win/trans_label.h"
#include "core/gradient.h"
#include "core/window_classes.h"
#include "winutil/back_buffer.h"
#include "winutil/colour.h"
#include "winutil/dpi.h"
#include "winutil/gdi_objects.h"
#include "winutil/gradient_fill.h"
#include "winutil/high_contrast.h"
#include "winutil/mouse.h"
#include "winutil/window_class.h"

namespace tolvane {

namespace {

constexpr Rgb kOutline{145, 167, 180};
constexpr Rgb kPageColour{252, 252, 254};
constexpr Rgb kGradientTop{255, 255, 255};
constexpr Rgb kGradientBottom{235, 235, 229};
constexpr Rgb kAccentTop{230, 139, 44};
constexpr Rgb kAccentBelow{255, 200, 60};
constexpr COLORREF kCaptionNormal = RGB(0, 0, 0);
constexpr COLORREF kCaptionCurrent = RGB(0, 0, 255);
constexpr COLORREF kCaptionHover = RGB(255, 0, 0);
constexpr COLORREF kCaptionDisabled = RGB(128, 128, 128);
// A tab press posted by the accessible object: wParam the tab.
constexpr UINT kPressTabMessage = WM_USER + 1;

ATOM g_atom = 0;

struct PageControlState {
    HWND hwnd = nullptr;
    PageCaptions captions{};
    int dpi = kDesignDpi;
    GdiObject<HFONT> font;
    int fontHeight = 12;
    std::vector<int> captionWidths;
    TabLayout layout;
    int current = 0;
    int hover = -1;
    bool tracking = false;
    bool dirty = true;  // the back buffer no longer shows the current state
    BackBuffer buffer;
    TabPressedFn onTabPressed = nullptr;
};

// Solid fills through the DC brush: painting creates no GDI objects at all.
void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    if (right <= left || bottom <= top) return;
    RECT r{left, top, right, bottom};
    SetDCBrushColor(dc, colour);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A tab's own pixels, given in 96-dpi pixels from its left (L), right (R)
// and top (T) edge, at the control's scale: at 120 dpi and above a line of
// the outline or the accent grows with everything else.
struct TabPixels {
    HDC dc;
    int x0, y0, w, h;
    int at[4];  // 0 to 3 at the control's scale
    TabPixels(HDC d, const Rect& t, int dpi) : dc(d), x0(t.left), y0(t.top), w(t.Width()), h(t.Height()) {
        for (int n = 0; n < 4; ++n) at[n] = ScaleToDpi(n, dpi);
    }
    int L(int n) const { return x0 + at[n]; }
    int R(int n) const { return x0 + w - at[n]; }
    int T(int n) const { return y0 + at[n]; }
    int Bottom() const { return y0 + h; }
    void Fill(int left, int top, int right, int bottom, COLORREF colour) const {
        tolvane::Fill(dc, left, top, right, bottom, colour);
    }
};

void Relayout(PageControlState* s) {
    RECT rc;
    GetClientRect(s->hwnd, &rc);
    TabLayoutInput in;
    in.captionWidths = s->captionWidths;
    in.fontHeight = s->fontHeight;
    in.controlWidth = rc.right;
    in.controlHeight = rc.bottom;
    in.currentTab = s->current;
    in.dpi = s->dpi;
    s->layout = LayoutTabs(in);
    s->dirty = true;
}

void MeasureCaptions(PageControlState* s) {
    ScopedDc screen(s->hwnd);
    HDC dc = screen.Get();
    ScopedSelect sel(dc, s->font.Get());
    s->captionWidths.clear();
    for (int i = 0; i < s->captions.count; ++i) {
        const char* caption = s->captions.texts[i];
        SIZE size{};
        GetTextExtentPoint32A(dc, caption, lstrlenA(caption), &size);
        s->captionWidths.push_back(size.cx);
    }
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    s->fontHeight = tm.tmHeight - tm.tmInternalLeading;
}

bool PaintTabInPair(PageControlState* s, HDC dc, int index);
bool PaintBodyInPair(PageControlState* s, HDC dc);

void PaintTab(PageControlState* s, HDC dc, int index) {
    if (PaintTabInPair(s, dc, index)) return;
    const Rect& t = s->layout.tabs[index];
    const int w = t.Width(), h = t.Height(), x0 = t.left, y0 = t.top;
    const bool current = index == s->current;
    const bool hot = index == s->hover;

    if (current) {
        Fill(dc, x0, y0, x0 + w, y0 + h, ToColorRef(kPageColour));
    } else {
        const RECT tab{x0, y0, x0 + w, y0 + h};
        FillGradientBands(dc, tab, kGradientTop, kGradientBottom);
    }
    // Outline, with the top corners bevelled into the strip's face colour.
    const COLORREF face = GetSysColor(COLOR_BTNFACE), outline = ToColorRef(kOutline);
    const TabPixels p(dc, t, s->dpi);
    p.Fill(p.L(2), p.T(0), p.R(1), p.T(1), outline);
    p.Fill(p.L(1), p.T(1), p.L(2), p.Bottom(), outline);
    p.Fill(p.R(1), p.T(1), p.R(0), p.Bottom(), outline);
    p.Fill(p.L(2), p.T(1), p.L(3), p.T(2), outline);
    p.Fill(p.R(2), p.T(1), p.R(1), p.T(2), outline);
    p.Fill(p.L(0), p.T(0), p.L(1), p.Bottom(), face);
    p.Fill(p.L(1), p.T(0), p.L(2), p.T(1), face);
    p.Fill(p.R(1), p.T(0), p.R(0), p.T(1), face);

    if (current || hot) {
        p.Fill(p.L(3), p.T(0), p.R(2), p.T(1), ToColorRef(kAccentTop));
        p.Fill(p.L(2), p.T(1), p.R(1), p.T(3), ToColorRef(kAccentBelow));
        const COLORREF light = ToColorRef(LightenTowardWhite(kAccentTop, 30));
        p.Fill(p.L(2), p.T(0), p.L(3), p.T(1), light);
        p.Fill(p.R(2), p.T(0), p.R(1), p.T(1), light);
    }

    COLORREF text = kCaptionNormal;
    if (!IsWindowEnabled(s->hwnd)) text = kCaptionDisabled;
    else if (hot) text = kCaptionHover;
    else if (current) text = kCaptionCurrent;
    ScopedSelect sel(dc, s->font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    RECT r{x0, y0, x0 + w, y0 + h};
    DrawTextA(dc, s->captions.texts[index], -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void PaintBody(PageControlState* s, HDC dc) {
    if (PaintBodyInPair(s, dc)) return;
    const Rect& b = s->layout.body;
    const int line = ScaleToDpi(1, s->dpi);  // the frame's width
    Fill(dc, b.left, b.top, b.right, b.bottom, ToColorRef(kPageColour));
    Fill(dc, b.left, b.top, b.right, b.top + line, ToColorRef(kOutline));
    Fill(dc, b.left, b.bottom - line, b.right, b.bottom, ToColorRef(kOutline));
    Fill(dc, b.left, b.top, b.left + line, b.bottom, ToColorRef(kOutline));
    Fill(dc, b.right - line, b.top, b.right, b.bottom, ToColorRef(kOutline));
    // The current tab opens into the page: its part of the frame takes the page colour.
    if (s->current >= 0 && s->current < static_cast<int>(s->layout.tabs.size())) {
        const Rect& t = s->layout.tabs[s->current];
        if (t.bottom == b.top)
            Fill(dc, t.left + ScaleToDpi(2, s->dpi), b.top, t.right - line, b.top + line, ToColorRef(kPageColour));
    }
}

// ---- high contrast: matched pairs of system colours, no gradient, no accent --

Look TabLook(const PageControlState* s, int index) {
    if (!IsWindowEnabled(s->hwnd)) return LookNow(Part::DisabledTab);
    return LookNow(index == s->current ? Part::CurrentTab : Part::Tab);
}

// The tab's face in its pair's background, its caption in the pair's text;
// the outline in the strip's text, with the corners bevelled into the strip
// as ever. The tab under the pointer is underlined in its caption's colour:
// no colour of its own.
bool PaintTabInPair(PageControlState* s, HDC dc, int index) {
    const Look look = TabLook(s, index), strip = LookNow(Part::TabStrip);
    if (look.kind != Look::kPair) return false;
    const Rect& t = s->layout.tabs[index];
    const TabPixels p(dc, t, s->dpi);
    const COLORREF ink = SysColourRef(look.text), face = SysColourRef(strip.back);
    const COLORREF outline = SysColourRef(index == s->current ? strip.text : look.text);
    p.Fill(p.x0, p.y0, p.R(0), p.Bottom(), SysColourRef(look.back));
    p.Fill(p.L(2), p.T(0), p.R(1), p.T(1), outline);
    p.Fill(p.L(1), p.T(1), p.L(2), p.Bottom(), outline);
    p.Fill(p.R(1), p.T(1), p.R(0), p.Bottom(), outline);
    p.Fill(p.L(0), p.T(0), p.L(1), p.Bottom(), face);
    p.Fill(p.L(1), p.T(0), p.L(2), p.T(1), face);
    p.Fill(p.R(1), p.T(0), p.R(0), p.T(1), face);
    if (index == s->hover) p.Fill(p.L(3), p.Bottom() - p.at[3], p.R(3), p.Bottom() - p.at[1], ink);
    ScopedSelect sel(dc, s->font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ink);
    RECT r{t.left, t.top, t.right, t.bottom};
    DrawTextA(dc, s->captions.texts[index], -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return true;
}

// The page in the face's pair, framed all round in its text: the current
// tab, in the highlight's pair, does not open into it.
bool PaintBodyInPair(PageControlState* s, HDC dc) {
    const Look look = LookNow(Part::PageBody);
    if (look.kind != Look::kPair) return false;
    const Rect& b = s->layout.body;
    const int line = ScaleToDpi(1, s->dpi);
    Fill(dc, b.left, b.top, b.right, b.bottom, SysColourRef(look.text));
    Fill(dc, b.left + line, b.top + line, b.right - line, b.bottom - line, SysColourRef(look.back));
    return true;
}

// The colours, or the pairs they are painted in, may have changed: the back
// buffer is painted anew, and the controls on the pages hear of it too.
void OnDisplaySettingsChange(PageControlState* s) {
    ReadHighContrast();
    s->dirty = true;
    PassColourChangeToChildren(s->hwnd);
    RedrawWindow(s->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Render(PageControlState* s) {
    HDC dc = s->buffer.Dc();
    Fill(dc, 0, 0, s->buffer.Width(), s->buffer.Height(), GetSysColor(COLOR_BTNFACE));
    for (int i = 0; i < static_cast<int>(s->layout.tabs.size()); ++i) PaintTab(s, dc, i);
    PaintBody(s, dc);
    s->dirty = false;
}

bool EnsureBuffer(PageControlState* s, HDC reference) {
    RECT rc;
    GetClientRect(s->hwnd, &rc);
    const bool sizeChanged = rc.right != s->buffer.Width() || rc.bottom != s->buffer.Height();
    if (!s->buffer.Ensure(reference, rc.right, rc.bottom)) return false;
    if (sizeChanged) s->dirty = true;
    if (s->dirty) Render(s);
    return true;
}

// Every child paints all of itself, a label what lies beneath it too:
// leaving them out of the copy keeps them from flashing page colour on every
// repaint. A label the copy reaches is repainted, bringing the new page along.
void ExcludeChildren(HWND hwnd, HDC dc, const RECT& painted) {
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        RECT r, both;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
        if (IsTransLabel(c) && IntersectRect(&both, &r, &painted)) InvalidateRect(c, nullptr, FALSE);
    }
}

void OnPaint(PageControlState* s) {
    const ScopedPaint paint(s->hwnd);
    HDC dc = paint.Get();
    const RECT& r = paint.Area();
    if (EnsureBuffer(s, dc)) {
        ExcludeChildren(s->hwnd, dc, r);
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, s->buffer.Dc(), r.left, r.top, SRCCOPY);
    }
}

// Hover changes redraw just the tabs concerned: each is brought up to date in
// the back buffer and only its rectangle is invalidated, so the strip and the
// page body around it are neither painted nor copied.
void RedrawTabs(PageControlState* s, std::initializer_list<int> tabs) {
    const bool buffered = EnsureBuffer(s, ScopedDc(s->hwnd).Get());
    for (int i : tabs) {
        if (i < 0 || i >= static_cast<int>(s->layout.tabs.size())) continue;
        if (buffered) PaintTab(s, s->buffer.Dc(), i);
        const Rect& t = s->layout.tabs[i];
        RECT r{t.left, t.top, t.right, t.bottom};
        InvalidateRect(s->hwnd, &r, FALSE);
    }
    UpdateWindow(s->hwnd);
}

void SetHover(PageControlState* s, int tab) {
    if (tab == s->hover) return;
    const int old = s->hover;
    s->hover = tab;
    RedrawTabs(s, {old, tab, s->current});
}

void OnMouseMove(PageControlState* s, LPARAM lp) {
    if (!s->tracking) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, s->hwnd, 0};
        s->tracking = TrackMouseEvent(&tme) != FALSE;
    }
    SetHover(s, s->layout.HitTest(XOf(lp), YOf(lp)));
}

bool OnNcCreate(PageControlState* s, HWND hwnd, const CREATESTRUCTA* cs) {
    if (!s) return false;
    s->hwnd = hwnd;
    if (const auto* settings = static_cast<const PageControlSettings*>(cs->lpCreateParams)) {
        s->captions = settings->captions;
        s->dpi = settings->dpi;
    }
    s->font = CreateFormFont(FontChoice::SongTiGb2312, s->dpi);
    return true;
}

LRESULT CALLBACK PageControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    PageControlState* s = OwnWindowState<PageControlState>(hwnd, msg);
    if (msg == WM_NCCREATE) {
        if (!OnNcCreate(s, hwnd, reinterpret_cast<const CREATESTRUCTA*>(lp))) return FALSE;
        // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks): the window keeps its state till WM_NCDESTROY
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    // Before WM_NCCREATE and after WM_NCDESTROY there is no state: the
    // default procedure answers.
    if (!s) return DefWindowProcA(hwnd, msg, wp, lp);
    if (IsDisplaySettingsChange(msg)) {
        OnDisplaySettingsChange(s);
        return 0;
    }
    switch (msg) {
        case WM_CREATE:
            MeasureCaptions(s);
            Relayout(s);
            return 0;
        case WM_SIZE: Relayout(s); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font.Get());
        case WM_PAINT: OnPaint(s); return 0;
        case WM_PRINTCLIENT:
            if (EnsureBuffer(s, reinterpret_cast<HDC>(wp)))
                BitBlt(reinterpret_cast<HDC>(wp), 0, 0, s->buffer.Width(), s->buffer.Height(), s->buffer.Dc(), 0, 0,
                       SRCCOPY);
            return 0;
        case WM_ENABLE:
            s->dirty = true;
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
            return 0;
        case WM_MOUSEMOVE: OnMouseMove(s, lp); return 0;
        case WM_MOUSELEAVE:
            s->tracking = false;
            SetHover(s, -1);
            return 0;
        case WM_LBUTTONDOWN: {
            const int tab = s->layout.HitTest(XOf(lp), YOf(lp));
            if (tab >= 0 && s->onTabPressed) s->onTabPressed(tab);
            return 0;
        }
        case kPressTabMessage: PressPageControlTab(hwnd, static_cast<int>(wp)); return 0;
        case WM_GETOBJECT:
            if (const LRESULT object = AnswerTabStripObject(hwnd, wp, lp)) return object;
            break;
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            // The controls on the pages report to the main window, which owns the form.
            return SendMessageA(GetParent(hwnd), msg, wp, lp);
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

bool RegisterPageControlClass(HINSTANCE instance) {
    g_atom = RegisterOwnClass(instance, kPageControlClass, PageControlProc);
    return g_atom != 0;
}

void SetPageControlDpi(HWND page, int dpi) {
    PageControlState* s = StateOf<PageControlState>(page);
    if (!s || dpi == s->dpi) return;
    // Made before the old one goes: a failure keeps the old font, and the
    // tabs are measured in whichever is held.
    if (GdiObject<HFONT> font = CreateFormFont(FontChoice::SongTiGb2312, dpi)) s->font = std::move(font);
    s->dpi = dpi;
    MeasureCaptions(s);
    Relayout(s);
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
}

void SetPageControlTabPressed(HWND page, TabPressedFn fn) {
    if (PageControlState* s = StateOf<PageControlState>(page)) s->onTabPressed = fn;
}

int PageControlCurrent(HWND page) {
    PageControlState* s = StateOf<PageControlState>(page);
    return s ? s->current : 0;
}

void PageControlSetCurrent(HWND page, int index) {
    PageControlState* s = StateOf<PageControlState>(page);
    if (!s) return;
    const bool changed = index != s->current;
    s->current = index;
    Relayout(s);  // the current tab's row moves next to the body
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
    // The tabs are the children 1 and 2 of the control's accessible object.
    if (changed) NotifyWinEvent(EVENT_OBJECT_SELECTION, page, OBJID_CLIENT, index + 1);
}

void PressPageControlTab(HWND page, int index) {
    PageControlState* s = StateOf<PageControlState>(page);
    if (s && index >= 0 && index < s->captions.count && s->onTabPressed) s->onTabPressed(index);
}

bool PostPageControlTabPress(HWND page, int index) {
    return PostMessageA(page, kPressTabMessage, static_cast<WPARAM>(index), 0) != FALSE;
}

bool IsPageControl(HWND hwnd) { return IsOwnWindow(hwnd, g_atom); }

int PageControlTabCount(HWND page) {
    const PageControlState* s = StateOf<PageControlState>(page);
    return s ? static_cast<int>(s->layout.tabs.size()) : 0;
}

bool PageControlTab(HWND page, int index, PageTab* tab) {
    const PageControlState* s = StateOf<PageControlState>(page);
    if (!s || index < 0 || index >= static_cast<int>(s->layout.tabs.size()) || index >= s->captions.count) return false;
    const Rect& r = s->layout.tabs[static_cast<size_t>(index)];
    *tab = PageTab{s->captions.texts[index], RECT{r.left, r.top, r.right, r.bottom}};
    return true;
}

}  // namespace tolvane
