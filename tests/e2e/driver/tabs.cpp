#include <algorithm>

#include "tests/e2e/driver/driver.h"

namespace e2e {

TabGeometry ExpectedTabs(const char* const captions[2], int controlWidth, int controlHeight) {
    LOGFONTA lf = {};
    lf.lfHeight = -12;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lstrcpyA(lf.lfFaceName, "\xCB\xCE\xCC\xE5");  // 宋体 in code page 936
    HFONT font = CreateFontIndirectA(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TabGeometry g = {};
    int x = 1;
    const int rowHeight = 20;
    for (int i = 0; i < 2; ++i) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, captions[i], lstrlenA(captions[i]), &size);
        const int width = std::min(std::max(50, static_cast<int>(size.cx) + 11), controlWidth - 3);
        g.tabs[i] = RECT{x, 2, x + width, 2 + rowHeight};
        x += width;
    }
    g.body = RECT{0, 2 + rowHeight, controlWidth, controlHeight};
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return g;
}

}  // namespace e2e
