// The main window and its controls, built from the form table.
#include <windows.h>

#include <string>

#include "resources/resource_ids.h"
#include "toolkit/geometry.h"
#include "toolkit/win/common_dialog.h"
#include "toolkit/win/events.h"
#include "toolkit/win/fonts.h"
#include "toolkit/win/form.h"
#include "toolkit/win/form_api.h"
#include "toolkit/win/jpeg_image.h"
#include "toolkit/win/page_control.h"
#include "toolkit/win/pic_box.h"
#include "toolkit/win/resource_bytes.h"
#include "toolkit/win/text_buffer.h"
#include "toolkit/win/trans_label.h"
#include "toolkit/win/window_class.h"
#include "winutil/gdi_objects.h"

namespace tolvane {

namespace {

struct Form {
    HWND main = nullptr;
    HWND page = nullptr;
    HWND controls[kControlCount] = {};
    bool visibleFlags[kControlCount] = {};
    HFONT songTi = nullptr;  // 按钮2's own font
    TransLabelSettings labelSettings[kControlCount] = {};
    CommonDialog dialog;
    bool loopEntered = false;
    bool created = false;
} g_form;

HFONT FontFor(const ControlSpec& control) {
    return control.font == FontChoice::SongTiPlain && g_form.songTi ? g_form.songTi : GuiFont();
}

HBITMAP LoadBanner() {
    const ResourceBytes jpeg = RcDataBytes(IDR_BANNER_JPEG);
    int w = 0, h = 0;
    return jpeg.data ? DecodeJpeg(jpeg.data, jpeg.size, &w, &h) : nullptr;
}

// An edit box lower than "吴" in its font plus two 3-D edges grows to that.
int EditHeight(HWND edit, const ControlSpec& control) {
    ScopedDc dc(edit);
    ScopedSelect font(dc.Get(), FontFor(control));
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), "吴", 2, &size);
    return EditBoxHeight(control.height, size.cy, GetSystemMetrics(SM_CYEDGE));
}

HWND CreateControl(int index, HINSTANCE instance) {
    const ControlSpec& control = kControls[index];
    const DWORD common = WS_CHILD | ((control.flags & kTabStop) ? WS_TABSTOP : 0) |
                         ((control.flags & kDisabled) ? WS_DISABLED : 0);
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index)));
    HWND parent = g_form.main;
    HWND hwnd = nullptr;
    switch (control.kind) {
    case Kind::Button:
        hwnd = CreateWindowExA(0, "BUTTON", control.caption,
                               common | ((control.flags & kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                                   BS_CENTER | BS_VCENTER | BS_MULTILINE,
                               control.left, control.top, control.width, control.height, parent, id, instance, nullptr);
        break;
    case Kind::EditBox:
        hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", control.caption, common | ES_LEFT | ES_AUTOHSCROLL,
                               control.left, control.top, control.width, control.height, parent, id, instance, nullptr);
        if (hwnd) {
            SendMessageA(hwnd, EM_SETLIMITTEXT, 0, 0);  // the system's maximum
            SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control)), FALSE);
            const int h = EditHeight(hwnd, control);
            if (h != control.height) SetWindowPos(hwnd, nullptr, 0, 0, control.width, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            SendMessageA(hwnd, EM_SETSEL, 0, 0);
        }
        break;
    case Kind::TransLabel: {
        TransLabelSettings& ls = g_form.labelSettings[index];
        ls = {control.labelLayout, nullptr, RGB(0, 0, 0)};
        hwnd = CreateWindowExA(0, kTransLabelClass, control.caption, common, control.left, control.top, control.width,
                               control.height, parent, id, instance, &ls);
        break;
    }
    case Kind::PicBox:
        hwnd = CreateWindowExA(0, kPicBoxClass, "", common, control.left, control.top, control.width, control.height, parent,
                               id, instance, nullptr);
        if (hwnd) SetPicBoxPicture(hwnd, LoadBanner());
        break;
    case Kind::Timer:
        // Ticks from now until the window is destroyed.
        SetTimer(g_form.main, kClockTimerId, kTimerIntervalMs, nullptr);
        return nullptr;
    case Kind::CommonDlg:
    case Kind::Window:
    case Kind::PageControl:
        return nullptr;
    }
    if (hwnd) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control)), FALSE);
    return hwnd;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER:
        if (wp == kClockTimerId) RaiseEvent(kTimer1, Event::TimerTick);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
            const int index = ControlIndexOf(reinterpret_cast<HWND>(lp));
            if (index >= 0 && kControls[index].kind == Kind::Button) RaiseEvent(index, Event::Clicked);
        }
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kClockTimerId);
        return 0;
    case WM_NCDESTROY: {
        if (g_form.songTi) DeleteObject(g_form.songTi);
        const bool endLoop = g_form.loopEntered;
        g_form.main = g_form.page = nullptr;
        for (HWND& c : g_form.controls) c = nullptr;
        g_form.songTi = nullptr;
        // One window: when it goes, the program has nothing left to show.
        if (endLoop) PostQuitMessage(0);
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    ClassLook look;
    look.icon = LoadIconA(instance, "DEFAULT_ICON");
    look.smallIcon = static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    look.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    return RegisterOwnClass(instance, kMainWindowClass, MainWindowProc, look) != 0;
}

