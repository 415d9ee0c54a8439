#include "skin_setup/win/dll_binding.h"

#include <windows.h>

#include "core/fatal_text.h"
#include "skin_setup/skin_plan.h"
#include "skin_setup/win/system_folder.h"
#include "toolkit/win/fatal.h"
#include "winutil/handles.h"

namespace tolvane {

namespace {

// The library is the engine's path in the system folder (InstalledSkinPaths).
struct DllBinding {
    const char* exportName;
    HMODULE module = nullptr;
    FARPROC function = nullptr;
};
// The binding lives from the first call to shutdown, as the engine does. The
// module is freed by that shutdown, explicitly (no owner with a
// destructor): unloaded at the runtime's exit instead, the engine would go
// while windows it has subclassed may still exist.
DllBinding g_engine{kSkinAttachExport};

// FARPROC carries no signature; going through void(*)() says so to the compiler.
SkinAttachFn AsAttach(FARPROC f) { return reinterpret_cast<SkinAttachFn>(reinterpret_cast<void (*)()>(f)); }

// "#123" names an export by ordinal: the low 16 bits of the decimal number.
FARPROC LookUp(HMODULE module, const char* name) {
    if (name[0] != '#') return GetProcAddress(module, name);
    unsigned value = 0;
    for (const char* p = name + 1; *p >= '0' && *p <= '9'; ++p) value = value * 10 + static_cast<unsigned>(*p - '0');
    return GetProcAddress(module, MAKEINTRESOURCEA(value & 0xFFFF));
}

}  // namespace

SkinAttachFn BindDllCommand() {
    if (g_engine.function) return AsAttach(g_engine.function);
    const std::string& library = InstalledSkinPaths().engine;
    // The path has a drive colon: exactly that file is loaded, no folder is
    // searched. Without a known Windows folder there is nothing to load.
    Module module(library.empty() ? nullptr : LoadLibraryA(library.c_str()));
    FARPROC function = module ? LookUp(module.Get(), g_engine.exportName) : nullptr;
    if (!function) {
        module.Reset();  // the fatal path does not come back to free it
        FatalRuntimeError(BindFailureMessage(library, g_engine.exportName), 0);
    }
    g_engine.module = module.Detach();
    g_engine.function = function;
    return AsAttach(function);
}

void ReleaseBoundLibraries() {
    if (g_engine.module) FreeLibrary(g_engine.module);
    g_engine.module = nullptr;
    g_engine.function = nullptr;
}

}  // namespace tolvane
