// The main window's internals shared by the window code of app/win.
#pragma once
#include <windows.h>

namespace tolvane {

// Looks at a key or mouse message before it reaches its window: Escape,
// Enter, Tab, F1, and the left-button-pressed event. True when consumed.
bool PreTranslateFormMessage(MSG* msg);

// The message loop has started: from now on destroying the window ends it.
void SetMessageLoopEntered();

// Whether BuildMainWindow built the window with every control of its form,
// even if the window was closed again during its own start-up.
bool MainWindowWasCreated();

// Index of the control whose window is `hwnd`, or -1.
int ControlIndexOf(HWND hwnd);

}  // namespace tolvane
