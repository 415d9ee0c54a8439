// A picture box in natural-size mode: the picture unscaled at the top-left
// corner (at 96 dpi; at another display scale, at its scaled size), clipped by
// the box, the rest in the button face colour.
#pragma once
#include <windows.h>

#include "winutil/gdi_objects.h"

namespace tolvane {

// A box takes an optional creation parameter (lpParam of CreateWindowEx): a
// const Part*, the pair it shows its words in under high contrast (else
// Part::Banner).
[[nodiscard]] bool RegisterPicBoxClass(HINSTANCE instance);

// Takes ownership of `picture` (may be empty: the box shows its background).
void SetPicBoxPicture(HWND box, GdiObject<HBITMAP> picture);
// The box's display scale (96 dpi until set): the picture shows at its size there.
void SetPicBoxDpi(HWND box, int dpi);

// The words the picture shows, which a screen reader names it by (code page
// 936, borrowed for the box's whole life); a box without them is unnamed.
void SetPicBoxWords(HWND box, const char* words);
// A picture box window of this process.
bool IsPicBox(HWND hwnd);

}  // namespace tolvane
