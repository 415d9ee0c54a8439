// The composition root: the one place that knows every feature.
#pragma once
#include <windows.h>

#include "toolkit/win/events.h"

namespace tolvane {

// The whole life of the process from start-up to shutdown; the exit code.
int RunProgram(HINSTANCE instance);

// The main window with its events bound by the wiring table (BuildMainWindow).
HWND BuildProgramWindow(HINSTANCE instance, bool* built = nullptr);

// The wiring table as the window's event sink: runs the bound handler, if any.
void DeliverEvent(int source, Event event, const EventArgs& args);

// The main window's created event: the start-up steps, in order.
void OnMainWindowCreated();
void FitBanner();

}  // namespace tolvane
