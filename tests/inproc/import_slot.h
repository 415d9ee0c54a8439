// Code linked into a test program, or a DLL it loads, calls the system
// through its import table: a test that points one slot elsewhere watches
// those calls, or answers them as Wine cannot.
#pragma once
#include <windows.h>

namespace inproc {

// Points `module`'s import of `dll`'s `name` at `to`; answers what the slot
// held, null when the module imports no such name.
inline void* SwapImport(HMODULE module, const char* dll, const char* name, void* to) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), dll) != 0) continue;
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (auto* n = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk); n->u1.AddressOfData; ++n, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(n->u1.Ordinal) ||
                lstrcmpA(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + n->u1.AddressOfData)->Name, name) != 0)
                continue;
            DWORD was = 0;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was);
            void* held = reinterpret_cast<void*>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(to);
            VirtualProtect(slot, sizeof *slot, was, &was);
            return held;
        }
    }
    return nullptr;
}

}  // namespace inproc
