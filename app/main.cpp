#include <windows.h>

#include "app/win/startup.h"
#include "skin/skin_plan.h"
#include "skin/win/elevation.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The elevated helper a first start on Vista or later asks for: no window,
    // no OLE, and above all no web page, which would open with its rights.
    if (tolvane::IsDeployCommandLine(GetCommandLineA())) return tolvane::RunDeployment();
    return tolvane::RunProgram(instance);
}
