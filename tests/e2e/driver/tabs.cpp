#include <algorithm>

#include "tests/e2e/driver/design_form.h"
#include "tests/e2e/driver/driver.h"

namespace e2e {

TabGeometry DesignTabs(int dpi) {
    auto px = [dpi](int n) { return MulDiv(n, dpi, 96); };
    HFONT font = SongTiFont(dpi, GB2312_CHARSET);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TabGeometry g = {};
    int x = px(design::kFirstTabLeft);
    for (int i = 0; i < 2; ++i) {
        SIZE caption = {};
        GetTextExtentPoint32A(dc, design::kPageCaptions[i], lstrlenA(design::kPageCaptions[i]), &caption);
        const int width = std::max(px(50), static_cast<int>(caption.cx) + px(11));
        g.tabs[i] = RECT{x, px(design::kTabTop), x + width, px(design::kTabBottom)};
        x += width;
    }
    const RECT& b = design::kPageBody;
    g.body = RECT{px(b.left), px(b.top), px(b.right), px(b.bottom)};
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return g;
}

HFONT SongTiFont(int dpi, BYTE charset) {
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(12, dpi, 96);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = charset;
    lstrcpyA(lf.lfFaceName, "宋体");
    return CreateFontIndirectA(&lf);
}

}  // namespace e2e
