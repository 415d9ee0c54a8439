// Code linked into a test program, or a DLL it loads, calls the system
// through its import table: a test that points a slot elsewhere watches
// those calls, or answers them as Wine cannot.
#pragma once
#include <windows.h>

namespace inproc {

// Points `module`'s import slots that hold `from` at `to`; returns how many.
inline int SwapImport(HMODULE module, void* from, void* to) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY iat = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    auto* slot = reinterpret_cast<void**>(base + iat.VirtualAddress);
    int n = 0;
    for (DWORD i = 0, was; i < iat.Size / sizeof *slot; ++i)
        if (slot[i] == from && VirtualProtect(&slot[i], sizeof *slot, PAGE_READWRITE, &was)) slot[i] = to, ++n;
    return n;
}

}  // namespace inproc
