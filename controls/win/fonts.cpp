#include "controls/win/fonts.h"

#include "winutil/dpi.h"

namespace tolvane {

HFONT CreateFormFont(FontChoice choice, int dpi) {
    if (choice == FontChoice::DefaultGui) return nullptr;
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
    return CreateFontIndirectA(&lf);
}

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

HFONT CreateGuiFontAt(int dpi) {
    if (dpi == ScreenDpi()) return nullptr;
    LOGFONTA lf{};
    if (!GetObjectA(GuiFont(), sizeof lf, &lf)) return nullptr;
    lf.lfHeight = FontHeightAtDpi(lf.lfHeight, ScreenDpi(), dpi);
    lf.lfWidth = 0;
    return CreateFontIndirectA(&lf);
}

}  // namespace tolvane
