#pragma once
#include <windows.h>

#include "core/gradient.h"

namespace tolvane {

enum class GradientSteps {
    Bands64,  // the page control's tabs
    EachRow,  // the skin engine's captions and buttons
};

// Fills `rc` from `top` at the top to `bottom` at the bottom through the DC
// brush, so a gradient costs no GDI object; the DC's brush and brush colour
// are as they were afterwards.
void FillGradient(HDC dc, const RECT& rc, Rgb top, Rgb bottom, GradientSteps steps);

}  // namespace tolvane
