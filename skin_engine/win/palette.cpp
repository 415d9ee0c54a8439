#include "skin_engine/win/engine.h"

#include <new>

#include "winutil/dpi.h"

namespace engine {

namespace {

HPEN MakePen(const Palette& p, she::ColorId id, int width, int style = PS_INSIDEFRAME) {
    return CreatePen(style, width, p.color(id));
}

// The caption font follows the system's caption face so that CJK titles keep
// a font that has their glyphs; the skin picks size and weight.
HFONT MakeCaptionFont(const Palette& p, int dpi) {
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    LOGFONTA lf = {};
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        lf = ncm.lfCaptionFont;
    } else {
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    }
    lf.lfHeight = -p.FrameLength(she::kCaptionTextHeight, dpi);
    lf.lfWidth = 0;
    lf.lfWeight = p.metric(she::kCaptionTextBold) ? FW_BOLD : FW_NORMAL;
    return CreateFontIndirectA(&lf);
}

}  // namespace

const FrameObjects* Palette::FrameAt(int dpi) const {
    for (const FrameObjects& f : frames)
        if (f.dpi == dpi) return &f;
    // Painting holds a scale's objects only while it draws, never across messages.
    FrameObjects& f = frames[nextFrame];
    nextFrame = (nextFrame + 1) % kFrameScales;
    f.dpi = 0;
    f.captionFont.Reset(MakeCaptionFont(*this, dpi));
    f.glyph.Reset(MakePen(*this, she::kCaptionButtonGlyph, FrameLength(she::kCaptionGlyphWidth, dpi), PS_SOLID));
    if (!f.captionFont || !f.glyph) return nullptr;
    f.dpi = dpi;
    return &f;
}

PaletteOwner CreatePalette(const she::Skin& skin) {
    PaletteOwner p(new (std::nothrow) Palette);
    if (!p) return nullptr;
    p->skin = skin;
    bool ok = true;
    for (int i = 0; i < she::kColorCount; ++i) {
        p->brush[i].Reset(CreateSolidBrush(p->color(static_cast<she::ColorId>(i))));
        ok = ok && p->brush[i];
    }
    p->frameOutline[0].Reset(MakePen(*p, she::kFrameInactiveOutline, 1, PS_SOLID));
    p->frameOutline[1].Reset(MakePen(*p, she::kFrameActiveOutline, 1, PS_SOLID));
    p->buttonBorder.Reset(MakePen(*p, she::kButtonBorder, 1));
    p->buttonDefaultBorder.Reset(MakePen(*p, she::kButtonDefaultBorder, p->metric(she::kButtonDefaultBorderWidth)));
    p->buttonDisabledBorder.Reset(MakePen(*p, she::kButtonDisabledBorder, 1));
    p->buttonDisabledDefaultBorder.Reset(
        MakePen(*p, she::kButtonDisabledBorder, p->metric(she::kButtonDefaultBorderWidth)));
    p->buttonFocus.Reset(MakePen(*p, she::kButtonFocus, 1, PS_DOT));
    ok = ok && p->FrameAt(tolvane::ScreenDpi()) && p->frameOutline[0] && p->frameOutline[1] && p->buttonBorder &&
         p->buttonDefaultBorder && p->buttonDisabledBorder && p->buttonDisabledDefaultBorder && p->buttonFocus;
    if (!ok) return nullptr;  // its owners delete what was made
    return p;
}

void DestroyPalette(Palette* p) { delete p; }

}  // namespace engine
