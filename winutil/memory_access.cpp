#include "winutil/memory_access.h"

#include <cstdint>

namespace tolvane {

namespace {

constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                            PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
constexpr DWORD kWritable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

// The pages' protection, region by region, as VirtualQuery reports it: no
// access is tried, so a guard page (another thread's stack growing) is never
// consumed, which a probe that catches its own fault would do.
bool Allows(const void* p, std::size_t size, DWORD wanted) {
    const auto first = reinterpret_cast<std::uintptr_t>(p);
    if (first == 0 || size == 0 || first + size < first) return false;
    std::uintptr_t at = first;
    const std::uintptr_t end = first + size;
    while (at < end) {
        MEMORY_BASIC_INFORMATION info{};
        if (VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info) != sizeof info) return false;
        if (info.State != MEM_COMMIT || (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) || !(info.Protect & wanted))
            return false;
        const std::uintptr_t next = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
        if (next <= at) return false;
        at = next;
    }
    return true;
}

}  // namespace

bool CanRead(const void* p, std::size_t size) { return Allows(p, size, kReadable); }
bool CanWrite(void* p, std::size_t size) { return Allows(p, size, kWritable); }

}  // namespace tolvane
