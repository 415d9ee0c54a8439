// Skin deployment and attachment, as start-up calls it.
#pragma once

namespace tolvane {

// Writes the engine and skin `skinNumber` to the system folder where missing,
// binds the engine and attaches the skin; a failure to bind is fatal.
void ApplySkin(int skinNumber);

// The whole of the elevated helper process: the engine and the start-up skin
// written where missing. Its exit code: 0 when both are whole in place
// afterwards, 1 otherwise.
int RunDeployment();

}  // namespace tolvane
