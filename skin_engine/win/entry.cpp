// The engine's entry point. The C runtime's start-up, which sets the guard
// in a program, is not linked into the engine, so the entry point seeds the
// stack guard (winutil/stack_guard.cpp) before anything else of the engine
// runs. This file is compiled without the stack protector: a function
// entered before the guard changes would fail its own check on return.
#include <windows.h>

#include "winutil/stack_seed.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

BOOL WINAPI EngineEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) __stack_chk_guard = tolvane::StackGuardSeed(instance);
    return DllMain(instance, reason, reserved);
}

}  // extern "C"
