#include "skin_setup/win/system_folder.h"

#include <windows.h>

namespace tolvane {

namespace {

// Asked of the system, not assumed: on another drive "C:\WINDOWS\system" may be
// a folder any user can create, and fill with an engine every user would run.
// GetWindowsDirectory would be a folder of the user's own on a terminal server.
std::string WindowsFolder() {
    char folder[MAX_PATH];
    const UINT n = GetSystemWindowsDirectoryA(folder, sizeof folder);
    return n == 0 || n >= sizeof folder ? std::string() : std::string(folder, n);
}

// Asked once: the Windows folder does not move while the program runs. Plain
// globals: a function-local static would bring the runtime's thread-safe
// initialisation, 40 KB, into a one-thread program.
SkinPaths g_paths;
bool g_pathsKnown = false;

}  // namespace

const SkinPaths& InstalledSkinPaths() {
    if (!g_pathsKnown) g_paths = SkinPathsFor(WindowsFolder());
    g_pathsKnown = true;
    return g_paths;
}

}  // namespace tolvane
