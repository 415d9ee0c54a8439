// System DLLs bound at run time: those XP lacks, and those a start need not
// pay for.
#pragma once
#include <windows.h>

namespace tolvane {

// `file` in the system folder; false when the path would not fit.
inline bool SystemFilePath(const char* file, char (&path)[MAX_PATH]) {
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n + 1 + static_cast<UINT>(lstrlenA(file)) >= MAX_PATH) return false;
    path[n] = '\\';
    lstrcpyA(path + n + 1, file);
    return true;
}

// A system DLL that is no known DLL: the copy the process holds already, with
// a reference of our own, or else the system folder's copy, never one found
// through the search path, which starts in the program's own folder where a
// planted copy could lie. Null when there is neither.
inline HMODULE HeldOrSystemLibrary(const char* file) {
    HMODULE module = nullptr;
    if (GetModuleHandleExA(0, file, &module)) return module;
    char path[MAX_PATH];
    return SystemFilePath(file, path) ? LoadLibraryA(path) : nullptr;
}

// An export as the function type it is; null for a null module. A name may be
// an ordinal (MAKEINTRESOURCEA).
template <typename Fn>
Fn ProcOf(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace tolvane
