// The main window's form, shared by the toolkit's window code and the loop.
#pragma once
#include <windows.h>

#include "toolkit/form_table.h"
#include "toolkit/win/common_dialog.h"
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
    GdiObject<HFONT> songTi;  // 按钮2's own font
    CommonDialog dialog;
    EventSink events = nullptr;

    // Index of the control whose window is `hwnd`, or -1.
    int IndexOf(HWND hwnd) const;
    // Delivers at once unless delivery is suspended.
    void Raise(int source, Event event, const EventArgs& args = EventArgs{}) const;
};

// The form of the main window; null while there is none.
Form* MainForm();

// Looks at a key or mouse message before it reaches its window: Escape,
// Enter, Tab, F1, and the left-button-pressed event. True when consumed.
bool PreTranslateFormMessage(MSG* msg);

// The message loop has started: from now on destroying the window ends it.
void SetMessageLoopEntered();

}  // namespace tolvane
