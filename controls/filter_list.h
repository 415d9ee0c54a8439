// The common dialog's filter text, turned into the platform's list form.
#pragma once
#include <string>

namespace tolvane {

// "label|pattern|..." -> "label\0pattern\0...\0\0". Trailing white space is
// trimmed and "||" appended when missing; an empty filter gives an empty result.
// The closing zeros are part of the string's own bytes: ".exe" gives the seven
// bytes ".exe\0\0\0" (label ".exe", an empty pattern, the list's end).
std::string BuildFilterList(const std::string& filter);

// 1-based entry selected by the initial filter index: below 0 -> 1, v -> v + 1.
int FilterEntryFor(int initialIndex);

}  // namespace tolvane
