#pragma once
#include <windows.h>

namespace tolvane {

// The whole life of the process from start-up to shutdown; the exit code.
int RunProgram(HINSTANCE instance);

}  // namespace tolvane
