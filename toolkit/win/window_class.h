// What the window classes of our own share.
#pragma once
#include <windows.h>

namespace tolvane {

// What a class sets besides its procedure; by default none of it: no
// background brush, the window paints all of itself.
struct ClassLook {
    UINT style = 0;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HBRUSH background = nullptr;
};

// Registers a class with the arrow pointer and answers its atom (0 on
// failure); registering it again (a second window in tests) answers the atom
// it already has.
inline ATOM RegisterOwnClass(HINSTANCE instance, const char* name, WNDPROC proc, const ClassLook& look = {}) {
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

// WM_PAINT and WM_PRINTCLIENT for a window that draws itself with one
// function. True when `msg` was one of them.
inline bool HandlePaint(HWND hwnd, UINT msg, WPARAM wp, void (*paint)(HWND, HDC)) {
    if (msg == WM_PRINTCLIENT) {
        paint(hwnd, reinterpret_cast<HDC>(wp));
        return true;
    }
    if (msg != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    paint(hwnd, dc);
    EndPaint(hwnd, &ps);
    return true;
}

}  // namespace tolvane
