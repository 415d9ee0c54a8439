// The value a module's stack guard starts from, made at its entry point
// before any guarded function runs. Include only from a file compiled
// without the stack protector: the function has an array of its own.
//
// The sources are cheap ones that XP's kernel32 has: the performance counter
// and the system time (different at every start), the process and thread
// ids, and the addresses the loader chose for the module and the stack
// (different from Vista on, with the image's dynamic base). No cryptographic
// provider: that would load advapi32's and rsaenh's code into every start,
// for a value that only has to be unknown to an attacker from outside.
#pragma once
#include <windows.h>

#include <cstdint>

// The guard itself, one for each image (stack_guard.cpp).
extern "C" std::uintptr_t __stack_chk_guard;  // NOLINT(bugprone-reserved-identifier): gcc's name for it

namespace tolvane {

inline std::uint32_t StackGuardSeed(const void* module) {
    // MurmurHash3's finaliser over the running value and the next input.
    auto mix = [](std::uint32_t h, std::uint32_t v) {
        h ^= v;
        h *= 0x85EBCA6Bu;
        h ^= h >> 13;
        h *= 0xC2B2AE35u;
        return h ^ (h >> 16);
    };
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint32_t inputs[] = {static_cast<std::uint32_t>(counter.LowPart),
                                    static_cast<std::uint32_t>(counter.HighPart),
                                    now.dwLowDateTime,
                                    now.dwHighDateTime,
                                    GetTickCount(),
                                    GetCurrentProcessId(),
                                    GetCurrentThreadId(),
                                    static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(module)),
                                    static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&counter))};
    std::uint32_t seed = 0x9E3779B9u;
    for (std::uint32_t v : inputs) seed = mix(seed, v);
    return seed != 0 ? seed : 0x9E3779B9u;
}

}  // namespace tolvane