void OnTabPressed(int tab) {
    RaiseEvent(kPageControlSource, Event::TabPressed);
    SelectPage(tab);
}

int WindowWidth(HWND hwnd) {
    RECT r{};
    if (hwnd) GetWindowRect(hwnd, &r);
    return r.right - r.left;
}

void RaiseGotFocus() {
    HWND focus = GetFocus();
    if (!focus) return;
    if (focus == g_form.main) RaiseEvent(kMainWindowSource, Event::GotFocus);
    else if (focus == g_form.page) RaiseEvent(kPageControlSource, Event::GotFocus);
    else if (int index = ControlIndexOf(focus); index >= 0) RaiseEvent(index, Event::GotFocus);
}

}  // namespace

HWND MainWindow() { return g_form.main; }
HWND PageControlWindow() { return g_form.page; }
HWND ControlWindow(int index) { return index >= 0 && index < kControlCount ? g_form.controls[index] : nullptr; }

int ControlIndexOf(HWND hwnd) {
    if (!hwnd) return -1;
    for (int i = 0; i < kControlCount; ++i)
        if (g_form.controls[i] == hwnd) return i;
    return -1;
}

void SetMessageLoopEntered() { g_form.loopEntered = true; }
bool MainWindowWasCreated() { return g_form.created; }

HWND BuildMainWindow(HINSTANCE instance) {
    if (!RegisterMainWindowClass(instance) || !RegisterPageControlClass(instance) ||
        !RegisterTransLabelClass(instance) || !RegisterPicBoxClass(instance))
        return nullptr;

    g_form.created = false;
    SuspendEvents();
    const Point at = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), kMainWindow.width,
                                   kMainWindow.height);
    g_form.main = CreateWindowExA(WS_EX_APPWINDOW, kMainWindowClass, kMainWindow.caption,
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, at.x, at.y,
                                  kMainWindow.width, kMainWindow.height, nullptr, nullptr, instance, nullptr);
    if (!g_form.main) {
        ResumeEvents();
        return nullptr;
    }
    RECT wr;
    GetWindowRect(g_form.main, &wr);
    if (wr.right - wr.left != kMainWindow.width || wr.bottom - wr.top != kMainWindow.height || wr.left != at.x ||
        wr.top != at.y)
        SetWindowPos(g_form.main, nullptr, at.x, at.y, kMainWindow.width, kMainWindow.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(g_form.main, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    g_form.songTi = CreateFormFont(FontChoice::SongTiPlain);

    // The page control first, then the controls in the reverse of the control order.
    g_form.page = CreateWindowExA(0, kPageControlClass, "", WS_CHILD, kPageControl.left, kPageControl.top,
                                  kPageControl.width, kPageControl.height, g_form.main,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPageControlId)), instance, nullptr);
    bool complete = g_form.page != nullptr;
    if (complete) SetPageControlTabPressed(g_form.page, OnTabPressed);
    for (int i = kControlCount - 1; complete && i >= 0; --i) {
        g_form.controls[i] = CreateControl(i, instance);
        g_form.visibleFlags[i] = (kControls[i].flags & kVisible) != 0;
        if (!g_form.controls[i] && IsWindowedKind(kControls[i].kind)) complete = false;
    }
    // A window that lacks a part of its form is a window that could not be
    // created: it goes again, unseen, and the caller reports it.
    if (!complete) {
        DestroyWindow(g_form.main);
        ResumeEvents();
        return nullptr;
    }
    g_form.created = true;
    // Into the page control, stacked front to back in control order.
    HWND after = HWND_TOP;
    for (int i = 0; i < kControlCount; ++i) {
        HWND c = g_form.controls[i];
        if (!c) continue;
        SetParent(c, g_form.page);
        SetWindowPos(c, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = c;
    }
    // Controls of the later page stay hidden, their flags kept for the page switch.
    for (int i = 0; i < kControlCount; ++i) {
        if (HWND c = g_form.controls[i])
            ShowWindow(c, g_form.visibleFlags[i] && kControls[i].page == 0 ? SW_SHOWNA : SW_HIDE);
    }
    ShowWindow(g_form.page, SW_SHOWNA);
    ResumeEvents();

    RaiseEvent(kMainWindowSource, Event::Created);
    if (IsWindow(g_form.main)) RaiseEvent(kMainWindowSource, Event::Moved);
    if (IsWindow(g_form.main)) RaiseEvent(kMainWindowSource, Event::Resized);
    if (!IsWindow(g_form.main)) return nullptr;
    ShowWindow(g_form.main, SW_SHOW);
    RaiseGotFocus();
    return g_form.main;
}

