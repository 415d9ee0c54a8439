#include "app/win/pic_box.h"

#include <new>

#include "app/form_table.h"


namespace tolvane {

namespace {

// The picture stays selected into its own memory DC for the box's life, so a
// repaint is one copy and creates nothing.
struct PicBoxState {
    HDC dc = nullptr;
    HBITMAP picture = nullptr;
    HGDIOBJ old = nullptr;
    int width = 0, height = 0;

    void Release() {
        if (dc && old) SelectObject(dc, old);
        if (picture) DeleteObject(picture);
        if (dc) DeleteDC(dc);
        dc = nullptr;
        picture = nullptr;
        old = nullptr;
        width = height = 0;
    }
    ~PicBoxState() { Release(); }
};

PicBoxState* State(HWND hwnd) { return reinterpret_cast<PicBoxState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

void Paint(HWND hwnd, HDC dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    PicBoxState* s = State(hwnd);
    int pw = 0, ph = 0;
    if (s && s->dc) {
        pw = s->width;
        ph = s->height;
        BitBlt(dc, 0, 0, pw, ph, s->dc, 0, 0, SRCCOPY);
    }
    // Whatever the picture leaves uncovered shows the background.
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    RECT right{pw, 0, rc.right, rc.bottom};
    RECT below{0, ph, pw < rc.right ? pw : rc.right, rc.bottom};
    if (right.left < right.right) FillRect(dc, &right, face);
    if (below.top < below.bottom) FillRect(dc, &below, face);
}

LRESULT CALLBACK PicBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCCREATE: {
        auto* s = new (std::nothrow) PicBoxState;
        if (!s) return FALSE;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
        break;
    }
    case WM_NCDESTROY:
        delete State(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        Paint(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(hwnd, reinterpret_cast<HDC>(wp));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

bool RegisterPicBoxClass(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PicBoxProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kPicBoxClass;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void SetPicBoxPicture(HWND box, HBITMAP picture) {
    PicBoxState* s = State(box);
    if (!s) {
        if (picture) DeleteObject(picture);
        return;
    }
    s->Release();
    BITMAP bm{};
    if (picture && GetObjectA(picture, sizeof bm, &bm) && (s->dc = CreateCompatibleDC(nullptr))) {
        s->picture = picture;
        s->old = SelectObject(s->dc, picture);
        s->width = bm.bmWidth;
        s->height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    } else if (picture) {
        DeleteObject(picture);
    }
    InvalidateRect(box, nullptr, FALSE);
}

}  // namespace tolvane
