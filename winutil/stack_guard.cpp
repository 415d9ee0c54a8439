// The stack guard of both images, the program and the engine: every function
// with an array or an address taken compares its frame's copy of
// __stack_chk_guard on return. Each image links its own copy of these
// definitions and seeds it at its own entry point (stack_seed.h), rather than
// take libssp-0.dll's. Compiled without the stack protector: the failure
// must not check the guard it reports.
#include <windows.h>

#include <cstdint>

extern "C" {

std::uintptr_t __stack_chk_guard = 0;  // NOLINT(bugprone-reserved-identifier): gcc's name for it

// A frame was overwritten: end the process at once, as Windows does for the
// same fault in its own code, without running anything else of the process.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the name gcc's guard calls
[[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), 0xC0000409);  // STATUS_STACK_BUFFER_OVERRUN
    __builtin_unreachable();
}

}  // extern "C"
