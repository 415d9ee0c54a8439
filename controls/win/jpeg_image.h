// Decodes an embedded JPEG into a 32-bit top-down DIB section.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tolvane {

// Null when the bytes are not a JPEG the decoder accepts. The caller owns the bitmap.
HBITMAP DecodeJpeg(const void* bytes, std::size_t size, int* width, int* height);

}  // namespace tolvane
