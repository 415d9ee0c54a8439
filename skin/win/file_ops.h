// The two file operations skin deployment needs.
#pragma once
#include <initializer_list>
#include <string>

#include "skin/skin_plan.h"

namespace tolvane {

// Anything the search finds counts: a directory, a hidden file, a wildcard match.
bool FileExists(const std::string& path);

// Puts the blocks, in order (empty ones skipped), under `path` whole or not at
// all, and never replaces what is there: the bytes go to a fresh file of the
// same folder, which takes its final name only once complete and flushed. A
// file that took the name meanwhile wins and counts as written. On failure
// nothing is left behind and `error`, when given, gets the system error of
// the step that failed (ERROR_ACCESS_DENIED: the folder refuses this process).
bool WriteWholeFile(const std::string& path, std::initializer_list<ByteBlock> blocks,
                    unsigned long* error = nullptr);

}  // namespace tolvane
