// The two-page control with owner-drawn tabs. It paints into an off-screen
// bitmap and copies it in one step, so the tab strip never flickers.
#pragma once
#include <windows.h>

namespace tolvane {

bool RegisterPageControlClass(HINSTANCE instance);

// Creation parameter (lpParam of CreateWindowEx): the tab captions, one per
// page, borrowed for the control's whole life.
struct PageCaptions {
    const char* const* texts;
    int count;
};

// Called when the user presses the left button on a tab.
using TabPressedFn = void (*)(int page);
void SetPageControlTabPressed(HWND page, TabPressedFn fn);

int PageControlCurrent(HWND page);
// Makes `index` current and repaints; no control is shown or hidden here.
void PageControlSetCurrent(HWND page, int index);

}  // namespace tolvane
