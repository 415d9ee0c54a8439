// What the main window does with keys before the focused control sees them.
#pragma once
#include <windows.h>

namespace tolvane {

// Looks at a key or mouse message before it reaches its window: Escape,
// Enter, Tab, the page keys (Ctrl+Tab, Ctrl+Page Down and back), F1, and the
// left-button-pressed event. True when consumed.
bool PreTranslateFormMessage(MSG* msg);

struct Form;
// WM_ACTIVATE and WM_SETFOCUS of the main window: the control that had the
// focus when the window was deactivated has it again when the window gets it.
void KeepFocusAcrossActivation(Form& form, UINT msg, WPARAM wp);

}  // namespace tolvane
