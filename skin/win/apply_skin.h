// Skin deployment and attachment, as start-up calls it.
#pragma once

namespace tolvane {

// Writes the engine and skin `skinNumber` to the system folder where missing,
// binds the engine and attaches the skin; a failure to bind is fatal.
void ApplySkin(int skinNumber);

}  // namespace tolvane
