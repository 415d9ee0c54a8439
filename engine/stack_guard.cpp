// The engine's stack guard. Every function of the engine with an array or an
// address taken compares its frame's copy of __stack_chk_guard on return; the
// C runtime's start-up, which sets the guard in a program, is not linked into
// the engine, so the engine's entry point sets it before anything else of the
// engine runs. This file is compiled without the stack protector: a function
// entered before the guard changes would fail its own check on return.
//
// The seed comes from cheap sources that XP's kernel32 has: the performance
// counter and the system time (different at every load), the process and
// thread ids, and the addresses the loader chose for the module and the stack
// (different from Vista on, with the image's dynamic base). No cryptographic
// provider: that would load advapi32's and rsaenh's code into every process
// the engine is attached to.
#include <windows.h>

#include <cstdint>

extern "C" {

std::uintptr_t __stack_chk_guard = 0;

// A frame was overwritten: end the process at once, as Windows does for the
// same fault in its own code, without running anything else of the process.
[[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), 0xC0000409);  // STATUS_STACK_BUFFER_OVERRUN
    __builtin_unreachable();
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

}  // extern "C"

namespace {

// MurmurHash3's finaliser over the running value and the next input.
std::uint32_t Mix(std::uint32_t h, std::uint32_t v) {
    h ^= v;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    return h ^ (h >> 16);
}

void SeedStackGuard(HINSTANCE instance) {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint32_t inputs[] = {
        static_cast<std::uint32_t>(counter.LowPart), static_cast<std::uint32_t>(counter.HighPart),
        now.dwLowDateTime, now.dwHighDateTime, GetTickCount(), GetCurrentProcessId(), GetCurrentThreadId(),
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(instance)),
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&counter))};
    std::uint32_t seed = 0x9E3779B9u;
    for (std::uint32_t v : inputs) seed = Mix(seed, v);
    __stack_chk_guard = seed != 0 ? seed : 0x9E3779B9u;
}

}  // namespace

extern "C" BOOL WINAPI EngineEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) SeedStackGuard(instance);
    return DllMain(instance, reason, reserved);
}
