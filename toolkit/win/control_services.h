// What the handlers and the in-process tests may do with the main window's
// controls, by their index in the control table.
#pragma once
#include <windows.h>

#include <string>

#include "toolkit/control_table.h"

namespace tolvane {

// One main window per process: these services address it. Null while there is none.
HWND MainWindow();

HWND ControlWindow(int index);  // null for the components
HWND PageControlWindow();

std::string GetControlText(int index);
void SetControlText(int index, const std::string& text);
void SetLabelCaption(int index, const std::string& text);  // with the repaint of what lies beneath
void SetVisibleFlag(int index, bool visible);
bool VisibleFlag(int index);
void FocusControl(int index);

int GetControlWidth(int index);                    // window rectangle width
void SetControlWidth(int index, long long width);  // clamped, keeps left, top, height
int PageControlWidth();
int MainWindowDpi();  // the window's own display scale, which its form is laid out at

void SelectPage(int index);
int CurrentPage();

// The common dialog component.
void SetDialogFilter(const std::string& filter);
std::string DialogFileName();
bool OpenDialog();  // true when the user confirmed a file

}  // namespace tolvane
