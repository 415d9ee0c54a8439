// What each kind of control is, said once: one row per Kind. A new kind of
// control is a row here and its case where the window is made.
#pragma once
#include <windows.h>

#include "core/contrast.h"
#include "toolkit/control_table.h"

namespace tolvane {

struct KindRow {
    const char* windowClass;  // null: a component, which has no window
    DWORD exStyle;
    DWORD style;       // besides WS_CHILD and each control's own flags
    bool takesFocus;   // a page switch may give it the focus
    bool clickRaises;  // its BN_CLICKED raises Event::Clicked
    Part contrast;     // the pair it is painted in under high contrast
    COLORREF text;     // its text on the page body, without high contrast
};

const KindRow& KindOf(Kind kind);

}  // namespace tolvane
