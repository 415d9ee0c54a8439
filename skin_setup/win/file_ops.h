// The two file operations skin deployment needs.
#pragma once
#include <initializer_list>
#include <string>

#include "skin_setup/skin_plan.h"

namespace tolvane {

// Anything the search finds counts: a directory, a hidden file, a wildcard match.
bool FileExists(const std::string& path);

// Puts the blocks, in order (empty ones skipped), under `path` whole or not at
// all, and never replaces what is there: the bytes go to a file of the same
// folder that this call creates under a name of its own, which takes its
// final name only once complete and flushed. A file that took the name
// meanwhile wins and counts as written. On failure nothing is left behind.
// Refused for rights only when the folder refused every name tried; a
// later step that fails has failed. Temporary files of `path` that an
// earlier write left behind (killed, or cut off by a power cut) go first.
WriteResult WriteWholeFile(const std::string& path, std::initializer_list<ByteBlock> blocks);

}  // namespace tolvane
