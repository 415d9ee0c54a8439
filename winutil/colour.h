#pragma once
#include <windows.h>

#include "core/rgb.h"

namespace tolvane {

inline COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

}  // namespace tolvane
