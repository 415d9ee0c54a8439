// A label without a background: its text is drawn over whatever lies beneath.
#pragma once
#include <windows.h>

#include "controls/options.h"
#include "core/contrast.h"

namespace tolvane {

[[nodiscard]] bool RegisterTransLabelClass(HINSTANCE instance);

// Creation parameter of a label window (lpParam of CreateWindowEx).
struct TransLabelSettings {
    LabelLayout layout = LabelLayout::SingleLineCentred;
    HFONT font = nullptr;  // borrowed; null means the default GUI font
    COLORREF textColour = RGB(0, 0, 0);
    Part contrast = Part::Label;  // the pair its text takes under high contrast
};

// Whether `hwnd` is a transparent label: it paints what lies beneath it
// too, so it is repainted when that changes.
bool IsTransLabel(HWND hwnd);

// Stores the caption and repaints the label once: its paint brings along
// what lies beneath it, so no trace of the old text stays on screen.
void SetTransLabelCaption(HWND label, const char* text);

}  // namespace tolvane
