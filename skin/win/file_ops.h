// The two file operations skin deployment needs.
#pragma once
#include <initializer_list>
#include <string>

#include "skin/skin_plan.h"

namespace tolvane {

// Anything the search finds counts: a directory, a hidden file, a wildcard match.
bool FileExists(const std::string& path);

// Creates or truncates `path` and writes the blocks in order (empty ones
// skipped). True only when every byte was written and the file closed;
// otherwise `error`, when given, gets the system error of the step that
// failed (ERROR_ACCESS_DENIED: the folder refuses this process).
bool WriteWholeFile(const std::string& path, std::initializer_list<ByteBlock> blocks,
                    unsigned long* error = nullptr);

}  // namespace tolvane
