// The main window and its controls, built from the control table.
#include <windows.h>

#include <ctime>
#include <utility>

#include "controls/win/edit_box.h"
#include "controls/win/fonts.h"
#include "controls/win/jpeg_image.h"
#include "controls/win/page_control.h"
#include "controls/win/pic_box.h"
#include "controls/win/trans_label.h"
#include "resources/resource_ids.h"
#include "toolkit/geometry.h"
#include "toolkit/win/accessible_names.h"
#include "toolkit/win/control_kinds.h"
#include "toolkit/win/control_services.h"
#include "toolkit/win/keyboard.h"
#include "toolkit/win/main_form.h"
#include "toolkit/win/main_window.h"
#include "toolkit/win/resource_bytes.h"
#include "winutil/dpi.h"
#include "winutil/high_contrast.h"
#include "winutil/memory_access.h"
#include "winutil/window_class.h"

namespace tolvane {

namespace {

// Set once the message loop runs: a window closed during its own start-up
// must not post a quit that the loop, not yet entered, would meet first.
bool g_loopEntered = false;

HFONT FontFor(const Form& form, const ControlSpec& control) {
    if (control.font == FontChoice::SongTiPlain && form.songTi) return form.songTi.Get();
    return form.gui ? form.gui.Get() : GuiFont();
}

// A rectangle of the table, in 96-dpi pixels, at `dpi`.
struct Placed {
    int left, top, width, height;
};
template <class Row>
Placed PlacedAt(const Row& row, int dpi) {
    return {ScaleToDpi(row.left, dpi), ScaleToDpi(row.top, dpi), ScaleToDpi(row.width, dpi),
            ScaleToDpi(row.height, dpi)};
}

// The window's outer size at `dpi`.
SIZE MainWindowSizeAt(int dpi) { return {ScaleToDpi(kMainWindow.width, dpi), ScaleToDpi(kMainWindow.height, dpi)}; }

GdiObject<HBITMAP> LoadBanner() {
    const ResourceBytes jpeg = RcDataBytes(IDR_BANNER_JPEG);
    int w = 0, h = 0;
    return jpeg.data ? DecodeJpeg(jpeg.data, jpeg.size, &w, &h) : GdiObject<HBITMAP>();
}

// An edit box lower than "吴" in its font plus two 3-D edges grows to that.
int EditHeight(HWND edit, HFONT font, int designHeight, int dpi) {
    ScopedDc dc(edit);
    ScopedSelect select(dc.Get(), font);
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), "吴", 2, &size);
    return EditBoxHeight(designHeight, size.cy, SystemMetricAt(SM_CYEDGE, dpi));
}

HWND CreateControl(const Form& form, int index, HINSTANCE instance) {
    const ControlSpec& control = kControls[index];
    const KindRow& kind = KindOf(control.kind);
    // Ticks from now until the window is destroyed.
    if (control.kind == Kind::Timer) SetTimer(form.main, kClockTimerId, kTimerIntervalMs, nullptr);
    if (!kind.windowClass) return nullptr;
    const DWORD style = WS_CHILD | kind.style | ((control.flags & kTabStop) ? WS_TABSTOP : 0) |
                        ((control.flags & kDisabled) ? WS_DISABLED : 0) |
                        ((control.flags & kDefaultButton) ? BS_DEFPUSHBUTTON : 0);
    // What our own classes take at creation; each copies it.
    TransLabelSettings label;
    label.layout = control.labelLayout;
    label.textColour = kind.text;
    label.contrast = kind.contrast;
    void* param = control.kind == Kind::TransLabel ? static_cast<void*>(&label)
                  : control.kind == Kind::PicBox   ? const_cast<Part*>(&kind.contrast)
                                                   : nullptr;
    const HFONT font = FontFor(form, control);
    const Placed at = PlacedAt(control, form.dpi);
    HWND hwnd =
        CreateWindowExA(kind.exStyle, kind.windowClass, control.caption, style, at.left, at.top, at.width, at.height,
                        form.main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index))), instance, param);
    if (!hwnd) return nullptr;
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (control.kind == Kind::EditBox) {
        RefuseEditsWhileHidden(hwnd);
        SendMessageA(hwnd, EM_SETLIMITTEXT, 0, 0);  // the system's maximum
        const int h = EditHeight(hwnd, font, at.height, form.dpi);
        if (h != at.height) SetWindowPos(hwnd, nullptr, 0, 0, at.width, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(hwnd, EM_SETSEL, 0, 0);
    } else if (control.kind == Kind::PicBox) {
        SetPicBoxDpi(hwnd, form.dpi);
        SetPicBoxPicture(hwnd, LoadBanner());
    }
    return hwnd;
}

