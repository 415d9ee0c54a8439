// The names under which a file of the system folder is written before it
// takes its final name, and which files of that folder are such leftovers.
#pragma once
#include <string>

namespace tolvane {

// Try `n` of process `pid` at writing `path`: "<path>.<pid>-<n>.tmp", in the
// same folder, so that the rename stays on one volume. The name says what
// the file will become and whose it is.
std::string TempNameFor(const std::string& path, unsigned long pid, unsigned n);

// Whether `found`, a file name of the folder (without the folder), is a
// temporary name of ours for the file `finalName` (also without the folder),
// the file system's letter case ignored; `pid` gets the process that wrote
// it. Nothing else in the folder is ours.
bool IsTempNameOf(const std::string& found, const std::string& finalName, unsigned long* pid);

}  // namespace tolvane
