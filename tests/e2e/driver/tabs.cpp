#include <algorithm>

#include "tests/e2e/driver/design_form.h"
#include "tests/e2e/driver/driver.h"

namespace e2e {

TabGeometry DesignTabs() {
    LOGFONTA lf = {};
    lf.lfHeight = -12;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lstrcpyA(lf.lfFaceName, "宋体");
    HFONT font = CreateFontIndirectA(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TabGeometry g = {};
    int x = design::kFirstTabLeft;
    for (int i = 0; i < 2; ++i) {
        SIZE caption = {};
        GetTextExtentPoint32A(dc, design::kPageCaptions[i], lstrlenA(design::kPageCaptions[i]), &caption);
        const int width = std::max(50, static_cast<int>(caption.cx) + 11);
        g.tabs[i] = RECT{x, design::kTabTop, x + width, design::kTabBottom};
        x += width;
    }
    g.body = design::kPageBody;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return g;
}

}  // namespace e2e
