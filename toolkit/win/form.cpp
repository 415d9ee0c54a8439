// The main window and its controls, built from the form table.
#include <windows.h>

#include "resources/resource_ids.h"
#include "toolkit/geometry.h"
#include "controls/win/edit_box.h"
#include "controls/win/fonts.h"
#include "toolkit/win/form.h"
#include "toolkit/win/form_api.h"
#include "toolkit/win/form_names.h"
#include "controls/win/jpeg_image.h"
#include "controls/win/page_control.h"
#include "controls/win/pic_box.h"
#include "toolkit/win/resource_bytes.h"
#include "controls/win/trans_label.h"
#include "controls/win/window_class.h"
#include "winutil/dpi.h"

namespace tolvane {

namespace {

// The window the handlers' services address: the program has one, and a
// handler names only the control it works on.
HWND g_mainWindow = nullptr;
// Set once the message loop runs: a window closed during its own start-up
// must not post a quit that the loop, not yet entered, would meet first.
bool g_loopEntered = false;

HFONT FontFor(const Form& form, const ControlSpec& control) {
    return control.font == FontChoice::SongTiPlain && form.songTi ? form.songTi.Get() : GuiFont();
}

HBITMAP LoadBanner() {
    const ResourceBytes jpeg = RcDataBytes(IDR_BANNER_JPEG);
    int w = 0, h = 0;
    return jpeg.data ? DecodeJpeg(jpeg.data, jpeg.size, &w, &h) : nullptr;
}

// An edit box lower than "吴" in its font plus two 3-D edges grows to that.
int EditHeight(HWND edit, HFONT font, int designHeight) {
    ScopedDc dc(edit);
    ScopedSelect select(dc.Get(), font);
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), "吴", 2, &size);
    return EditBoxHeight(designHeight, size.cy, GetSystemMetrics(SM_CYEDGE));
}

HWND CreateControl(const Form& form, int index, HINSTANCE instance) {
    const ControlSpec& control = kControls[index];
    const DWORD common = WS_CHILD | ((control.flags & kTabStop) ? WS_TABSTOP : 0) |
                         ((control.flags & kDisabled) ? WS_DISABLED : 0);
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(index)));
    const HFONT font = FontFor(form, control);
    // The table's pixels are 96-dpi pixels.
    const int left = Scale(control.left), top = Scale(control.top), width = Scale(control.width),
              height = Scale(control.height);
    const auto create = [&](DWORD exStyle, const char* cls, DWORD style, const char* text, void* param) {
        return CreateWindowExA(exStyle, cls, text, common | style, left, top, width, height, form.main, id,
                               instance, param);
    };
    HWND hwnd = nullptr;
    switch (control.kind) {
    case Kind::Button:
        hwnd = create(0, "BUTTON",
                      ((control.flags & kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_CENTER | BS_VCENTER |
                          BS_MULTILINE,
                      control.caption, nullptr);
        break;
    case Kind::EditBox:
        hwnd = create(WS_EX_CLIENTEDGE, "EDIT", ES_LEFT | ES_AUTOHSCROLL, control.caption, nullptr);
        if (hwnd) {
            RefuseEditsWhileHidden(hwnd);
            SendMessageA(hwnd, EM_SETLIMITTEXT, 0, 0);  // the system's maximum
            SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            const int h = EditHeight(hwnd, font, height);
            if (h != height) SetWindowPos(hwnd, nullptr, 0, 0, width, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            SendMessageA(hwnd, EM_SETSEL, 0, 0);
        }
        break;
    case Kind::TransLabel: {
        TransLabelSettings settings;  // copied by the label
        settings.layout = control.labelLayout;
        hwnd = create(0, kTransLabelClass, 0, control.caption, &settings);
        break;
    }
    case Kind::PicBox:
        hwnd = create(0, kPicBoxClass, 0, "", nullptr);
        if (hwnd) SetPicBoxPicture(hwnd, LoadBanner());
        break;
    case Kind::Timer:
        // Ticks from now until the window is destroyed.
        SetTimer(form.main, kClockTimerId, kTimerIntervalMs, nullptr);
        return nullptr;
    case Kind::CommonDlg:
    case Kind::Window:
    case Kind::PageControl:
        return nullptr;
    }
    if (hwnd) SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Form* form = OwnWindowState<Form>(hwnd, msg);
    switch (msg) {
    case WM_NCCREATE:
        if (!form) return FALSE;
        form->main = hwnd;
        break;
    case WM_TIMER:
        if (form && wp == kClockTimerId) form->Raise(kTimer1, Event::TimerTick);
        return 0;
    case WM_COMMAND:
        if (form && HIWORD(wp) == BN_CLICKED) {
            const int index = form->IndexOf(reinterpret_cast<HWND>(lp));
            if (index >= 0 && kControls[index].kind == Kind::Button) form->Raise(index, Event::Clicked);
        }
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kClockTimerId);
        return 0;
    case WM_NCDESTROY:
        // The form, its font with it, is gone by now.
        if (hwnd == g_mainWindow) g_mainWindow = nullptr;
        // One window: when it goes, the program has nothing left to show.
        if (g_loopEntered) PostQuitMessage(0);
        break;
    }
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

// Hidden, centred on the screen, exactly the designed size at the display scale.
HWND CreateMainWindow(HINSTANCE instance) {
    const int width = Scale(kMainWindow.width), height = Scale(kMainWindow.height);
    const Point at = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height);
    HWND main = CreateWindowExA(WS_EX_APPWINDOW, kMainWindowClass, kMainWindow.caption,
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, at.x, at.y, width,
                                height, nullptr, nullptr, instance, nullptr);
    if (!main) return nullptr;
    RECT wr;
    GetWindowRect(main, &wr);
    if (wr.right - wr.left != width || wr.bottom - wr.top != height || wr.left != at.x || wr.top != at.y)
        SetWindowPos(main, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(main, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    return main;
}

// The page control first, then the controls in the reverse of the control
// order. False when a window of the form could not be created.
bool CreateControls(Form& form, HINSTANCE instance) {
    form.songTi.Reset(CreateFormFont(FontChoice::SongTiPlain));
    const PageCaptions captions{kPageControl.pageCaptions, 2};
    form.page = CreateWindowExA(0, kPageControlClass, "", WS_CHILD, Scale(kPageControl.left),
                                Scale(kPageControl.top), Scale(kPageControl.width), Scale(kPageControl.height), form.main,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPageControlId)), instance,
                                const_cast<PageCaptions*>(&captions));
    if (!form.page) return false;
    SetPageControlTabPressed(form.page, OnTabPressed);
    for (int i = kControlCount - 1; i >= 0; --i) {
        form.controls[i] = {CreateControl(form, i, instance), (kControls[i].flags & kVisible) != 0};
        if (!form.controls[i].hwnd && IsWindowedKind(kControls[i].kind)) return false;
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
            ShowWindow(c, form.controls[i].visible && kControls[i].page == 0 ? SW_SHOWNA : SW_HIDE);
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

int Form::IndexOf(HWND hwnd) const {
    if (!hwnd) return -1;
    for (int i = 0; i < kControlCount; ++i)
        if (controls[i].hwnd == hwnd) return i;
    return -1;
}

void Form::Raise(int source, Event event, const EventArgs& args) const {
    if (events && !EventsSuspended()) events(source, event, args);
}

Form* MainForm() { return StateOf<Form>(g_mainWindow); }

HWND MainWindow() { return g_mainWindow; }
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
    g_mainWindow = main;
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
