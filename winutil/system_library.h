// System DLLs bound at run time: those XP lacks, and those a start need not
// pay for. Every run-time load of a system DLL goes through HeldOrSystemLibrary:
// a bare name would search the program's own folder first, where a planted
// copy could lie (known DLLs differ between Windows versions, so no list of
// exceptions is kept).
#pragma once
#include <windows.h>

#include "winutil/handles.h"

namespace tolvane {

// `file` in the system folder; false when the path would not fit.
[[nodiscard]] inline bool SystemFilePath(const char* file, char (&path)[MAX_PATH]) {
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n + 1 + static_cast<UINT>(lstrlenA(file)) >= MAX_PATH) return false;
    path[n] = '\\';
    lstrcpyA(path + n + 1, file);
    return true;
}

// A system DLL that is no known DLL, with a reference of our own: the copy
// the process holds already if it is the system folder's, or else the system
// folder's copy, loaded by its path. Never one found through the search path,
// which starts in the program's own folder where a planted copy could lie,
// nor one of the same name that something else loaded from elsewhere. Empty
// when the system folder has none. A caller that keeps the module for the
// process's life says so with Detach.
[[nodiscard]] inline Module HeldOrSystemLibrary(const char* file) {
    char path[MAX_PATH];
    if (!SystemFilePath(file, path)) return Module();
    HMODULE held = nullptr;
    if (GetModuleHandleExA(0, file, &held)) {
        Module module(held);
        char loaded[MAX_PATH];
        const DWORD n = GetModuleFileNameA(held, loaded, MAX_PATH);
        // As the file system compares names, case aside. The strings are
        // converted by the system locale's code page, the one these ANSI
        // calls spell paths in, before they are compared: a byte-wise
        // compare that folds case would fold the second byte of a code
        // page 936 character too, and take two different names for one.
        if (n > 0 && n < MAX_PATH &&
            CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, loaded, -1, path, -1) == CSTR_EQUAL)
            return module;
    }
    return Module(LoadLibraryA(path));
}

// An export as the function type it is; null for a null module. A name may be
// an ordinal (MAKEINTRESOURCEA).
template <typename Fn>
[[nodiscard]] Fn ProcOf(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The first thing a process does, before anything may load a DLL by name (OLE,
// the shell and the common dialogs do): from then on such a load searches the
// system folder only (Windows 8 and later; Vista and 7 with their 2011
// security update), or at least not the current directory (XP SP1 and
// later). Either is bound at run time: XP lacks the first.
inline void RestrictDllSearch() {
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto setDefault = ProcOf<BOOL(WINAPI*)(DWORD)>(kernel, "SetDefaultDllDirectories");
    if (setDefault && setDefault(kSearchSystem32)) return;
    if (const auto setDirectory = ProcOf<BOOL(WINAPI*)(LPCSTR)>(kernel, "SetDllDirectoryA")) setDirectory("");
}

}  // namespace tolvane