std::string GetControlText(int index) { return WindowText(ControlWindow(index)); }

void SetControlText(int index, const std::string& text) {
    if (HWND c = ControlWindow(index)) SetWindowTextA(c, text.c_str());
}

void SetLabelCaption(int index, const std::string& text) {
    if (HWND c = ControlWindow(index)) SetTransLabelCaption(c, text.c_str());
}

bool VisibleFlag(int index) { return index >= 0 && index < kControlCount && g_form.visibleFlags[index]; }

void SetVisibleFlag(int index, bool visible) {
    if (index < 0 || index >= kControlCount) return;
    g_form.visibleFlags[index] = visible;
    HWND c = g_form.controls[index];
    if (!c) return;
    // A control of the page that is not current shows when its page does.
    if (!visible) ShowWindow(c, SW_HIDE);
    else if (kControls[index].page == CurrentPage()) ShowWindow(c, SW_SHOW);
}

void FocusControl(int index) {
    if (HWND c = ControlWindow(index)) SetFocus(c);
}

int GetControlWidth(int index) { return WindowWidth(ControlWindow(index)); }

int PageControlWidth() { return WindowWidth(g_form.page); }

void SetControlWidth(int index, long long width) {
    HWND c = ControlWindow(index);
    if (!c) return;
    RECT r;
    GetWindowRect(c, &r);
    SetWindowPos(c, nullptr, 0, 0, ClampControlWidth(width), r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CurrentPage() { return g_form.page ? PageControlCurrent(g_form.page) : 0; }

void SelectPage(int index) {
    if (!g_form.page || index < 0 || index > 1) return;
    if (index == CurrentPage()) {
        RedrawWindow(g_form.page, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
        return;
    }
    RaiseEvent(kPageControlSource, Event::PageChanging);
    PageControlSetCurrent(g_form.page, index);
    for (int i = 0; i < kControlCount; ++i) {
        HWND c = g_form.controls[i];
        if (c && kControls[i].page != index && IsWindowVisible(c)) ShowWindow(c, SW_HIDE);
    }
    for (int i = 0; i < kControlCount; ++i) {
        HWND c = g_form.controls[i];
        if (c && kControls[i].page == index && g_form.visibleFlags[i]) ShowWindow(c, SW_SHOWNA);
    }
    for (int i = 0; i < kControlCount; ++i) {
        HWND c = g_form.controls[i];
        if (c && kControls[i].page == index && CanTakeFocus(kControls[i].kind) && IsWindowEnabled(c)) {
            SetFocus(c);
            break;
        }
    }
    RaiseEvent(kPageControlSource, Event::PageChanged);
}

void SetDialogFilter(const std::string& filter) { g_form.dialog.filter = filter; }
std::string DialogFileName() { return g_form.dialog.fileName; }
bool OpenDialog() { return g_form.dialog.Open(g_form.main); }

}  // namespace tolvane
