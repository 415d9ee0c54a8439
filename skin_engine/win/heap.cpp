// The engine's allocations go straight to the process heap. Defining these
// keeps the C++ runtime's exception machinery, which the library's own
// operator new drags in, out of a DLL that is carried inside the program.
#include <windows.h>

#include <new>

void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return HeapAlloc(GetProcessHeap(), 0, n ? n : 1); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    return HeapAlloc(GetProcessHeap(), 0, n ? n : 1);
}
// The engine only ever allocates with nothrow; these exist so that nothing
// reaches for the runtime's throwing versions.
void* operator new(std::size_t n) { return HeapAlloc(GetProcessHeap(), 0, n ? n : 1); }
void* operator new[](std::size_t n) { return HeapAlloc(GetProcessHeap(), 0, n ? n : 1); }
void operator delete(void* p) noexcept {
    if (p) HeapFree(GetProcessHeap(), 0, p);
}
void operator delete[](void* p) noexcept {
    if (p) HeapFree(GetProcessHeap(), 0, p);
}
void operator delete(void* p, std::size_t) noexcept {
    if (p) HeapFree(GetProcessHeap(), 0, p);
}
void operator delete[](void* p, std::size_t) noexcept {
    if (p) HeapFree(GetProcessHeap(), 0, p);
}
