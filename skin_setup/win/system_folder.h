// Where the engine and the skins live: the system folder of this Windows.
#pragma once

#include "skin_setup/skin_plan.h"

namespace tolvane {

// Asked of the system once; empty paths when it cannot say.
const SkinPaths& InstalledSkinPaths();

}  // namespace tolvane
