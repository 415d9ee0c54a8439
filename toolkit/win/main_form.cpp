#include "toolkit/win/main_form.h"

#include "winutil/window_class.h"

namespace tolvane {

namespace {

// The window the handlers' services address: the program has one, and a
// handler names only the control it works on.
HWND g_mainWindow = nullptr;

}  // namespace

// The window goes with its form, and no later lookup may reach a handle
// that Windows can give to another window.
Form::~Form() {
    if (g_mainWindow == main) g_mainWindow = nullptr;
}

int Form::IndexOf(HWND hwnd) const {
    if (!hwnd) return -1;
    for (int i = 0; i < kControlCount; ++i)
        if (controls[i].hwnd == hwnd) return i;
    return -1;
}

void Form::Raise(int source, Event event, const EventArgs& args) const {
    if (events && !EventsSuspended()) events(source, event, args);
}

Form* MainForm() { return StateOf<Form>(g_mainWindow); }

void SetMainWindow(HWND main) { g_mainWindow = main; }

}  // namespace tolvane
