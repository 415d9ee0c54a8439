#include "controls/win/fonts.h"

#include "winutil/dpi.h"

namespace tolvane {

HFONT CreateFormFont(FontChoice choice) {
    if (choice == FontChoice::DefaultGui) return nullptr;
    LOGFONTA lf{};
    lf.lfHeight = -Scale(12);
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

}  // namespace tolvane
