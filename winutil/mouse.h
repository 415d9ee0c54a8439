#pragma once
#include <windows.h>

namespace tolvane {

// Signed mouse coordinates of a message; negative on a second monitor or
// while the mouse is captured outside the window.
inline int XOf(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
inline int YOf(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

}  // namespace tolvane
