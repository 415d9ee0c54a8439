// Whether this process may read or write a span of its memory, asked of the
// system before a pointer that came with a message is followed: another
// program may post any number as a pointer, and a posted message reaches the
// window procedure with no handler around it to catch the fault.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tolvane {

// True when every page of [p, p + size) is committed and readable, or for
// CanWrite writable, without touching any of it. Null is neither.
bool CanRead(const void* p, std::size_t size);
bool CanWrite(void* p, std::size_t size);

}  // namespace tolvane
