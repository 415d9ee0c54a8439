#include <windows.h>

#include "app/win/startup.h"
#include "skin_setup/skin_plan.h"
#include "skin_setup/win/apply_skin.h"
#include "winutil/system_library.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything loads a DLL: a program started from a download folder
    // must not pick up what else lies there, least of all elevated.
    tolvane::RestrictDllSearch();
    // The elevated helper a first start on Vista or later asks for: no window,
    // no OLE, and above all no web page, which would open with its rights.
    if (tolvane::IsDeployCommandLine(GetCommandLineA())) return tolvane::RunDeployment();
    return tolvane::RunProgram(instance);
}
