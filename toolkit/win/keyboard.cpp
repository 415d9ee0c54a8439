// What the main window does with keys before the focused control sees them,
// and the left-button-pressed event that every control raises.
#include "toolkit/win/keyboard.h"

#include "controls/win/page_control.h"
#include "toolkit/control_table.h"
#include "toolkit/win/main_form.h"

namespace tolvane {

namespace {

bool BelongsTo(const Form& form, HWND hwnd) { return hwnd && (hwnd == form.main || IsChild(form.main, hwnd)); }

bool IsEnabledDefaultButton(HWND hwnd) {
    char cls[16];
    if (!hwnd || !IsWindowEnabled(hwnd) || !GetClassNameA(hwnd, cls, sizeof cls) || lstrcmpiA(cls, "BUTTON") != 0)
        return false;
    return (GetWindowLongA(hwnd, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

void PressEnter(const Form& form, HWND focus) {
    int index = IsEnabledDefaultButton(focus) ? form.IndexOf(focus) : -1;
    for (int i = 0; index < 0 && i < kControlCount; ++i)
        if (IsEnabledDefaultButton(form.controls[i].hwnd)) index = i;
    if (index >= 0) form.Raise(index, Event::Clicked);
}

bool CanTab(HWND c) {
    return c && IsWindowVisible(c) && IsWindowEnabled(c) && (GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP);
}

// The tab order is the reverse of the control order.
void MoveFocus(const Form& form, HWND focus, bool backwards) {
    int order[kControlCount];
    int count = 0, at = -1;
    for (int i = kControlCount - 1; i >= 0; --i) {
        if (!CanTab(form.controls[i].hwnd)) continue;
        if (form.controls[i].hwnd == focus) at = count;
        order[count++] = i;
    }
    if (count == 0) return;
    int next;
    if (at < 0) next = backwards ? count - 1 : 0;
    else next = backwards ? (at + count - 1) % count : (at + 1) % count;
    HWND target = form.controls[order[next]].hwnd;
    SetFocus(target);
    if (kControls[order[next]].kind == Kind::EditBox) SendMessageA(target, EM_SETSEL, 0, -1);
}

// Ctrl+Tab and Ctrl+Page Down show the next page, Ctrl+Shift+Tab and
// Ctrl+Page Up the previous one, wrapping, as the system's tab controls and
// property sheets do. Each is a press on that page's tab: the home page is
// not opened, and the focus goes where a press puts it.
void SwitchPage(const Form& form, bool backwards) {
    const int count = PageControlTabCount(form.page);
    if (count < 2) return;
    const int current = PageControlCurrent(form.page);
    PressPageControlTab(form.page, (current + (backwards ? count - 1 : 1)) % count);
}

int KeyState() {
    return (GetKeyState(VK_CONTROL) < 0 ? 1 : 0) + (GetKeyState(VK_SHIFT) < 0 ? 2 : 0) +
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace

bool PreTranslateFormMessage(MSG* msg) {
    const Form* form = MainForm();
    if (!form || !BelongsTo(*form, msg->hwnd)) return false;

    if (msg->message == WM_LBUTTONDOWN) {
        // Raised before the control handles the press, which it then does as usual.
        const int index = form->IndexOf(msg->hwnd);
        if (index >= 0) {
            EventArgs args;
            args.x = LOWORD(msg->lParam);
            args.y = HIWORD(msg->lParam);
            args.keys = KeyState();
            form->Raise(index, Event::LeftButtonDown, args);
        }
        return false;
    }
    if (msg->message != WM_KEYDOWN) return false;

    switch (msg->wParam) {
        case VK_ESCAPE: {
            const LRESULT code = SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
            if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
            SendMessageA(form->main, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        }
        case VK_RETURN: PressEnter(*form, msg->hwnd); return true;
        case VK_TAB:
            if (GetKeyState(VK_MENU) < 0) return false;
            if (GetKeyState(VK_CONTROL) < 0) SwitchPage(*form, GetKeyState(VK_SHIFT) < 0);
            else MoveFocus(*form, msg->hwnd, GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_NEXT:
        case VK_PRIOR:
            if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
            SwitchPage(*form, msg->wParam == VK_PRIOR);
            return true;
        case VK_F1: return true;  // no help to open
    }
    return false;
}

// The default procedure gives the focus to the window itself, where keys
// reach no control, after every message box, the Open dialog, a restore or
// a switch to another program and back. A dialog hands it on instead.
void KeepFocusAcrossActivation(Form& form, UINT msg, WPARAM wp) {
    if (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (!focus || !IsChild(form.main, focus)) return;
        form.lastFocus = focus;
        form.lastFocusShown = IsWindowVisible(focus) != FALSE;
        return;
    }
    HWND to = form.lastFocus;
    // Nothing had the focus yet (the first show), or the window is an icon.
    if (msg != WM_SETFOCUS || !to || !IsChild(form.main, to) || IsIconic(form.main)) return;
    if (IsWindowEnabled(to) && (IsWindowVisible(to) != FALSE) == form.lastFocusShown) SetFocus(to);
    else MoveFocus(form, nullptr, false);
}

}  // namespace tolvane
