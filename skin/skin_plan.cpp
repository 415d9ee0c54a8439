#include "skin/skin_plan.h"

namespace tolvane {

const char* const kSkinEnginePath = "C:\\WINDOWS\\system\\Skin.dll";
const char* const kSkin2008Path = "C:\\WINDOWS\\system\\qq2008.she";
const char* const kSkin2009Path = "C:\\WINDOWS\\system\\QQ2009.she";
const char* const kSkinAttachExport = "SkinH_Attach_Ex";
const char* const kDeployArgument = "/deploy";

const char* SkinPathFor(int skinNumber) {
    switch (skinNumber) {
        case 1: return kSkin2008Path;
        case 2: return kSkin2009Path;
        default: return nullptr;
    }
}

void ApplySkinSteps(int skinNumber, SkinPlatform& platform, const SkinBlocks& blocks) {
    // Since Vista the system folder takes writes only from an elevated process,
    // so a normal user's first start would end in the bind failure. Asking
    // helps only where elevation is what is missing, and one prompt per start
    // is enough: the elevated helper writes both files at once.
    bool elevationConsidered = false;
    auto write = [&](const char* path, const ByteBlock& block) {
        if (platform.WriteWholeFile(path, block) != WriteResult::RefusedForRights) return;
        if (elevationConsidered) return;
        elevationConsidered = true;
        if (platform.IsVistaOrLater() && !platform.IsElevated()) platform.DeployElevated();
    };
    // A failed write is not checked here: a missing engine surfaces as a fatal
    // bind failure, a missing skin file is the engine's business.
    if (!platform.FileExists(kSkinEnginePath)) write(kSkinEnginePath, blocks.engine);
    const char* skinPath = SkinPathFor(skinNumber);
    if (skinPath == nullptr) return;
    const ByteBlock& skinBlock = skinNumber == 1 ? blocks.skin2008 : blocks.skin2009;
    // An existing file is used as it is, whatever it holds.
    if (!platform.FileExists(skinPath)) write(skinPath, skinBlock);
    platform.AttachSkin(skinPath);
}

bool DeployStartupFiles(SkinPlatform& platform, const SkinBlocks& blocks) {
    // Never asks for anything itself: it runs elevated or not at all.
    if (!platform.FileExists(kSkinEnginePath)) platform.WriteWholeFile(kSkinEnginePath, blocks.engine);
    if (!platform.FileExists(kSkin2009Path)) platform.WriteWholeFile(kSkin2009Path, blocks.skin2009);
    return platform.FileExists(kSkinEnginePath) && platform.FileExists(kSkin2009Path);
}

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool IsDeployCommandLine(const char* commandLine) {
    if (commandLine == nullptr) return false;
    const char* p = commandLine;
    // The program name: a quoted part may hold blanks; the name ends at the
    // first blank outside quotes, as the C runtime splits it.
    bool quoted = false;
    for (; *p && (quoted || !IsBlank(*p)); ++p)
        if (*p == '"') quoted = !quoted;
    while (IsBlank(*p)) ++p;
    for (const char* want = kDeployArgument; *want; ++want, ++p)
        if (AsciiLower(*p) != *want) return false;
    while (IsBlank(*p)) ++p;
    return *p == '\0';
}

}  // namespace tolvane
