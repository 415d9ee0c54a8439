#include "skin_setup/skin_plan.h"

namespace tolvane {

const char* const kSkinAttachExport = "SkinH_Attach_Ex";
const char* const kDeployArgument = "/deploy";

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsAsciiIgnoringCase(const std::string& text, const char* want) {
    std::size_t i = 0;
    for (; want[i]; ++i)
        if (i >= text.size() || AsciiLower(text[i]) != AsciiLower(want[i])) return false;
    return i == text.size();
}

// Two starts at one moment would each ask for the same job: each asks in
// its turn, and a start whose turn comes after another's helper wrote the
// engine asks nothing. A turn that never comes within the wait asks as
// before, so that nothing holding the lock keeps a start back for good.
void AskInTurn(const SkinPaths& paths, SkinPlatform& platform) {
    const PromptLock lock = platform.LockPrompt();
    const bool owned = lock == PromptLock::Owned || lock == PromptLock::Abandoned;
    if (!owned || !platform.FileExists(paths.engine)) platform.DeployElevated();
    if (owned) platform.UnlockPrompt();
}

}  // namespace

SkinPaths SkinPathsFor(const std::string& windowsFolder) {
    if (windowsFolder.empty()) return SkinPaths{};
    std::string system;
    if (EqualsAsciiIgnoringCase(windowsFolder, "C:\\WINDOWS")) {
        system = "C:\\WINDOWS\\system";
    } else {
        // Only a drive's root ends in a backslash, as in D:\; anywhere else the
        // last byte may be the second half of a double-byte character.
        const bool root = windowsFolder.size() == 3 && windowsFolder[1] == ':' && windowsFolder[2] == '\\';
        system = windowsFolder + (root ? "system" : "\\system");
    }
    return SkinPaths{system + "\\Skin.dll", system + "\\qq2008.she", system + "\\QQ2009.she"};
}

const std::string* SkinPathFor(const SkinPaths& paths, int skinNumber) {
    switch (skinNumber) {
        case 1: return &paths.skin2008;
        case 2: return &paths.skin2009;
        default: return nullptr;
    }
}

bool ClosesSystemFolder(const WindowsVersion& version) { return version.known && version.major >= 6; }

void ApplySkinSteps(int skinNumber, const SkinPaths& paths, SkinPlatform& platform, const SkinBlocks& blocks) {
    // A failed write is not checked here: a missing engine surfaces as a fatal
    // bind failure, a missing skin file is the engine's business.
    if (!platform.FileExists(paths.engine) &&
        platform.WriteWholeFile(paths.engine, blocks.engine) == WriteResult::RefusedForRights &&
        skinNumber == kStartupSkin) {
        // Since Vista the system folder takes writes only from an elevated
        // process, and this start would end in the bind failure. The helper
        // writes the engine and the start-up skin, so only that skin may
        // ask; a skin file alone is never worth a prompt: without it the
        // window is merely unskinned, and a user who declined would be asked
        // again at every start.
        if (platform.IsVistaOrLater() && !platform.IsElevated()) AskInTurn(paths, platform);
    }
    const std::string* skinPath = SkinPathFor(paths, skinNumber);
    if (skinPath == nullptr) return;
    const ByteBlock& skinBlock = skinNumber == 1 ? blocks.skin2008 : blocks.skin2009;
    // An existing file is used as it is, whatever it holds.
    if (!platform.FileExists(*skinPath)) platform.WriteWholeFile(*skinPath, skinBlock);
    platform.AttachSkin(*skinPath);
}

bool DeployStartupFiles(const SkinPaths& paths, SkinPlatform& platform, const SkinBlocks& blocks) {
    // Never asks for anything itself: it runs elevated or not at all. A file
    // in place is whole: writes land under their final name only complete.
    auto inPlace = [&](const std::string& path, const ByteBlock& block) {
        return platform.FileExists(path) || platform.WriteWholeFile(path, block) == WriteResult::Written;
    };
    const bool engine = inPlace(paths.engine, blocks.engine);
    const bool skin = inPlace(paths.skin2009, blocks.skin2009);
    return engine && skin;
}

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
