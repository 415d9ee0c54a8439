// The fonts of the form that are not the system's default GUI font.
#pragma once
#include <windows.h>

#include "controls/options.h"

namespace tolvane {

// "宋体" -12 at the display scale `dpi` in the settings `choice` names; null
// for FontChoice::DefaultGui (the stock font, which is never created nor
// deleted) or on failure. The caller owns the font.
HFONT CreateFormFont(FontChoice choice, int dpi);

// The stock GUI font, never deleted. It is made at the system's scale.
HFONT GuiFont();
// The stock GUI font's face at another scale, for a window on a monitor of
// its own; null at the system's scale (the stock font itself serves) or on
// failure. The caller owns the font.
HFONT CreateGuiFontAt(int dpi);

}  // namespace tolvane
