// The main window, built from the control table around its form (main_form.h).
#pragma once
#include <windows.h>

#include "toolkit/win/events.h"

namespace tolvane {

// Start-up without the message loop: builds the window hidden, raises created,
// moved and resized into `events`, then shows it. Null when the window could
// not be built, or was closed again during its own start-up; `built` tells
// the two apart (the first is fatal, the second is not).
HWND BuildMainWindow(HINSTANCE instance, EventSink events, bool* built = nullptr);

// The message loop has started: from now on destroying the window ends it.
void SetMessageLoopEntered();

}  // namespace tolvane
