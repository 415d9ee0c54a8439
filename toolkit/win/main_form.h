// The main window's form as it lives: the toolkit's own. The features reach
// the window through the control services (control_services.h).
#pragma once
#include <windows.h>

#include "controls/win/common_dialog.h"
#include "core/scale.h"
#include "toolkit/control_table.h"
#include "toolkit/win/events.h"
#include "winutil/gdi_objects.h"

namespace tolvane {

// A control of the form as it lives: its window (null for the components)
// and its visibility flag, which a control of the later page keeps while hidden.
struct FormControl {
    HWND hwnd = nullptr;
    bool visible = false;
};

// Owned by the main window: made with it, deleted with it.
struct Form {
    HWND main = nullptr;
    HWND page = nullptr;
    FormControl controls[kControlCount];  // in control order
    HWND pathNames[2] = {};               // the path boxes' hidden names (accessible_names.h)
    HWND lastFocus = nullptr;             // the control that had the focus when the window was deactivated
    bool lastFocusShown = false;          // and whether it showed then (the about page focuses a hidden box)
    int dpi = kDesignDpi;                 // the window's own scale, which everything is laid out at
    GdiObject<HFONT> songTi;              // 按钮2's own font
    GdiObject<HFONT> gui;  // the GUI font at the window's scale; none at the system's (the stock one serves)
    CommonDialog dialog;
    EventSink events = nullptr;

    ~Form();
    // Index of the control whose window is `hwnd`, or -1.
    int IndexOf(HWND hwnd) const;
    // Delivers at once unless delivery is suspended.
    void Raise(int source, Event event, const EventArgs& args = EventArgs{}) const;
};

// The form of the process's one main window; null while there is none.
Form* MainForm();
// Set by the main window's own code (main_window.h) when it is built; the
// form's end clears it.
void SetMainWindow(HWND main);

}  // namespace tolvane
