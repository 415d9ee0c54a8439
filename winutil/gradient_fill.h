#pragma once
#include <windows.h>

#include "core/gradient.h"

namespace tolvane {

// Both fill `rc` from `top` at the top to `bottom` at the bottom through the
// DC brush, so a gradient costs no GDI object; the DC's brush and brush
// colour are as they were afterwards. They differ in their rows, and each
// look depends on its own: the page control's tabs run in 64 bands, the skin
// engine's captions and buttons give every row its own colour.
void FillGradientBands(HDC dc, const RECT& rc, Rgb top, Rgb bottom);
void FillGradientRows(HDC dc, const RECT& rc, Rgb top, Rgb bottom);

}  // namespace tolvane
