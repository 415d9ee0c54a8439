// The composition root: the one place that knows every feature.
#pragma once
#include <windows.h>

namespace tolvane {

// The whole life of the process from start-up to shutdown; the exit code.
int RunProgram(HINSTANCE instance);

// The main window with its events bound by the wiring table (BuildMainWindow).
HWND BuildProgramWindow(HINSTANCE instance, bool* built = nullptr);

// The main window's created event: the start-up steps, in order.
void OnMainWindowCreated();
void FitBanner();

}  // namespace tolvane
