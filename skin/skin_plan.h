// What deploying and attaching a skin does, with the file system and the
// engine call behind an interface so that the order of steps is testable.
#pragma once
#include <cstddef>
#include <string>

namespace tolvane {

extern const char* const kSkinEnginePath;   // "C:\WINDOWS\system\Skin.dll"
extern const char* const kSkin2008Path;     // "C:\WINDOWS\system\qq2008.she" (skin 1)
extern const char* const kSkin2009Path;     // "C:\WINDOWS\system\QQ2009.she" (skin 2)
extern const char* const kSkinAttachExport; // "SkinH_Attach_Ex"
extern const char* const kDeployArgument;   // "/deploy"
constexpr int kStartupSkin = 2;

struct ByteBlock {
    const void* data;
    std::size_t size;
};

struct SkinBlocks {
    ByteBlock engine, skin2008, skin2009;
};

enum class WriteResult {
    Written,           // written whole and closed
    RefusedForRights,  // the file could not be created for lack of access rights
    Failed,            // any other failure
};

class SkinPlatform {
public:
    virtual ~SkinPlatform() = default;
    virtual bool FileExists(const std::string& path) = 0;
    virtual WriteResult WriteWholeFile(const std::string& path, ByteBlock block) = 0;
    // The running Windows, not what a compatibility layer reports.
    virtual bool IsVistaOrLater() = 0;
    // Asked only on Vista or later; false when the token cannot tell.
    virtual bool IsElevated() = 0;
    // Starts this program elevated with kDeployArgument and waits for it; true
    // when it ran and reported both files in place. False when the user
    // declined the prompt or it could not run.
    virtual bool DeployElevated() = 0;
    // Binds the engine on first use (fatal when that fails) and calls it with the
    // skin's path and an empty password, behind the stack-depth guard.
    virtual void AttachSkin(const std::string& skinPath) = 0;
};

// The skin file's path for a skin number, or null for a number that names no skin.
const char* SkinPathFor(int skinNumber);

// Writes the engine and the chosen skin where missing, then attaches the skin.
// An unknown skin number stops after the engine: nothing is loaded or called.
// A write refused for rights on Vista or later, unelevated, asks once for an
// elevated deployment and then goes on with the same steps.
void ApplySkinSteps(int skinNumber, SkinPlatform& platform, const SkinBlocks& blocks);

// What the elevated helper does: the engine and the start-up skin written where
// missing, never replaced. True when both exist afterwards.
bool DeployStartupFiles(SkinPlatform& platform, const SkinBlocks& blocks);

// True when the command line (program name first, as the process got it)
// carries exactly one argument, kDeployArgument in any letter case.
bool IsDeployCommandLine(const char* commandLine);

}  // namespace tolvane
