#pragma once
#include <windows.h>

#include <string>

namespace tolvane {

// The text value named by the last part of `fullPath` in the key named by the
// rest; REG_SZ and REG_EXPAND_SZ only (the latter expanded). Every failure
// gives the empty text.
std::string ReadRegistryText(HKEY root, const std::string& fullPath);

}  // namespace tolvane
