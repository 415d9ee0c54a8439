// What deploying and attaching a skin does, with the file system and the
// engine call behind an interface so that the order of steps is testable.
#pragma once
#include <cstddef>
#include <string>

namespace tolvane {

extern const char* const kSkinAttachExport;  // "SkinH_Attach_Ex"
extern const char* const kDeployArgument;    // "/deploy"
constexpr int kStartupSkin = 2;

// Where the engine and the skins live: the system subfolder of the Windows
// folder. All empty when the Windows folder is not known: then nothing is
// written, and the engine cannot be bound.
struct SkinPaths {
    std::string engine, skin2008, skin2009;
};

// The paths for the Windows folder as the system names it (empty when it could
// not be asked). "C:\WINDOWS" in any letter case, nearly every installation,
// gives "C:\WINDOWS\system\Skin.dll" and its siblings byte for byte, so that
// the texts the user may see stay the same everywhere.
SkinPaths SkinPathsFor(const std::string& windowsFolder);

// The skin file's path for a skin number, or null for a number that names no skin.
const std::string* SkinPathFor(const SkinPaths& paths, int skinNumber);

struct ByteBlock {
    const void* data;
    std::size_t size;
};

struct SkinBlocks {
    ByteBlock engine, skin2008, skin2009;
};

enum class WriteResult {
    Written,           // in place whole: written now, or put there meanwhile by another start
    RefusedForRights,  // the file could not be created for lack of access rights
    Failed,            // any other failure; nothing is left behind
};

// How a start's wait for its turn to ask ended.
enum class PromptLock {
    Owned,
    Abandoned,    // its holder ended without letting go: the turn is this start's
    TimedOut,     // held longer than a start waits
    Unavailable,  // no lock to wait for
};

// The running Windows' version, as its own kernel32 states it.
struct WindowsVersion {
    bool known;
    unsigned major, minor;
};

// Vista (6.0) and later close the system folder to unelevated writes. An
// unknown version counts as XP: it never asks.
bool ClosesSystemFolder(const WindowsVersion& version);

class SkinPlatform {
public:
    virtual ~SkinPlatform() = default;
    virtual bool FileExists(const std::string& path) = 0;
    virtual WriteResult WriteWholeFile(const std::string& path, ByteBlock block) = 0;
    // The running Windows, not what a compatibility layer reports.
    virtual bool IsVistaOrLater() = 0;
    // Asked only on Vista or later; false when the token cannot tell.
    virtual bool IsElevated() = 0;
    // Waits, a bounded time, for this start's turn among the starts of the
    // session that ask; UnlockPrompt ends an owned or abandoned one.
    virtual PromptLock LockPrompt() = 0;
    virtual void UnlockPrompt() = 0;
    // Starts this program elevated with kDeployArgument and waits for it, a
    // bounded time. What it achieved is read from the files afterwards.
    virtual void DeployElevated() = 0;
    // Binds the engine on first use (fatal when that fails) and calls it with the
    // skin's path and an empty password, behind the stack-depth guard.
    virtual void AttachSkin(const std::string& skinPath) = 0;
};

// Writes the engine and the chosen skin where missing, then attaches the skin.
// An unknown skin number stops after the engine: nothing is loaded or called.
// On Vista or later, unelevated, an engine write refused for rights asks once
// for the elevated deployment, for the start-up skin only, in its turn and
// only if no other start's helper wrote the engine meanwhile; then the same
// steps go on.
void ApplySkinSteps(int skinNumber, const SkinPaths& paths, SkinPlatform& platform, const SkinBlocks& blocks);

// What the elevated helper does: the engine and the start-up skin written where
// missing, never replaced. True when both are whole in place afterwards.
bool DeployStartupFiles(const SkinPaths& paths, SkinPlatform& platform, const SkinBlocks& blocks);

// True when the command line (program name first, as the process got it)
// carries exactly one argument, kDeployArgument in any letter case.
bool IsDeployCommandLine(const char* commandLine);

}  // namespace tolvane
