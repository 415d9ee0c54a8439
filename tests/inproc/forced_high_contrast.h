// Wine answers SPI_GETHIGHCONTRAST with the setting off, always, and cannot
// set it. The modules that read it (the test program, which holds the
// program's code, and the skin engine) do so through SystemParametersInfoA:
// while this lives, their import of it answers the setting as `on` says.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

namespace inproc {

class ForcedHighContrast {
public:
    static inline bool on = false;
    explicit ForcedHighContrast(std::initializer_list<HMODULE> modules) {
        for (HMODULE m : modules)
            if (void** slot = ImportSlot(m)) slots_.push_back(slot), Swap(slot, reinterpret_cast<void*>(&Answer));
    }
    ~ForcedHighContrast() {
        for (void** slot : slots_) Swap(slot, reinterpret_cast<void*>(real_));
    }
    size_t Replaced() const { return slots_.size(); }

private:
    using Spi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
    static inline Spi real_ = reinterpret_cast<Spi>(GetProcAddress(GetModuleHandleA("user32.dll"), "SystemParametersInfoA"));
    static BOOL WINAPI Answer(UINT action, UINT param, PVOID data, UINT ini) {
        if (action != SPI_GETHIGHCONTRAST) return real_(action, param, data, ini);
        static_cast<HIGHCONTRASTA*>(data)->dwFlags = on ? HCF_HIGHCONTRASTON : 0;
        return TRUE;
    }
    static void Swap(void** slot, void* with) {
        DWORD was = 0;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was);
        *slot = with;
        VirtualProtect(slot, sizeof *slot, was, &was);
    }
    // The module's import address slot of user32's SystemParametersInfoA, found by name.
    static void** ImportSlot(HMODULE m) {
        if (!m) return nullptr;
        auto* base = reinterpret_cast<BYTE*>(m);
        const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const DWORD at = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + at); at && d->Name; ++d) {
            if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), "user32.dll") != 0) continue;
            auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
            for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); name->u1.AddressOfData; ++name, ++slot)
                if (!IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) &&
                    lstrcmpA(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)->Name, "SystemParametersInfoA") == 0)
                    return reinterpret_cast<void**>(&slot->u1.Function);
        }
        return nullptr;
    }
    std::vector<void**> slots_;
};

}  // namespace inproc
