// What the system folder's access rights on Vista and later call for: which
// Windows runs, whether this process is elevated, and the elevated helper.
#pragma once
#include <windows.h>

#include "skin_setup/skin_plan.h"
#include "winutil/handles.h"

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

// The starts of one session that ask take turns through this mutex, made
// with default security by the normal start only: one that the elevated
// helper made could refuse the starts that are not elevated.
constexpr char kPromptMutexName[] = "Local\\TolvaneElevationPrompt";

// A start waits for another's turn this long: the other's prompt answered,
// in however long the user takes, and its helper's minute.
constexpr DWORD kPromptLockWaitMs = 2 * kDeployWaitMs;

// Waits for the prompt mutex at most `waitMs`, answering messages as the
// wait for the helper does. `mutex` holds it afterwards; an owned or
// abandoned one is the caller's to release.
PromptLock LockPromptMutex(KernelHandle* mutex, DWORD waitMs = kPromptLockWaitMs);
// Lets go of an owned or abandoned one and closes it.
void UnlockPromptMutex(KernelHandle* mutex);

}  // namespace tolvane
