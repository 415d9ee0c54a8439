// Small owners of GDI objects, so that no painting path can leak one.
#pragma once
#include <windows.h>

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

template <typename H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    void Reset(H h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }
    H Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

// An off-screen bitmap of a fixed size with its memory DC. The bitmap stays
// selected for the buffer's life and is deselected before deletion.
class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer() { Release(); }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // Recreates the bitmap only when the size changed. Returns false on failure.
    bool Ensure(HDC reference, int width, int height) {
        if (dc_ && width == width_ && height == height_) return true;
        Release();
        if (width <= 0 || height <= 0) return false;
        dc_ = CreateCompatibleDC(reference);
        bitmap_ = CreateCompatibleBitmap(reference, width, height);
        if (!dc_ || !bitmap_) {
            Release();
            return false;
        }
        old_ = SelectObject(dc_, bitmap_);
        width_ = width;
        height_ = height;
        return true;
    }
    void Release() {
        if (dc_ && old_) SelectObject(dc_, old_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
        dc_ = nullptr;
        bitmap_ = nullptr;
        old_ = nullptr;
        width_ = height_ = 0;
    }
    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    int width_ = 0, height_ = 0;
};

inline COLORREF ToColorRef(unsigned char r, unsigned char g, unsigned char b) { return RGB(r, g, b); }

}  // namespace tolvane
