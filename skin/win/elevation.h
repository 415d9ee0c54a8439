// What the system folder's access rights on Vista and later call for: which
// Windows runs, whether this process is elevated, and the elevated helper.
#pragma once

namespace tolvane {

// Vista or later, read from the running system rather than from what a
// compatibility layer tells this process.
bool IsVistaOrLater();

// The token's elevation; false when it cannot be read (XP knows no elevation).
bool IsProcessElevated();

// Starts this program with kDeployArgument through the "runas" verb, so that
// the system asks the user for administrator rights, and waits for it. True
// when it ran and answered 0; false when the user declined, it could not be
// started, or it could not put both files in place.
bool RunElevatedDeployment();

// The whole of the helper process: the engine and the start-up skin written
// where missing. Its exit code: 0 when both files exist afterwards, 1 otherwise.
int RunDeployment();

}  // namespace tolvane
