// What the main window does with keys before the focused control sees them,
// and the left-button-pressed event that every control raises.
#include <windows.h>

#include "toolkit/form_table.h"
#include "toolkit/win/events.h"
#include "toolkit/win/form.h"
#include "toolkit/win/form_api.h"

namespace tolvane {

namespace {

bool BelongsToMainWindow(HWND hwnd) {
    HWND main = MainWindow();
    return main && hwnd && (hwnd == main || IsChild(main, hwnd));
}

bool IsEnabledDefaultButton(HWND hwnd) {
    char cls[16];
    if (!hwnd || !IsWindowEnabled(hwnd) || !GetClassNameA(hwnd, cls, sizeof cls) || lstrcmpiA(cls, "BUTTON") != 0)
        return false;
    return (GetWindowLongA(hwnd, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

void PressEnter(HWND focus) {
    int index = IsEnabledDefaultButton(focus) ? ControlIndexOf(focus) : -1;
    for (int i = 0; index < 0 && i < kControlCount; ++i)
        if (IsEnabledDefaultButton(ControlWindow(i))) index = i;
    if (index >= 0) RaiseEvent(index, Event::Clicked);
}

bool CanTab(int index) {
    HWND c = ControlWindow(index);
    return c && IsWindowVisible(c) && IsWindowEnabled(c) && (GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP);
}

// The tab order is the reverse of the control order.
void MoveFocus(HWND focus, bool backwards) {
    int order[kControlCount];
    int count = 0, at = -1;
    for (int i = kControlCount - 1; i >= 0; --i) {
        if (!CanTab(i)) continue;
        if (ControlWindow(i) == focus) at = count;
        order[count++] = i;
    }
    if (count == 0) return;
    int next;
    if (at < 0) next = backwards ? count - 1 : 0;
    else next = backwards ? (at + count - 1) % count : (at + 1) % count;
    HWND target = ControlWindow(order[next]);
    SetFocus(target);
    if (kControls[order[next]].kind == Kind::EditBox) SendMessageA(target, EM_SETSEL, 0, -1);
}

int KeyState() {
    return (GetKeyState(VK_CONTROL) < 0 ? 1 : 0) + (GetKeyState(VK_SHIFT) < 0 ? 2 : 0) +
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace

bool PreTranslateFormMessage(MSG* msg) {
    if (!BelongsToMainWindow(msg->hwnd)) return false;

    if (msg->message == WM_LBUTTONDOWN) {
        // Raised before the control handles the press, which it then does as usual.
        const int index = ControlIndexOf(msg->hwnd);
        if (index >= 0) {
            EventArgs args;
            args.x = LOWORD(msg->lParam);
            args.y = HIWORD(msg->lParam);
            args.keys = KeyState();
            RaiseEvent(index, Event::LeftButtonDown, args);
        }
        return false;
    }
    if (msg->message != WM_KEYDOWN) return false;

    switch (msg->wParam) {
    case VK_ESCAPE: {
        const LRESULT code = SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
        if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
        SendMessageA(MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    case VK_RETURN:
        PressEnter(msg->hwnd);
        return true;
    case VK_TAB:
        if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
        MoveFocus(msg->hwnd, GetKeyState(VK_SHIFT) < 0);
        return true;
    case VK_F1:
        return true;  // no help to open
    }
    return false;
}

}  // namespace tolvane
