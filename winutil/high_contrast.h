// The user's high-contrast setting and the system colours it paints with.
// The program and the skin engine each link their own copy, so each keeps
// its own reading, made anew when one of its windows hears of a change.
#pragma once
#include <windows.h>

#include "core/contrast.h"

namespace tolvane {

// The setting as last read; read at the first call.
bool HighContrast();
// Reads it anew from the system; true when it changed.
bool ReadHighContrast();

// A theme switch sends all three, and each may be the only one a change of
// colours or of high contrast brings: all are taken the same.
inline bool IsDisplaySettingsChange(UINT msg) {
    return msg == WM_SYSCOLORCHANGE || msg == WM_SETTINGCHANGE || msg == WM_THEMECHANGED;
}

// The look of `part` under the setting as last read.
inline Look LookNow(Part part) { return LookOf(part, HighContrast()); }

inline COLORREF SysColourRef(SysColour c) { return GetSysColor(static_cast<int>(c)); }

// What a window of children does on such a change, as Windows asks of a
// top-level window: its children, which never hear of it from the system,
// are sent WM_SYSCOLORCHANGE.
void PassColourChangeToChildren(HWND parent);

}  // namespace tolvane
