// A picture box in natural-size mode: the picture unscaled at the top-left
// corner, clipped by the box, the rest in the button face colour.
#pragma once
#include <windows.h>

namespace tolvane {

bool RegisterPicBoxClass(HINSTANCE instance);

// Takes ownership of `picture` (may be null: the box shows its background).
void SetPicBoxPicture(HWND box, HBITMAP picture);

}  // namespace tolvane
