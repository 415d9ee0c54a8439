// What the window classes of our own share, the main window's and the
// controls': registration, the ownership check, painting, and the state each
// window keeps for itself.
#pragma once
#include <windows.h>

#include <new>

#include "winutil/gdi_objects.h"

namespace tolvane {

// What a class sets besides its procedure; by default none of it: no
// background brush, the window paints all of itself.
struct ClassLook {
    UINT style = 0;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HBRUSH background = nullptr;
};

// Registers a class with the arrow pointer. Returns its atom, or 0 if the
// registration failed; registering it again (a second window in tests)
// returns the atom it already has.
[[nodiscard]] inline ATOM RegisterOwnClass(HINSTANCE instance, const char* name, WNDPROC proc,
                                           const ClassLook& look = {}) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = look.style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = look.icon;
    wc.hIconSm = look.smallIcon;
    wc.hbrBackground = look.background;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    if (ATOM atom = RegisterClassExA(&wc)) return atom;
    if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return 0;
    return static_cast<ATOM>(GetClassInfoExA(instance, name, &wc));
}

// A window of this process whose class is the one registered as `atom`.
// Checked before reading a window's state by its handle: a handle may have
// been reused since, by a window of any class or process.
inline bool IsOwnWindow(HWND hwnd, ATOM atom) {
    DWORD process = 0;
    return atom && IsWindow(hwnd) && GetClassWord(hwnd, GCW_ATOM) == atom && GetWindowThreadProcessId(hwnd, &process) &&
           process == GetCurrentProcessId();
}

// WM_PAINT and WM_PRINTCLIENT for a window that draws itself with one
// function. True when `msg` was one of them.
inline bool HandlePaint(HWND hwnd, UINT msg, WPARAM wp, void (*paint)(HWND, HDC)) {
    if (msg == WM_PRINTCLIENT) {
        paint(hwnd, reinterpret_cast<HDC>(wp));
        return true;
    }
    if (msg != WM_PAINT) return false;
    const ScopedPaint dc(hwnd);
    paint(hwnd, dc.Get());
    return true;
}

// The state a window of our own keeps for itself: made on WM_NCCREATE, kept
// in GWLP_USERDATA, deleted on WM_NCDESTROY. Called first in the window
// procedure with each message. Returns the window's state, or null before
// WM_NCCREATE and from WM_NCDESTROY on. In the program a state that cannot
// be allocated ends the process: its allocator ends it on every failed
// allocation, the nothrow form's too, with the fatal error box. Under an
// allocator whose nothrow form returns null, as the engine's does, the state
// is null on WM_NCCREATE instead; the procedure then fails WM_NCCREATE, and
// the window is not created.
template <class State>
State* OwnWindowState(HWND hwnd, UINT msg) {
    auto* s = reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE && !s) {
        s = new (std::nothrow) State;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    } else if (msg == WM_NCDESTROY && s) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        delete s;
        s = nullptr;
    }
    return s;
}

// The state of a window of ours outside its own procedure.
template <class State>
State* StateOf(HWND hwnd) {
    return hwnd ? reinterpret_cast<State*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)) : nullptr;
}

}  // namespace tolvane
