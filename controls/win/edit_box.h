// What the form's edit boxes do beyond the system's edit control.
#pragma once
#include <windows.h>

namespace tolvane {

// From now on `edit`, a system edit box of this thread, takes no edit from
// the user while it is hidden, as it is while its page is not current: the
// focus may stay on it there, and a key typed, a Backspace or a paste would
// change a text that nobody sees. Hidden, it also opens no context menu and
// no input method composition. Moving the caret, selecting and copying
// still work.
void RefuseEditsWhileHidden(HWND edit);

}  // namespace tolvane
