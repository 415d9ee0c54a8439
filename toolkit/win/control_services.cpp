// The control services the handlers use, on the main window's form.
#include "toolkit/win/control_services.h"

#include "controls/win/page_control.h"
#include "controls/win/trans_label.h"
#include "toolkit/geometry.h"
#include "toolkit/win/control_kinds.h"
#include "toolkit/win/main_form.h"
#include "toolkit/win/text_buffer.h"

namespace tolvane {

namespace {

int WindowWidth(HWND hwnd) {
    RECT r{};
    if (hwnd) GetWindowRect(hwnd, &r);
    return r.right - r.left;
}

}  // namespace

HWND MainWindow() {
    const Form* form = MainForm();
    return form ? form->main : nullptr;
}
HWND PageControlWindow() {
    const Form* form = MainForm();
    return form ? form->page : nullptr;
}
HWND ControlWindow(int index) {
    const Form* form = MainForm();
    return form && index >= 0 && index < kControlCount ? form->controls[index].hwnd : nullptr;
}

std::string GetControlText(int index) { return WindowText(ControlWindow(index)); }

void SetControlText(int index, const std::string& text) {
    if (HWND c = ControlWindow(index)) SetWindowTextA(c, text.c_str());
}

void SetLabelCaption(int index, const std::string& text) {
    if (HWND c = ControlWindow(index)) SetTransLabelCaption(c, text.c_str());
}

bool VisibleFlag(int index) {
    const Form* form = MainForm();
    return form && index >= 0 && index < kControlCount && form->controls[index].visible;
}

void SetVisibleFlag(int index, bool visible) {
    Form* form = MainForm();
    if (!form || index < 0 || index >= kControlCount) return;
    form->controls[index].visible = visible;
    HWND c = form->controls[index].hwnd;
    if (!c) return;
    // A control of the page that is not current shows when its page does.
    if (!visible) ShowWindow(c, SW_HIDE);
    else if (kControls[index].page == CurrentPage()) ShowWindow(c, SW_SHOW);
}

void FocusControl(int index) {
    if (HWND c = ControlWindow(index)) SetFocus(c);
}

int GetControlWidth(int index) { return WindowWidth(ControlWindow(index)); }

int PageControlWidth() { return WindowWidth(PageControlWindow()); }

int MainWindowDpi() {
    const Form* form = MainForm();
    return form ? form->dpi : kDesignDpi;
}

void SetControlWidth(int index, long long width) {
    HWND c = ControlWindow(index);
    if (!c) return;
    RECT r;
    GetWindowRect(c, &r);
    SetWindowPos(c, nullptr, 0, 0, ClampControlWidth(width), r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CurrentPage() {
    HWND page = PageControlWindow();
    return page ? PageControlCurrent(page) : 0;
}

void SelectPage(int index) {
    const Form* form = MainForm();
    if (!form || !form->page || index < 0 || index >= kPageCount) return;
    if (index == CurrentPage()) {
        RedrawWindow(form->page, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN | RDW_UPDATENOW);
        return;
    }
    form->Raise(kPageControlSource, Event::PageChanging);
    if (!(form = MainForm())) return;  // closed by the handler
    PageControlSetCurrent(form->page, index);
    for (int i = 0; i < kControlCount; ++i) {
        HWND c = form->controls[i].hwnd;
        if (c && kControls[i].page != index && IsWindowVisible(c)) ShowWindow(c, SW_HIDE);
    }
    for (int i = 0; i < kControlCount; ++i) {
        HWND c = form->controls[i].hwnd;
        if (c && kControls[i].page == index && form->controls[i].visible) ShowWindow(c, SW_SHOWNA);
    }
    for (int i = 0; i < kControlCount; ++i) {
        HWND c = form->controls[i].hwnd;
        if (c && kControls[i].page == index && KindOf(kControls[i].kind).takesFocus && IsWindowEnabled(c)) {
            SetFocus(c);
            break;
        }
    }
    form->Raise(kPageControlSource, Event::PageChanged);
}

void SetDialogFilter(const std::string& filter) {
    if (Form* form = MainForm()) form->dialog.filter = filter;
}
std::string DialogFileName() {
    const Form* form = MainForm();
    return form ? form->dialog.fileName : std::string();
}
bool OpenDialog() {
    Form* form = MainForm();
    return form && form->dialog.Open(form->main);
}

}  // namespace tolvane
