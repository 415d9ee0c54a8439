// The display scale, read once from the screen at start. The program and the
// skin engine each link their own copy, so each reads it for itself.
#pragma once

#include "core/scale.h"

namespace tolvane {

// GetDeviceCaps(LOGPIXELSY) of the screen at the first call; 96 when
// unreadable or beyond kMaxDpi.
int ScreenDpi();

// A length of the design, in 96-dpi pixels, at the screen's scale.
int Scale(int n);

}  // namespace tolvane
