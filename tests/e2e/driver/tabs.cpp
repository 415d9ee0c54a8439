// The form as a start at a display scale lays it out, worked out from the
// design's 96-dpi numbers: what the tests of every scale compare with.
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

SIZE DesignTextSize(int index, int dpi, const std::string& text) {
    LOGFONTA lf = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfHeight = MulDiv(lf.lfHeight, dpi, 96);
    HFONT font = index == design::kButton2 ? SongTiFont(dpi, DEFAULT_CHARSET) : CreateFontIndirectA(&lf);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return size;
}

int DesignEditHeight(int designed, int dpi) {
    return std::max<int>(designed, DesignTextSize(design::kEdit1, dpi, "吴").cy + 2 * GetSystemMetrics(SM_CYEDGE));
}

void AddScaledPlaces(Facts& f, HWND main, HWND page, int dpi) {
    using namespace design;
    auto px = [dpi](int n) { return MulDiv(n, dpi, 96); };
    auto place = [&](const std::string& what, const RECT& r, POINT at, const long (&want)[4]) {
        const long seen[] = {r.left - at.x, r.top - at.y, r.right - r.left, r.bottom - r.top};
        std::string got, wanted;
        for (int i = 0; i < 4; ++i) {
            got += std::to_string(seen[i]) + " ";
            wanted += std::to_string(want[i]) + " ";
        }
        f.Add(what, got, wanted);
    };
    const RECT wr = WindowRectOf(main);
    const POINT client = ClientOrigin(main), onPage = ClientOrigin(page);
    place("window", wr, {wr.left, wr.top}, {0, 0, px(kMainWidth), px(kMainHeight)});
    place("page", WindowRectOf(page), client, {px(8), px(8), px(360), px(208)});
    for (int i = 0; i < kCount; ++i) {
        const Control& c = kControls[i];
        if (!c.windowClass) continue;
        const bool edit = lstrcmpiA(c.windowClass, "Edit") == 0;
        // The banner: the page control's width less FitBanner's five, each at the scale.
        const int width = i == kPicture1 ? px(kBannerWidthAfterStart + 5) - px(5) : px(c.width);
        place(c.name, WindowRectOf(FindDescendant(main, Id(i))), onPage,
              {px(c.left), px(c.top), width, edit ? DesignEditHeight(px(c.height), dpi) : px(c.height)});
    }
    // The skin's close button grows with the caption band, and its hit test with it.
    POINT close;
    if (!FindHitPoint(main, HTCLOSE, &close)) return f.Add("close button", "none", "found");
    long width = 0, band = (client.y - wr.top) - (client.x - wr.left);
    for (int x = close.x - px(40); x < close.x + px(40); ++x) width += HitTest(main, {x, close.y}) == HTCLOSE;
    place("close button", {0, 0, width, 0}, {0, 0}, {0, 0, std::min<long>(px(18), band - px(2)), 0});
}

}  // namespace e2e
