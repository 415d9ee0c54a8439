#include "controls/win/fonts.h"

#include "winutil/dpi.h"

namespace tolvane {

GdiObject<HFONT> CreateFormFont(FontChoice choice, int dpi) {
    if (choice == FontChoice::DefaultGui) return {};
    LOGFONTA lf{};
    lf.lfHeight = -ScaleToDpi(12, dpi);
    lf.lfWeight = FW_NORMAL;
    if (choice == FontChoice::SongTiPlain) {
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = PROOF_QUALITY;
    } else {
        lf.lfCharSet = GB2312_CHARSET;
    }
    lstrcpynA(lf.lfFaceName, "宋体", LF_FACESIZE);
    return GdiObject<HFONT>(CreateFontIndirectA(&lf));
}

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

GdiObject<HFONT> CreateGuiFontAt(int dpi) {
    if (dpi == ScreenDpi()) return {};
    LOGFONTA lf{};
    if (!GetObjectA(GuiFont(), sizeof lf, &lf)) return {};
    lf.lfHeight = FontHeightAtDpi(lf.lfHeight, ScreenDpi(), dpi);
    lf.lfWidth = 0;
    return GdiObject<HFONT>(CreateFontIndirectA(&lf));
}

}  // namespace tolvane
