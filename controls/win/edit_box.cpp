#include "controls/win/edit_box.h"

namespace tolvane {

namespace {

// The box's own procedure, kept with the box: a procedure replaced after
// ours (the skin engine's) calls ours, which calls this.
constexpr char kBoxProcedure[] = "TolvaneEditBoxProcedure";

// What changes the text: the keys the box handles itself, and the messages
// that its keys, its context menu and other programs send it.
bool Edits(UINT msg, WPARAM wp) {
    switch (msg) {
        case WM_CHAR:
        case WM_IME_CHAR: return wp != 0x01 && wp != 0x03;  // Ctrl+A selects, Ctrl+C copies
        case WM_KEYDOWN: return wp == VK_DELETE || wp == VK_BACK || (wp == VK_INSERT && GetKeyState(VK_SHIFT) < 0);
        case WM_SYSKEYDOWN: return wp == VK_BACK;  // Alt+Backspace undoes
        case WM_IME_COMPOSITION:                   // the edit control writes a composition into its text
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
        case EM_UNDO:
        case EM_REPLACESEL: return true;
    }
    return false;
}

// What would open over whatever is showing in the box's place: its context
// menu (Shift+F10, the Menu key, another program's request) and an input
// method's composition (the default procedure opens its window).
bool Shows(UINT msg) { return msg == WM_CONTEXTMENU || msg == WM_IME_STARTCOMPOSITION || msg == WM_IME_ENDCOMPOSITION; }

LRESULT CALLBACK EditBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const auto box = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kBoxProcedure));
    if (msg == WM_NCDESTROY) RemovePropA(hwnd, kBoxProcedure);
    if (!box) return DefWindowProcA(hwnd, msg, wp, lp);
    if (!IsWindowVisible(hwnd)) {
        if (Edits(msg, wp) || Shows(msg)) return 0;
        // Focused while hidden, the box asks the input method for no window
        // of its own; it asks again when it is focused while it shows.
        if (msg == WM_IME_SETCONTEXT) lp &= ~static_cast<LPARAM>(ISC_SHOWUIALL);
    }
    return CallWindowProcA(box, hwnd, msg, wp, lp);
}

}  // namespace

void RefuseEditsWhileHidden(HWND edit) {
    const LONG_PTR box = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    if (box && box != reinterpret_cast<LONG_PTR>(EditBoxProc) &&
        SetPropA(edit, kBoxProcedure, reinterpret_cast<HANDLE>(box)))
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditBoxProc));
}

}  // namespace tolvane
