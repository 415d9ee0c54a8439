// The engine's stack guard. Every function of the engine with an array or an
// address taken compares its frame's copy of __stack_chk_guard on return; the
// C runtime's start-up, which sets the guard in a program, is not linked into
// the engine, so the engine's entry point sets it before anything else of the
// engine runs. This file is compiled without the stack protector: a function
// entered before the guard changes would fail its own check on return.
#include <windows.h>

#include <cstdint>

#include "winutil/stack_seed.h"

extern "C" {

std::uintptr_t __stack_chk_guard = 0;

// A frame was overwritten: end the process at once, as Windows does for the
// same fault in its own code, without running anything else of the process.
[[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), 0xC0000409);  // STATUS_STACK_BUFFER_OVERRUN
    __builtin_unreachable();
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

BOOL WINAPI EngineEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) __stack_chk_guard = tolvane::StackGuardSeed(instance);
    return DllMain(instance, reason, reserved);
}

}  // extern "C"
