// The common dialog's filter text, turned into the platform's list form.
#pragma once
#include <string>

namespace tolvane {

// "label|pattern|..." -> "label\0pattern\0...\0\0". Trailing white space is
// trimmed and "||" appended when missing; an empty filter gives an empty result.
std::string BuildFilterList(const std::string& filter);

// 1-based entry selected by the initial filter index: below 0 -> 1, v -> v + 1.
int FilterEntryFor(int initialIndex);

}  // namespace tolvane
