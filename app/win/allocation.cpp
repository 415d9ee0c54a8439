// Every allocation of the program goes through here. Running out of memory is
// one of the conditions the program does not survive: instead of a bad_alloc
// that nothing catches (an abort with exit code 3 and no word to the user), it
// ends with the fatal error box naming the size that was asked for. The skin
// engine is a DLL of its own with its own allocator and is not affected.
//
// The nothrow forms end the same way: a null from them would only turn the
// same condition into a control or a text silently missing.
#include <cstdlib>
#include <new>

#include "core/fatal_text.h"
#include "toolkit/win/fatal.h"

namespace {

[[noreturn]] void OutOfMemory(std::size_t bytes) {
    // The heap has just failed: the text is composed on the stack.
    char text[160];
    tolvane::ComposeAllocationFailureText(bytes, text, sizeof text);
    tolvane::FatalRuntimeErrorText(text);
}

void* Allocate(std::size_t bytes) {
    if (void* p = std::malloc(bytes ? bytes : 1)) return p;
    OutOfMemory(bytes);
}

}  // namespace

void* operator new(std::size_t bytes) { return Allocate(bytes); }
void* operator new[](std::size_t bytes) { return Allocate(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
