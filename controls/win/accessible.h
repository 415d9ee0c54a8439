// What a screen reader is told about the windows of our own classes. Each
// answers WM_GETOBJECT for OBJID_CLIENT with an object that wraps the
// system's standard one (oleacc's CreateStdAccessibleObject) and adds only
// what that one cannot know: the tab strip's role and tabs, the banner's
// role and words. oleacc is loaded on the first request, never at start.
#pragma once
#include <windows.h>

namespace tolvane {

// Returns the result of WM_GETOBJECT for OBJID_CLIENT, or 0 for every other
// object id and wherever oleacc or one of its functions is missing: the
// window procedure then passes the message to the default procedure, as
// before.
//
// The page control: a page tab list whose tabs are its children 1 and 2,
// ahead of its child windows.
[[nodiscard]] LRESULT AnswerTabStripObject(HWND page, WPARAM wp, LPARAM lp);
// A picture box: a graphic named by `words` (code page 936; null: unnamed).
[[nodiscard]] LRESULT AnswerGraphicObject(HWND box, WPARAM wp, LPARAM lp, const char* words);

}  // namespace tolvane
