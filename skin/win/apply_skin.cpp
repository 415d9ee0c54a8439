// Deployment of the skin engine and a skin file, the engine binding and the
// guarded engine call.
#include <windows.h>

#include "core/fatal_text.h"
#include "resources/resource_ids.h"
#include "skin/skin_plan.h"
#include "skin/win/apply_skin.h"
#include "skin/win/dll_binding.h"
#include "skin/win/elevation.h"
#include "skin/win/file_ops.h"
#include "skin/win/guarded_call.h"
#include "toolkit/win/fatal.h"
#include "toolkit/win/form_api.h"
#include "toolkit/win/resource_bytes.h"

namespace tolvane {

namespace {

// The library is the engine's path in the system folder (InstalledSkinPaths).
struct DllBinding {
    const char* exportName;
    HMODULE module = nullptr;
    FARPROC function = nullptr;
};
// The binding lives from the first call to shutdown, as the engine does.
DllBinding g_engine{kSkinAttachExport};

// Asked of the system, not assumed: on another drive "C:\WINDOWS\system" may be
// a folder any user can create, and fill with an engine every user would run.
// GetWindowsDirectory would be a folder of the user's own on a terminal server.
std::string WindowsFolder() {
    char folder[MAX_PATH];
    const UINT n = GetSystemWindowsDirectoryA(folder, sizeof folder);
    return n == 0 || n >= sizeof folder ? std::string() : std::string(folder, n);
}

// Asked once: the Windows folder does not move while the program runs.
SkinPaths g_paths;
bool g_pathsKnown = false;

const SkinPaths& InstalledSkinPaths() {
    if (!g_pathsKnown) g_paths = SkinPathsFor(WindowsFolder());
    g_pathsKnown = true;
    return g_paths;
}

ByteBlock ResourceBlock(int id) {
    const ResourceBytes bytes = RcDataBytes(id);
    return ByteBlock{bytes.data, bytes.size};
}

SkinBlocks EmbeddedBlocks() {
    return SkinBlocks{ResourceBlock(IDR_SKIN_ENGINE), ResourceBlock(IDR_SKIN_2008), ResourceBlock(IDR_SKIN_2009)};
}

// FARPROC carries no signature; going through void(*)() says so to the compiler.
SkinAttachFn AsAttach(FARPROC f) { return reinterpret_cast<SkinAttachFn>(reinterpret_cast<void (*)()>(f)); }

// "#123" names an export by ordinal: the low 16 bits of the decimal number.
FARPROC LookUp(HMODULE module, const char* name) {
    if (name[0] != '#') return GetProcAddress(module, name);
    unsigned value = 0;
    for (const char* p = name + 1; *p >= '0' && *p <= '9'; ++p) value = value * 10 + static_cast<unsigned>(*p - '0');
    return GetProcAddress(module, MAKEINTRESOURCEA(value & 0xFFFF));
}

class Win32SkinPlatform : public SkinPlatform {
public:
    bool FileExists(const std::string& path) override { return tolvane::FileExists(path); }
    WriteResult WriteWholeFile(const std::string& path, ByteBlock block) override {
        unsigned long error = ERROR_SUCCESS;
        if (tolvane::WriteWholeFile(path, {block}, &error)) return WriteResult::Written;
        return error == ERROR_ACCESS_DENIED ? WriteResult::RefusedForRights : WriteResult::Failed;
    }
    bool IsVistaOrLater() override { return tolvane::IsVistaOrLater(); }
    bool IsElevated() override { return IsProcessElevated(); }
    void DeployElevated() override { RunElevatedDeployment(MainWindow()); }
    void AttachSkin(const std::string& skinPath) override {
        SkinAttachFn attach = BindDllCommand();
        int stackDelta = 0;
        TolvaneCallGuarded(reinterpret_cast<const void*>(attach), skinPath.c_str(), "", &stackDelta);
        if (stackDelta != 0) FatalRuntimeError(kStackImbalance, kStackImbalanceCode);
    }
};

}  // namespace

SkinAttachFn BindDllCommand() {
    if (g_engine.function) return AsAttach(g_engine.function);
    const std::string& library = InstalledSkinPaths().engine;
    // The path has a drive colon: exactly that file is loaded, no folder is
    // searched. Without a known Windows folder there is nothing to load.
    HMODULE module = library.empty() ? nullptr : LoadLibraryA(library.c_str());
    FARPROC function = module ? LookUp(module, g_engine.exportName) : nullptr;
    if (!function) {
        if (module) FreeLibrary(module);
        FatalRuntimeError(BindFailureMessage(library, g_engine.exportName), 0);
    }
    g_engine.module = module;
    g_engine.function = function;
    return AsAttach(function);
}

void ReleaseBoundLibraries() {
    if (g_engine.module) FreeLibrary(g_engine.module);
    g_engine.module = nullptr;
    g_engine.function = nullptr;
}

void ApplySkin(int skinNumber) {
    Win32SkinPlatform platform;
    ApplySkinSteps(skinNumber, InstalledSkinPaths(), platform, EmbeddedBlocks());
}

int RunDeployment() {
    Win32SkinPlatform platform;
    return DeployStartupFiles(InstalledSkinPaths(), platform, EmbeddedBlocks()) ? 0 : 1;
}

}  // namespace tolvane
