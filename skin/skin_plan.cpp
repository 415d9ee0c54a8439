#include "skin/skin_plan.h"

namespace tolvane {

const char* const kSkinEnginePath = "C:\\WINDOWS\\system\\Skin.dll";
const char* const kSkin2008Path = "C:\\WINDOWS\\system\\qq2008.she";
const char* const kSkin2009Path = "C:\\WINDOWS\\system\\QQ2009.she";
const char* const kSkinAttachExport = "SkinH_Attach_Ex";

const char* SkinPathFor(int skinNumber) {
    switch (skinNumber) {
        case 1: return kSkin2008Path;
        case 2: return kSkin2009Path;
        default: return nullptr;
    }
}

void ApplySkinSteps(int skinNumber, SkinPlatform& platform, const SkinBlocks& blocks) {
    // A failed write is not checked here: a missing engine surfaces as a fatal
    // bind failure, a missing skin file is the engine's business.
    if (!platform.FileExists(kSkinEnginePath)) {
        platform.WriteWholeFile(kSkinEnginePath, blocks.engine);
    }
    const char* skinPath = SkinPathFor(skinNumber);
    if (skinPath == nullptr) return;
    const ByteBlock& skinBlock = skinNumber == 1 ? blocks.skin2008 : blocks.skin2009;
    // An existing file is used as it is, whatever it holds.
    if (!platform.FileExists(skinPath)) {
        platform.WriteWholeFile(skinPath, skinBlock);
    }
    platform.AttachSkin(skinPath);
}

}  // namespace tolvane
