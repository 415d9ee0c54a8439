// Texts read from the platform. Running out of memory for one is one of the
// conditions the program does not survive: it ends with the fatal error box.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace tolvane {

// Resizes `text` to `size` bytes or ends the program with the allocation error.
void ResizeOrDie(std::string& text, std::size_t size);

// The whole window text of `hwnd`; empty for a null window.
std::string WindowText(HWND hwnd);

}  // namespace tolvane
