// The page control with owner-drawn tabs, one per caption it is made with.
// It paints into an off-screen bitmap and copies it in one step, so the tab
// strip never flickers.
#pragma once
#include <windows.h>

namespace tolvane {

[[nodiscard]] bool RegisterPageControlClass(HINSTANCE instance);

// The tab captions, one per page, borrowed for the control's whole life.
struct PageCaptions {
    const char* const* texts;
    int count;
};
// Creation parameter (lpParam of CreateWindowEx): the captions and the
// scale the control draws at.
struct PageControlSettings {
    PageCaptions captions;
    int dpi;
};
// Draws at another scale from now on: the font, the tabs and the lines.
void SetPageControlDpi(HWND page, int dpi);

// Called when the user presses the left button on a tab.
using TabPressedFn = void (*)(int page);
void SetPageControlTabPressed(HWND page, TabPressedFn fn);

int PageControlCurrent(HWND page);
// Makes `index` current and repaints; no control is shown or hidden here.
// A change raises EVENT_OBJECT_SELECTION for the new tab.
void PageControlSetCurrent(HWND page, int index);

// What a press of the left button on tab `index` runs (the tab-pressed
// callback): now, or posted to the control, for a caller that must not run
// it inside its own call. False when it could not be posted.
void PressPageControlTab(HWND page, int index);
bool PostPageControlTabPress(HWND page, int index);

// The tabs as the control shows them, for its accessible object: the
// caption (code page 936, borrowed) and the rectangle in client coordinates.
struct PageTab {
    const char* caption;
    RECT rect;
};
// A page control window of this process.
bool IsPageControl(HWND hwnd);
int PageControlTabCount(HWND page);
bool PageControlTab(HWND page, int index, PageTab* tab);

}  // namespace tolvane
