#pragma once

namespace tolvane {

// Calls fn(a, b) and measures how far the stack pointer moved across the
// call: 0 when the callee removed exactly its two arguments. The stack
// pointer is restored before this returns, so a callee with the wrong
// calling convention cannot take the caller down with it.
extern "C" int TolvaneCallGuarded(const void* fn, const char* a, const char* b, int* stackDelta);

}  // namespace tolvane
