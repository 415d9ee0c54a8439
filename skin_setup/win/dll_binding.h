// The binding record of the one outside call the program makes.
#pragma once

namespace tolvane {

using SkinAttachFn = int(__stdcall*)(const char* skinFile, const char* password);

// The engine export, bound on first use; on failure the program ends with
// the fatal error box and this does not return.
SkinAttachFn BindDllCommand();

// Releases the engine if it was loaded (shutdown and the fatal path).
void ReleaseBoundLibraries();

}  // namespace tolvane
