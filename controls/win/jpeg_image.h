// Decodes an embedded JPEG into a 32-bit top-down DIB section.
#pragma once
#include <windows.h>

#include <cstddef>

#include "winutil/gdi_objects.h"

namespace tolvane {

// Returns the bitmap, or an empty owner if the bytes are not a JPEG the
// decoder accepts.
[[nodiscard]] GdiObject<HBITMAP> DecodeJpeg(const void* bytes, std::size_t size, int* width, int* height);

}  // namespace tolvane
