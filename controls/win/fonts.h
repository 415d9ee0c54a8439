// The fonts of the form that are not the system's default GUI font.
#pragma once
#include <windows.h>

#include "controls/options.h"

namespace tolvane {

// "宋体" -12 (at the display scale) in the settings `choice` names; null for FontChoice::DefaultGui
// (the stock font, which is never created nor deleted) or on failure. The
// caller owns the font.
HFONT CreateFormFont(FontChoice choice);

// The stock GUI font, never deleted.
HFONT GuiFont();

}  // namespace tolvane
