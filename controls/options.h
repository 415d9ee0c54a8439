// The choices the form's controls offer: which of the form's fonts, which
// label layout. The control table names them for each control.
#pragma once

namespace tolvane {

enum class FontChoice : unsigned char {
    DefaultGui,    // the stock GUI font, never deleted
    SongTiPlain,   // "宋体" -12, default charset, proof quality (按钮2)
    SongTiGb2312,  // "宋体" -12, GB2312 charset (the page control's tab captions)
};

enum class LabelLayout : unsigned char { SingleLineCentred, WordWrapTop };

}  // namespace tolvane
