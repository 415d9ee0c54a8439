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
constexpr int kStartupSkin = 2;

struct ByteBlock {
    const void* data;
    std::size_t size;
};

struct SkinBlocks {
    ByteBlock engine, skin2008, skin2009;
};

class SkinPlatform {
public:
    virtual ~SkinPlatform() = default;
    virtual bool FileExists(const std::string& path) = 0;
    // True when the file was written whole and closed.
    virtual bool WriteWholeFile(const std::string& path, ByteBlock block) = 0;
    // Binds the engine on first use (fatal when that fails) and calls it with the
    // skin's path and an empty password, behind the stack-depth guard.
    virtual void AttachSkin(const std::string& skinPath) = 0;
};

// The skin file's path for a skin number, or null for a number that names no skin.
const char* SkinPathFor(int skinNumber);

// Writes the engine and the chosen skin where missing, then attaches the skin.
// An unknown skin number stops after the engine: nothing is loaded or called.
void ApplySkinSteps(int skinNumber, SkinPlatform& platform, const SkinBlocks& blocks);

}  // namespace tolvane
