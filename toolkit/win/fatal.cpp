#include "toolkit/win/fatal.h"

#include <windows.h>

#include "core/fatal_text.h"
#include "toolkit/win/events.h"

namespace tolvane {

namespace {
// Registered once at start: memory can run out anywhere, before any window.
FatalRelease g_release = nullptr;
}  // namespace

void SetFatalRelease(FatalRelease release) { g_release = release; }

void FatalRuntimeErrorText(const char* text) {
    // One box only: a second fatal condition while the box is up (a paint
    // behind it running out of memory) ends the process at once.
    static bool reporting = false;
    if (reporting) ExitProcess(static_cast<UINT>(-1));
    reporting = true;
    SuspendEvents();
    MessageBoxA(nullptr, text, kFatalCaption, MB_OK | MB_ICONERROR);
    if (g_release) g_release();
    ExitProcess(static_cast<UINT>(-1));
}

void FatalRuntimeError(const std::string& message, int code) {
    FatalRuntimeErrorText(FatalErrorText(message, code).c_str());
}

}  // namespace tolvane
