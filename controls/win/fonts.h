// The fonts of the form that are not the system's default GUI font.
#pragma once
#include <windows.h>

#include "controls/options.h"
#include "winutil/gdi_objects.h"

namespace tolvane {

// Returns "宋体" -12 at the display scale `dpi` in the settings `choice`
// names, or an empty owner for FontChoice::DefaultGui (the stock font, which
// is never created nor deleted) or on failure.
[[nodiscard]] GdiObject<HFONT> CreateFormFont(FontChoice choice, int dpi);

// The stock GUI font, never deleted. It is made at the system's scale.
HFONT GuiFont();
// Returns the stock GUI font's face at another scale, for a window on a
// monitor of its own, or an empty owner at the system's scale (the stock font
// itself serves) or on failure.
[[nodiscard]] GdiObject<HFONT> CreateGuiFontAt(int dpi);

}  // namespace tolvane
