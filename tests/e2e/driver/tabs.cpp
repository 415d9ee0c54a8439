// The form as a start at a display scale lays it out, worked out from the
// design's 96-dpi numbers: what the tests of every scale compare with.
#include <algorithm>
#include <cstdlib>

#include "tests/e2e/driver/design_form.h"
#include "tests/e2e/driver/driver.h"
#include "winutil/gdi_objects.h"

namespace e2e {

namespace {

// One line of `text` in `font`, which goes with the call.
SIZE TextSize(HFONT font, const std::string& text) {
    const tolvane::GdiObject<HFONT> owned(font);
    const tolvane::ScopedDc dc(nullptr);
    const tolvane::ScopedSelect select(dc.Get(), font);
    SIZE size = {};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

}  // namespace

TabGeometry DesignTabs(int dpi) {
    auto px = [dpi](int n) { return MulDiv(n, dpi, 96); };
    TabGeometry g = {};
    int x = px(design::kFirstTabLeft);
    for (int i = 0; i < design::kPageCount; ++i) {
        const SIZE caption = TextSize(SongTiFont(dpi, GB2312_CHARSET), design::kPageCaptions[i]);
        const int width = std::max(px(50), static_cast<int>(caption.cx) + px(11));
        g.tabs[i] = RECT{x, px(design::kTabTop), x + width, px(design::kTabBottom)};
        x += width;
    }
    const RECT& b = design::kPageBody;
    g.body = RECT{px(b.left), px(b.top), px(b.right), px(b.bottom)};
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
    return TextSize(index == design::kBrowseButton ? SongTiFont(dpi, DEFAULT_CHARSET) : CreateFontIndirectA(&lf), text);
}

int DesignEditHeight(int designed, int dpi) {
    return std::max<int>(designed,
                         DesignTextSize(design::kInstallFolderBox, dpi, "吴").cy + 2 * GetSystemMetrics(SM_CYEDGE));
}

void AddScaledLayout(Facts& f, HWND main, HWND page, int dpi) {
    using namespace design;
    auto px = [dpi](int n) { return MulDiv(n, dpi, 96); };
    // Left, top, width and height of the design at the scale.
    auto place = [&](const std::string& what, const RECT& r, POINT at, const long(&want)[4]) {
        f.Add(what, Box(r, at), Box({want[0], want[1], want[0] + want[2], want[1] + want[3]}));
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
        const int width = i == kBanner ? px(kBannerWidthAfterStart + 5) - px(5) : px(c.width);
        place(c.name, WindowRectOf(FindDescendant(main, Id(i))), onPage,
              {px(c.left), px(c.top), width, edit ? DesignEditHeight(px(c.height), dpi) : px(c.height)});
    }
    // The skin's close button grows with the caption band, and its hit test with it.
    POINT close;
    if (!FindHitPoint(main, HTCLOSE, &close)) return f.Add("close button", "none", "found");
    long width = 0, closeLeft = close.x, band = (client.y - wr.top) - (client.x - wr.left);
    for (long x = close.x - px(40); x < close.x + px(40); ++x)
        if (HitTest(main, {x, close.y}) == HTCLOSE) ++width, closeLeft = std::min(closeLeft, x);
    place("close button", {0, 0, width, 0}, {0, 0}, {0, 0, std::min<long>(px(18), band - px(2)), 0});
    // The title's white ink, right of the skin's indent and the small icon (no taller than the band), as
    // wide as the 2009 skin's caption font (13 pixels, bold) at the scale sets it, give or take its
    // bearings and its half-covered edge pixels.
    NONCLIENTMETRICSA ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    ncm.lfCaptionFont.lfHeight = -px(13), ncm.lfCaptionFont.lfWidth = 0, ncm.lfCaptionFont.lfWeight = FW_BOLD;
    const long title = TextSize(CreateFontIndirectA(&ncm.lfCaptionFont), kMainTitle).cx;
    const Capture shot = CaptureWindow(main);
    long ink[2] = {-1, -1};
    for (long x = client.x + px(6) + std::min<long>(px(16), band) + px(2); x < closeLeft - px(2); ++x)
        if (shot.Count({x, wr.top, x + 1, client.y}, [](Rgb c) { return c.r > 175 && c.g > 175; }))
            ink[ink[0] >= 0] = x;
    const long inkWidth = ink[1] - ink[0] + 1;
    // At 96 dpi the stand-in face draws the bold title well inside its measure; the rule holds from 120 on.
    if (dpi > 96)
        f.Add("title width", std::to_string(std::abs(inkWidth - title) <= title / 16 ? title : inkWidth),
              std::to_string(title));
    // No grey band beside or below the banner: the picture fills the box at the scale.
    const RECT banner = WindowRectOf(FindDescendant(main, Id(kBanner)));
    auto face = [](Rgb c) { return c == FromColorRef(GetSysColor(COLOR_BTNFACE)); };
    f.Add("banner: button face in its last row and column",
          std::to_string(shot.Count({banner.left, banner.bottom - 1, banner.right, banner.bottom}, face) +
                         shot.Count({banner.right - 1, banner.top, banner.right, banner.bottom}, face)),
          "0");
    // The page body's frame grows as the tab outlines do: frame-coloured pixels from each side's edge inward.
    const Rgb frame{145, 167, 180};
    const TabGeometry g = DesignTabs(dpi);
    const struct {
        const char* side;
        long x, y, dx, dy;
    } sides[] = {{"left", g.body.left, px(120), 1, 0},
                 {"right", g.body.right - 1, px(120), -1, 0},
                 {"bottom", px(240), g.body.bottom - 1, 0, -1},
                 {"top", (g.tabs[1].left + g.tabs[1].right) / 2, g.body.top, 0, 1}};
    for (const auto& side : sides) {
        int n = 0;
        for (POINT p{onPage.x + side.x, onPage.y + side.y}; n < px(4) && shot.At(p.x, p.y) == frame; p.x += side.dx)
            ++n, p.y += side.dy;
        f.Add(std::string("body frame width, ") + side.side, std::to_string(n), std::to_string(px(1)));
    }
}

}  // namespace e2e