// Everything of the form at `dpi`, from the table's 96-dpi numbers and never
// from what an earlier scale made of them, so that scales come and go
// without a pixel of drift. The banner takes the width that start-up fitted
// it to, by the same rule, at the new scale.
void LayOutAt(Form& form, int dpi) {
    form.dpi = dpi;
    // The old fonts go only once every control holds a new one.
    const GdiObject<HFONT> oldSongTi(std::move(form.songTi)), oldGui(std::move(form.gui));
    form.songTi = CreateFormFont(FontChoice::SongTiPlain, dpi);
    form.gui = CreateGuiFontAt(dpi);
    SetPageControlDpi(form.page, dpi);
    const Placed page = PlacedAt(kPageControl, dpi);
    SetWindowPos(form.page, nullptr, page.left, page.top, page.width, page.height, SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < kControlCount; ++i) {
        HWND c = form.controls[i].hwnd;
        if (!c) continue;
        const ControlSpec& control = kControls[i];
        const HFONT font = FontFor(form, control);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        Placed at = PlacedAt(control, dpi);
        if (control.kind == Kind::EditBox) at.height = EditHeight(c, font, at.height, dpi);
        if (control.kind == Kind::PicBox) SetPicBoxDpi(c, dpi);
        if (i == kBanner) at.width = BannerWidthFor(page.width, dpi);
        SetWindowPos(c, nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PlaceFormNames(form);
}

// Where a window of `size` whose top-left corner another program or the
// system names goes: there while any of it lies on a monitor, else wholly on
// the nearest monitor's work area, so the user can always reach its caption.
POINT OnAMonitor(POINT at, SIZE size) {
    // Far beyond any screen, and no sum below can overflow.
    const auto bounded = [](LONG v) { return v < -0x8000 ? -0x8000 : v > 0x8000 ? 0x8000 : v; };
    at = {bounded(at.x), bounded(at.y)};
    const RECT r{at.x, at.y, at.x + size.cx, at.y + size.cy};
    if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return at;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return at;
    const RECT& work = info.rcWork;
    at.x = at.x + size.cx > work.right ? work.right - size.cx : at.x;
    at.y = at.y + size.cy > work.bottom ? work.bottom - size.cy : at.y;
    return {at.x < work.left ? work.left : at.x, at.y < work.top ? work.top : at.y};
}

// WM_DPICHANGED: the window has moved to a monitor of another scale (or the
// user changed the scale of its monitor). The window takes the design's size
// at the new scale whatever the rectangle says (WM_WINDOWPOSCHANGING holds
// it), so that it always fits its layout: a missing or unreadable rectangle
// keeps the window's place, an absurd one is brought onto a monitor.
void ChangeScale(Form& form, int dpi, const RECT* suggested) {
    HWND main = form.main;
    LayOutAt(form, dpi);
    form.Raise(kMainWindowSource, Event::ScaleChanged);
    // The handler may have closed the window.
    if (!IsWindow(main)) return;
    // A minimised window takes its size when it is restored.
    if (!IsIconic(main)) {
        RECT now{};
        GetWindowRect(main, &now);
        // The system's rectangle keeps the window where the user dragged it.
        POINT at{now.left, now.top};
        if (CanRead(suggested, sizeof *suggested)) at = {suggested->left, suggested->top};
        const SIZE size = MainWindowSizeAt(dpi);
        at = OnAMonitor(at, size);
        SetWindowPos(main, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// High contrast on or off, or other system colours: the setting is read
// anew, the children are told, and the whole window is painted again.
void FollowDisplaySettings(HWND main) {
    ReadHighContrast();
    PassColourChangeToChildren(main);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Form* form = OwnWindowState<Form>(hwnd, msg);
    if (IsDisplaySettingsChange(msg)) FollowDisplaySettings(hwnd);
    switch (msg) {
        case WM_NCCREATE:
            if (!form) return FALSE;
            form->main = hwnd;
            break;
        case WM_TIMER:
            if (form && wp == kClockTimerId) form->Raise(kClockTimer, Event::TimerTick);
            return 0;
        case WM_TIMECHANGE:
        case WM_SETTINGCHANGE:
            // The C library reads the time zone once, and the clock shows the
            // system's local time: read it again when the system says the time
            // or the zone changed (its Date and Time settings send the first; a
            // program that sets the zone is asked to send the second).
            _tzset();
            break;
        case WM_COMMAND:
            if (form && HIWORD(wp) == BN_CLICKED) {
                const int index = form->IndexOf(reinterpret_cast<HWND>(lp));
                if (index >= 0 && KindOf(kControls[index].kind).clickRaises) form->Raise(index, Event::Clicked);
            }
            return 0;
        case kWmGetDpiScaledSize:
            // The design's size at the coming scale, exactly: the rectangle that
            // WM_DPICHANGED suggests then needs no rounding of the system's.
            // Posted by another program, the pointer may be anything.
            if (auto* size = reinterpret_cast<SIZE*>(lp); IsWindowsDpi(wp) && CanWrite(size, sizeof *size)) {
                *size = MainWindowSizeAt(static_cast<int>(wp));
                return TRUE;
            }
            return FALSE;
        case kWmDpiChanged:
            if (form && IsWindowsDpi(HIWORD(wp))) ChangeScale(*form, HIWORD(wp), reinterpret_cast<const RECT*>(lp));
            return 0;
        case WM_WINDOWPOSCHANGING:
            // The one place that decides the window's size, which every route
            // reaches (MoveWindow and SetWindowPos from other programs, the
            // system's loops, a suggested rectangle): the design's size at the
            // window's own scale. A minimised window keeps the icon's.
            if (auto* pos = reinterpret_cast<WINDOWPOS*>(lp); !CanWrite(pos, sizeof *pos)) {
                return 0;
            } else if (form && !(pos->flags & SWP_NOSIZE) && !IsIconic(hwnd)) {
                const SIZE size = MainWindowSizeAt(form->dpi);
                pos->cx = size.cx;
                pos->cy = size.cy;
            }
            break;
        case WM_SIZE:
            // Nothing refuses ShowWindow(SW_MAXIMIZE) from another program
            // before it happens; the fixed window undoes it at once, back to
            // its place, so no state is left that the user must leave.
            if (wp == SIZE_MAXIMIZED) ShowWindow(hwnd, SW_RESTORE);
            break;
        case WM_SYSCOMMAND: {
            // The window has one size and no maximize box, but another program
            // or a window manager may still ask. The low four bits are the
            // system's own: with a border's hit-test (HTLEFT and on) a move
            // is the system's sizing loop.
            const WPARAM command = wp & 0xFFF0;
            if (command == SC_MAXIMIZE || command == SC_SIZE || (command == SC_MOVE && (wp & 0xF) >= HTLEFT)) return 0;
            break;
        }
        case WM_ACTIVATE:
        case WM_SETFOCUS:
            if (form) KeepFocusAcrossActivation(*form, msg, wp);
            break;
        case WM_DESTROY: KillTimer(hwnd, kClockTimerId); return 0;
        case WM_NCDESTROY:
            // One window: when it goes, the program has nothing left to show.
            // A loop of the system's running now (moving, sizing, a menu) may
            // take the quit as its own end, and one started by a sent message
            // returns into GetMessage, which would wait for ever: a thread
            // timer wakes the program's loop, which ends with the window.
            if (g_loopEntered) {
                PostQuitMessage(0);
                SetTimer(nullptr, 0, USER_TIMER_MINIMUM, nullptr);
            }
            break;
    }
    // NOLINTNEXTLINE(clang-analyzer-cplusplus.NewDeleteLeaks): the window keeps its state till WM_NCDESTROY
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool RegisterClasses(HINSTANCE instance) {
    ClassLook look;
    look.icon = LoadIconA(instance, "DEFAULT_ICON");
    look.smallIcon = static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    look.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return RegisterOwnClass(instance, kMainWindowClass, MainWindowProc, look) != 0 &&
           RegisterPageControlClass(instance) && RegisterTransLabelClass(instance) && RegisterPicBoxClass(instance);
}

void OnTabPressed(int tab) {
    if (Form* form = MainForm()) form->Raise(kPageControlSource, Event::TabPressed);
    SelectPage(tab);
}

// Hidden, centred on the screen, exactly the designed size at the window's
// own scale. That is known once the window exists: it is made at the
// system's, and a monitor of another scale (Windows 10 and later) resizes it.
HWND CreateMainWindow(HINSTANCE instance) {
    SIZE size = MainWindowSizeAt(ScreenDpi());
    Point at = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), size.cx, size.cy);
    HWND main = CreateWindowExA(WS_EX_APPWINDOW, kMainWindowClass, kMainWindow.caption,
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, at.x, at.y, size.cx, size.cy,
                                nullptr, nullptr, instance, nullptr);
    if (!main) return nullptr;
    if (Form* form = StateOf<Form>(main)) {
        form->dpi = WindowDpi(main);
        size = MainWindowSizeAt(form->dpi);
        at = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), size.cx, size.cy);
    }
    RECT wr;
    GetWindowRect(main, &wr);
    if (wr.right - wr.left != size.cx || wr.bottom - wr.top != size.cy || wr.left != at.x || wr.top != at.y)
        SetWindowPos(main, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(main, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    return main;
}

// The page control first, then the controls in the reverse of the control
// order. False when a window of the form could not be created.
bool CreateControls(Form& form, HINSTANCE instance) {
    const int dpi = form.dpi;
    form.songTi = CreateFormFont(FontChoice::SongTiPlain, dpi);
    form.gui = CreateGuiFontAt(dpi);
    const PageControlSettings settings{{kPageCaptions, kPageCount}, dpi};
    const Placed at = PlacedAt(kPageControl, dpi);
    form.page = CreateWindowExA(0, KindOf(Kind::PageControl).windowClass, "", WS_CHILD, at.left, at.top, at.width,
                                at.height, form.main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPageControlId)),
                                instance, const_cast<PageControlSettings*>(&settings));
    if (!form.page) return false;
    SetPageControlTabPressed(form.page, OnTabPressed);
    for (int i = kControlCount - 1; i >= 0; --i) {
        form.controls[i] = {CreateControl(form, i, instance), (kControls[i].flags & kVisible) != 0};
        if (!form.controls[i].hwnd && KindOf(kControls[i].kind).windowClass) return false;
    }
    return true;
}

// Into the page control, stacked front to back in control order; the
// controls of the later page stay hidden, their flags kept for the switch.
void PlaceControls(const Form& form) {
    HWND after = HWND_TOP;
    for (const FormControl& control : form.controls) {
        HWND c = control.hwnd;
        if (!c) continue;
        SetParent(c, form.page);
        SetWindowPos(c, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = c;
    }
    for (int i = 0; i < kControlCount; ++i) {
        if (HWND c = form.controls[i].hwnd)
            ShowWindow(c, form.controls[i].visible && kControls[i].page == kRepairPage ? SW_SHOWNA : SW_HIDE);
    }
    ShowWindow(form.page, SW_SHOWNA);
}

void RaiseGotFocus(const Form& form) {
    HWND focus = GetFocus();
    if (!focus) return;
    if (focus == form.main) form.Raise(kMainWindowSource, Event::GotFocus);
    else if (focus == form.page) form.Raise(kPageControlSource, Event::GotFocus);
    else if (int index = form.IndexOf(focus); index >= 0) form.Raise(index, Event::GotFocus);
}

}  // namespace

void SetMessageLoopEntered() { g_loopEntered = true; }

HWND BuildMainWindow(HINSTANCE instance, EventSink events, bool* built) {
    if (built) *built = false;
    if (!RegisterClasses(instance)) return nullptr;
    SuspendEvents();
    HWND main = CreateMainWindow(instance);
    Form* form = StateOf<Form>(main);
    if (!form) {
        ResumeEvents();
        return nullptr;
    }
    SetMainWindow(main);
    form->events = events;
    // A window that lacks a part of its form is a window that could not be
    // created: it goes again, unseen, and the caller reports it.
    if (!CreateControls(*form, instance)) {
        DestroyWindow(main);
        ResumeEvents();
        return nullptr;
    }
    if (built) *built = true;
    PlaceControls(*form);
    NameFormControls(*form, instance);
    ResumeEvents();

    form->Raise(kMainWindowSource, Event::Created);
    // Each handler may close the window: what it leaves is asked anew.
    if ((form = MainForm())) form->Raise(kMainWindowSource, Event::Moved);
    if ((form = MainForm())) form->Raise(kMainWindowSource, Event::Resized);
    if (!(form = MainForm())) return nullptr;
    ShowWindow(main, SW_SHOW);
    RaiseGotFocus(*form);
    return main;
}

}  // namespace tolvane
