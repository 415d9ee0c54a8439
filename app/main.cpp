#include <windows.h>

#include "app/win/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return tolvane::RunProgram(instance); }
