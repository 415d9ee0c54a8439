#include "engine/engine.h"

#include <new>

#include "winutil/dpi.h"

namespace engine {

namespace {

// The frame's lengths in a skin are 96-dpi pixels: at another display scale
// the caption's font, buttons, gaps and lines grow with it. The push buttons
// and edit borders keep the skin's pixels (an edit's border lies in the
// system's client edge, which does not grow).
constexpr she::MetricId kFrameLengths[] = {she::kCaptionTextHeight, she::kCaptionTextIndent,
                                           she::kCaptionButtonSize, she::kCaptionButtonRadius,
                                           she::kCaptionGlyphWidth, she::kFrameOutlineWidth};

HPEN MakePen(const Palette& p, she::ColorId id, int width, int style = PS_INSIDEFRAME) {
    return CreatePen(style, width, p.color(id));
}

}  // namespace

Palette* CreatePalette(const she::Skin& skin) {
    Palette* p = new (std::nothrow) Palette;
    if (p == nullptr) return nullptr;
    p->skin = skin;
    for (she::MetricId id : kFrameLengths) p->skin.metrics[id] = tolvane::Scale(skin.metrics[id]);
    bool ok = true;
    for (int i = 0; i < she::kColorCount; ++i) {
        p->brush[i].Reset(CreateSolidBrush(p->color(static_cast<she::ColorId>(i))));
        ok = ok && p->brush[i];
    }

    // The caption font follows the system's caption face so that CJK titles
    // keep a font that has their glyphs; the skin picks size and weight.
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    LOGFONTA lf = {};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        lf = ncm.lfCaptionFont;
    } else {
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    }
    lf.lfHeight = -p->metric(she::kCaptionTextHeight);
    lf.lfWidth = 0;
    lf.lfWeight = p->metric(she::kCaptionTextBold) ? FW_BOLD : FW_NORMAL;
    p->captionFont.Reset(CreateFontIndirectA(&lf));

    p->frameOutline[0].Reset(MakePen(*p, she::kFrameInactiveOutline, 1, PS_SOLID));
    p->frameOutline[1].Reset(MakePen(*p, she::kFrameActiveOutline, 1, PS_SOLID));
    p->glyph.Reset(MakePen(*p, she::kCaptionButtonGlyph, p->metric(she::kCaptionGlyphWidth), PS_SOLID));
    p->buttonBorder.Reset(MakePen(*p, she::kButtonBorder, 1));
    p->buttonDefaultBorder.Reset(MakePen(*p, she::kButtonDefaultBorder, p->metric(she::kButtonDefaultBorderWidth)));
    p->buttonDisabledBorder.Reset(MakePen(*p, she::kButtonDisabledBorder, 1));
    p->buttonDisabledDefaultBorder.Reset(
        MakePen(*p, she::kButtonDisabledBorder, p->metric(she::kButtonDefaultBorderWidth)));
    p->buttonFocus.Reset(MakePen(*p, she::kButtonFocus, 1, PS_DOT));
    ok = ok && p->captionFont && p->frameOutline[0] && p->frameOutline[1] && p->glyph && p->buttonBorder &&
         p->buttonDefaultBorder && p->buttonDisabledBorder && p->buttonDisabledDefaultBorder && p->buttonFocus;
    if (!ok) {
        delete p;  // its owners delete what was made
        return nullptr;
    }
    return p;
}

void DestroyPalette(Palette* p) { delete p; }

}  // namespace engine
