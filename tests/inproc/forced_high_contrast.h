// Wine answers SPI_GETHIGHCONTRAST with the setting off, always, and cannot
// set it. The modules that read it (this test program, which holds the
// program's code, and the skin engine) ask SystemParametersInfoA through
// their import tables: while this lives, those of `modules` answer as `on` says.
#pragma once
#include <windows.h>

#include "tests/inproc/import_slot.h"

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
    // Points the modules' imports of the setting at `to`; answers how many of them import it.
    int Redirect(Spi to) const {
        int n = 0;
        for (HMODULE m : modules)
            n += m && SwapImport(m, "user32.dll", "SystemParametersInfoA", reinterpret_cast<void*>(to));
        return n;
    }
    HMODULE modules[2] = {};
    const int replaced = Redirect(Answer);
    ~ForcedHighContrast() { Redirect(real); }
};

}  // namespace inproc
