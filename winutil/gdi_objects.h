// Small owners of GDI objects, so that no painting path can leak one.
#pragma once
#include <windows.h>

#include <utility>

#include "winutil/handles.h"

namespace tolvane {

// Selects an object into a DC for a scope and reselects the old one first
// thing on exit, so the object is never deleted while still selected.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The client-area DC of a window for a scope, or with OfWindow the DC of the
// whole window, its frame included.
class ScopedDc {
public:
    explicit ScopedDc(HWND hwnd) : ScopedDc(hwnd, GetDC(hwnd)) {}
    static ScopedDc OfWindow(HWND hwnd) { return ScopedDc(hwnd, GetWindowDC(hwnd)); }
    ~ScopedDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    ScopedDc(const ScopedDc&) = delete;
    ScopedDc& operator=(const ScopedDc&) = delete;
    HDC Get() const { return dc_; }

private:
    ScopedDc(HWND hwnd, HDC dc) : hwnd_(hwnd), dc_(dc) {}
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint's DC for a scope, for WM_PAINT only: EndPaint on every way out,
// which shows the caret BeginPaint hid. Area() is the part to be painted.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~ScopedPaint() {
        if (dc_) EndPaint(hwnd_, &ps_);
    }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_;
};

// A GDI object, deleted with its owner.
template <typename H>
struct GdiObjectTraits {
    using Type = H;
    static H Empty() { return nullptr; }
    static bool Valid(H h) { return h != nullptr; }
    static bool Close(H h) { return DeleteObject(h) != FALSE; }
};
template <typename H>
using GdiObject = Owned<GdiObjectTraits<H>>;

// A bitmap kept selected into a memory DC of its own for as long as it is
// held, so copying from it creates nothing. The bitmap is deselected before
// either is deleted.
class BitmapDc {
public:
    BitmapDc() = default;
    ~BitmapDc() { Release(); }
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;

    // Takes ownership of `bitmap`; on failure the bitmap is deleted with the
    // owner it came in. False when there is no bitmap or no DC could be had.
    // These and BackBuffer::Ensure are kept whole, one copy per image: every
    // picture and back buffer comes through them, and a copy in each
    // painting path costs more bytes than the call. (clang knows no noclone.)
    // NOLINTNEXTLINE(clang-diagnostic-unknown-attributes): GCC's, which builds the images
    [[gnu::noinline, gnu::noclone]] bool Adopt(GdiObject<HBITMAP> bitmap, HDC reference = nullptr) {
        Release();
        if (!bitmap) return false;
        BITMAP bm{};
        dc_ = GetObjectA(bitmap.Get(), sizeof bm, &bm) ? CreateCompatibleDC(reference) : nullptr;
        if (!dc_) return false;
        bitmap_ = std::move(bitmap);
        old_ = SelectObject(dc_, bitmap_.Get());
        width_ = bm.bmWidth;
        height_ = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
        return true;
    }
    // NOLINTNEXTLINE(clang-diagnostic-unknown-attributes): GCC's, which builds the images
    [[gnu::noinline, gnu::noclone]] void Release() {
        if (dc_ && old_) SelectObject(dc_, old_);
        bitmap_.Reset();
        if (dc_) DeleteDC(dc_);
        dc_ = nullptr;
        old_ = nullptr;
        width_ = height_ = 0;
    }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    HDC dc_ = nullptr;
    GdiObject<HBITMAP> bitmap_;
    HGDIOBJ old_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace tolvane
