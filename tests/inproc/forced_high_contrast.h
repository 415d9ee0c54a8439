// Wine returns the setting off for SPI_GETHIGHCONTRAST, always, and cannot
// set it. The modules that read it (this test program, which holds the
// program's code, and the skin engine) ask SystemParametersInfoA through
// their import tables: while this lives, those of `modules` return what `on` says.
#pragma once
#include <windows.h>

#include "tests/inproc/import_slot.h"

namespace inproc {

struct ForcedHighContrast {
    using Spi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
    static inline bool on = false;
    static inline int captionFaceAsked = 0;  // SPI_GETNONCLIENTMETRICS, where the caption's face comes from
    static inline const Spi real = reinterpret_cast<Spi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32"), "SystemParametersInfoA")));
    static BOOL WINAPI Answer(UINT action, UINT param, PVOID data, UINT ini) {
        captionFaceAsked += action == SPI_GETNONCLIENTMETRICS;
        if (action != SPI_GETHIGHCONTRAST) return real(action, param, data, ini);
        static_cast<HIGHCONTRASTA*>(data)->dwFlags = on ? HCF_HIGHCONTRASTON : 0;
        return TRUE;
    }
    // Points the modules' imports of `from` at `to`; returns how many.
    int Redirect(Spi from, Spi to) const {
        int n = 0;
        for (HMODULE m : modules)
            if (m) n += SwapImport(m, reinterpret_cast<void*>(from), reinterpret_cast<void*>(to));
        return n;
    }
    HMODULE modules[2] = {};
    const int replaced = Redirect(real, Answer);
    ~ForcedHighContrast() { Redirect(Answer, real); }
};

}  // namespace inproc
