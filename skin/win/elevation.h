// What the system folder's access rights on Vista and later call for: which
// Windows runs, whether this process is elevated, and the elevated helper.
#pragma once
#include <windows.h>

#include "skin/skin_plan.h"

namespace tolvane {

// The version of the running system's own kernel32.dll. Run in a
// compatibility mode for XP (a common fix users apply to older tools),
// GetVersionEx reports XP while the system folder stays closed; the file's
// version resource is not subject to that layer.
WindowsVersion KernelVersion();

bool IsVistaOrLater();

// The token's elevation; false when it cannot be read (XP knows no elevation).
bool IsProcessElevated();

// How long a start waits for the elevated helper to end, counted from the
// answer to the consent prompt: ShellExecuteEx returns only once the user
// has answered, however long that takes.
constexpr DWORD kDeployWaitMs = 60000;

// Starts this program with kDeployArgument through the "runas" verb, so that
// the system asks the user for administrator rights, and once they are given
// waits for it at most `waitMs`, answering the messages sent to this thread
// meanwhile; events raised meanwhile are dropped, a quit message is posted
// again afterwards. `owner`, a window of this process, places the prompt.
void RunElevatedDeployment(HWND owner, DWORD waitMs = kDeployWaitMs);

}  // namespace tolvane
