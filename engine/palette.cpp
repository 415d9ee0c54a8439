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
        p->brush[i] = CreateSolidBrush(p->color(static_cast<she::ColorId>(i)));
        ok = ok && p->brush[i] != nullptr;
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
    p->captionFont = CreateFontIndirectA(&lf);

    p->frameOutline[0] = MakePen(*p, she::kFrameInactiveOutline, 1, PS_SOLID);
    p->frameOutline[1] = MakePen(*p, she::kFrameActiveOutline, 1, PS_SOLID);
    p->glyph = MakePen(*p, she::kCaptionButtonGlyph, p->metric(she::kCaptionGlyphWidth), PS_SOLID);
    p->buttonBorder = MakePen(*p, she::kButtonBorder, 1);
    p->buttonDefaultBorder =
        MakePen(*p, she::kButtonDefaultBorder, p->metric(she::kButtonDefaultBorderWidth));
    p->buttonDisabledBorder = MakePen(*p, she::kButtonDisabledBorder, 1);
    p->buttonDisabledDefaultBorder =
        MakePen(*p, she::kButtonDisabledBorder, p->metric(she::kButtonDefaultBorderWidth));
    p->buttonFocus = MakePen(*p, she::kButtonFocus, 1, PS_DOT);
    ok = ok && p->captionFont && p->frameOutline[0] && p->frameOutline[1] && p->glyph &&
         p->buttonBorder && p->buttonDefaultBorder && p->buttonDisabledBorder &&
         p->buttonDisabledDefaultBorder && p->buttonFocus;
    if (!ok) {
        DestroyPalette(p);
        return nullptr;
    }
    return p;
}

void DestroyPalette(Palette* p) {
    if (p == nullptr) return;
    for (HBRUSH b : p->brush)
        if (b) DeleteObject(b);
    HGDIOBJ objects[] = {p->captionFont, p->frameOutline[0], p->frameOutline[1], p->glyph,
                         p->buttonBorder, p->buttonDefaultBorder, p->buttonDisabledBorder,
                         p->buttonDisabledDefaultBorder, p->buttonFocus};
    for (HGDIOBJ o : objects)
        if (o) DeleteObject(o);
    delete p;
}

}  // namespace engine
