// What each kind of control is, said once: one row per Kind. A new kind of
// control is a row here, and a step where the window is made only if it needs
// more than its window (the edit box's limit, the banner's picture).
#pragma once
#include <windows.h>

#include "core/contrast.h"
#include "toolkit/control_table.h"

namespace tolvane {

struct KindRow {
    const char* windowClass;  // null: the form makes no window from a row of it
    DWORD exStyle;
    DWORD style;       // besides WS_CHILD and each control's own flags
    bool takesFocus;   // a page switch may give it the focus
    bool clickRaises;  // its BN_CLICKED raises Event::Clicked
    // Its colours, for the kinds of our own classes: the pair it takes under
    // high contrast, and its text on the page body otherwise. The system's
    // kinds are the skin engine's, which reads Part::Skin for itself.
    Part contrast;
    COLORREF text;
};

const KindRow& KindOf(Kind kind);

}  // namespace tolvane
