// The one path by which the program gives up.
#pragma once
#include <string>

namespace tolvane {

// Shows the runtime error box (no owner, "错误", OK with the error icon),
// releases the bound libraries and OLE, and ends the process with -1.
[[noreturn]] void FatalRuntimeError(const std::string& message, int code);

// Shutdown's releases, shared with the fatal path.
void ReleaseLibrariesAndOle();

}  // namespace tolvane
