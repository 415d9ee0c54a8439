#include "toolkit/win/text_buffer.h"

#include "core/fatal_text.h"
#include "toolkit/win/fatal.h"

namespace tolvane {

void ResizeOrDie(std::string& text, std::size_t size) {
    // A size the string cannot even ask for is reported here, as what was
    // asked; a size it asks for and does not get ends in operator new.
    if (size > text.max_size()) FatalRuntimeError(AllocationFailureMessage(size), 0);
    text.resize(size);
}

std::string WindowText(HWND hwnd) {
    std::string text;
    if (!hwnd) return text;
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0) return text;
    ResizeOrDie(text, static_cast<std::size_t>(length) + 1);
    const int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

}  // namespace tolvane
