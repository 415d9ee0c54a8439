// The program's stack guard and its entry point. Left to the runtime, the
// guard would be seeded by a constructor that asks the cryptographic provider
// for it, which loads advapi32's provider code and rsaenh into every start;
// this entry point seeds it the way the engine does, then runs the C
// runtime's start-up, which runs WinMain. Compiled without the stack
// protector: a function entered before the guard changes would fail its own
// check on return.
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

int WinMainCRTStartup();

int ProgramEntry() {
    __stack_chk_guard = tolvane::StackGuardSeed(GetModuleHandleA(nullptr));
    return WinMainCRTStartup();
}

}  // extern "C"
