#include <cstdio>

#include "tests/e2e/driver/driver.h"
#include "winutil/gdi_objects.h"

namespace e2e {

std::string ToString(const Rgb& c) {
    char buf[32];
    snprintf(buf, sizeof buf, "RGB(%u,%u,%u)", c.r, c.g, c.b);
    return buf;
}

Rgb FromColorRef(COLORREF c) { return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)}; }

bool Capture::Contains(int x, int y) const {
    return x >= left_ && y >= top_ && x < left_ + width_ && y < top_ + height_;
}

Rgb Capture::At(int x, int y) const {
    if (!Contains(x, y)) return Rgb{};
    const uint32_t p = pixels_[static_cast<size_t>(y - top_) * width_ + (x - left_)];
    return Rgb{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

int Capture::Count(const RECT& r, const std::function<bool(Rgb)>& pick) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (Contains(x, y) && pick(At(x, y))) ++n;
    return n;
}

bool Capture::SaveBmp(const std::string& path) const {
    if (pixels_.empty()) return false;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width_;
    info.biHeight = -height_;  // top-down, as captured
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const DWORD bytes = static_cast<DWORD>(pixels_.size() * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bytes;
    std::string out(reinterpret_cast<const char*>(&file), sizeof file);
    out.append(reinterpret_cast<const char*>(&info), sizeof info);
    out.append(reinterpret_cast<const char*>(pixels_.data()), bytes);
    return WriteFileBytes(path, out);
}

Capture CaptureScreen(const RECT& r) {
    Capture cap;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return cap;
    const tolvane::ScopedDc screen(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    tolvane::BitmapDc memory;
    if (memory.Adopt(
            tolvane::GdiObject<HBITMAP>(CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0)),
            screen.Get()) &&
        bits && BitBlt(memory.Dc(), 0, 0, w, h, screen.Get(), r.left, r.top, SRCCOPY)) {
        GdiFlush();
        const uint32_t* p = static_cast<const uint32_t*>(bits);
        cap.pixels_.assign(p, p + static_cast<size_t>(w) * h);
        for (uint32_t& px : cap.pixels_) px &= 0x00FFFFFF;
        cap.left_ = r.left;
        cap.top_ = r.top;
        cap.width_ = w;
        cap.height_ = h;
    }
    return cap;
}

Capture CaptureWindow(HWND hwnd) { return CaptureScreen(WindowRectOf(hwnd)); }

std::string SaveFailureShot(HWND hwnd, const std::string& name) {
    std::string dir = EnvVar("TOLVANE_E2E_SHOTS");
    if (dir.empty()) {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        dir = temp;
    }
    dir = ToWinePath(dir);
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    const std::string path = dir + name + ".bmp";
    const Capture cap = hwnd ? CaptureWindow(hwnd)
                             : CaptureScreen(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return cap.SaveBmp(path) ? path : std::string();
}

}  // namespace e2e
