// Wine returns the setting off for SPI_GETHIGHCONTRAST, always, and cannot
// set it. The modules that read it (this test program, which holds the
// program's code, and the skin engine) ask SystemParametersInfoA through
// their import tables: while this lives, those of `modules` return what `on` says.
#pragma once
#include <windows.h>

namespace inproc {

struct ForcedHighContrast {
    using Spi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
    static inline bool on = false;
    static inline const Spi real = reinterpret_cast<Spi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32"), "SystemParametersInfoA")));
    static BOOL WINAPI Answer(UINT action, UINT param, PVOID data, UINT ini) {
        if (action != SPI_GETHIGHCONTRAST) return real(action, param, data, ini);
        static_cast<HIGHCONTRASTA*>(data)->dwFlags = on ? HCF_HIGHCONTRASTON : 0;
        return TRUE;
    }
    // Points the import address slots of the modules that hold `from` at `to`; returns how many.
    int Redirect(Spi from, Spi to) const {
        int n = 0;
        for (HMODULE m : modules) {
            if (!m) continue;
            auto* base = reinterpret_cast<BYTE*>(m);
            const auto* nt =
                reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
            const IMAGE_DATA_DIRECTORY iat = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
            auto* slot = reinterpret_cast<Spi*>(base + iat.VirtualAddress);
            for (DWORD i = 0, was; i < iat.Size / sizeof *slot; ++i)
                if (slot[i] == from && VirtualProtect(&slot[i], sizeof *slot, PAGE_READWRITE, &was)) slot[i] = to, ++n;
        }
        return n;
    }
    HMODULE modules[2] = {};
    const int replaced = Redirect(real, Answer);
    ~ForcedHighContrast() { Redirect(Answer, real); }
};

}  // namespace inproc
