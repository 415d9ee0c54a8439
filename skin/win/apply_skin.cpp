// Deployment of the skin engine and a skin file, and the engine call.
#include <windows.h>

#include "app/win/handlers.h"
#include "skin/win/dll_binding.h"

namespace tolvane {

void ApplySkin(int) {}

SkinAttachFn BindDllCommand() { return nullptr; }

void ReleaseBoundLibraries() {}

}  // namespace tolvane
