// The one path by which the program gives up.
#pragma once
#include <string>

namespace tolvane {

// What the program holds that must be let go before it ends on a fatal
// condition (the bound engine, OLE); registered at start by whoever holds it.
using FatalRelease = void (*)();
void SetFatalRelease(FatalRelease release);

// Shows the runtime error box (no owner, "错误", OK with the error icon),
// runs the registered release, and ends the process with -1.
[[noreturn]] void FatalRuntimeError(const std::string& message, int code);

// The same with the box's whole text already composed; needs no heap of the
// program's own, so a failed allocation can end here.
[[noreturn]] void FatalRuntimeErrorText(const char* text);

}  // namespace tolvane
