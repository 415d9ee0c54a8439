// The program's entry point. Left to the runtime, the stack guard
// (winutil/stack_guard.cpp) would be seeded by a constructor that asks the
// cryptographic provider for it, which loads advapi32's provider code and
// rsaenh into every start; this entry point seeds it the way the engine
// does, then runs the C runtime's start-up, which runs WinMain. Compiled
// without the stack protector: a function entered before the guard changes
// would fail its own check on return.
#include <windows.h>

#include "winutil/stack_seed.h"

extern "C" {

int WinMainCRTStartup();

int ProgramEntry() {
    __stack_chk_guard = tolvane::StackGuardSeed(GetModuleHandleA(nullptr));
    return WinMainCRTStartup();
}

}  // extern "C"
