// What a screen reader is told about the two of our own window classes whose
// standard object says too little: the page control and the picture box.
// Each answers WM_GETOBJECT for OBJID_CLIENT with an object that wraps the
// system's standard one (oleacc's CreateStdAccessibleObject) and adds only
// what that one cannot know: the tab list's role and its tabs, which a client
// can select and press like the system tab control's; a picture's role, its
// words and that it takes no focus. oleacc is loaded on the first request,
// never at start.
#pragma once
#include <windows.h>

namespace tolvane {

// Returns the result of WM_GETOBJECT for OBJID_CLIENT, or 0 for every other
// object id and whenever no object could be made (oleacc or one of its
// functions missing, no standard object, no memory): the window procedure
// then passes the message to the default procedure, which answers as for any
// window.
//
// The page control: a page tab list whose tabs, one per caption it was made
// with, are its children 1 to n, ahead of its child windows.
[[nodiscard]] LRESULT AnswerTabStripObject(HWND page, WPARAM wp, LPARAM lp);
// A picture box: a graphic named by `words` (code page 936; null: unnamed).
[[nodiscard]] LRESULT AnswerGraphicObject(HWND box, WPARAM wp, LPARAM lp, const char* words);

}  // namespace tolvane
