// Deployment of the skin engine and a skin file, and the guarded engine call.
#include <windows.h>

#include "core/fatal_text.h"
#include "resources/resource_ids.h"
#include "skin_setup/skin_plan.h"
#include "skin_setup/win/apply_skin.h"
#include "skin_setup/win/dll_binding.h"
#include "skin_setup/win/elevation.h"
#include "skin_setup/win/file_ops.h"
#include "skin_setup/win/guarded_call.h"
#include "skin_setup/win/system_folder.h"
#include "toolkit/win/control_services.h"
#include "toolkit/win/fatal.h"
#include "toolkit/win/resource_bytes.h"

namespace tolvane {

namespace {

ByteBlock ResourceBlock(int id) {
    const ResourceBytes bytes = RcDataBytes(id);
    return ByteBlock{bytes.data, bytes.size};
}

SkinBlocks EmbeddedBlocks() {
    return SkinBlocks{ResourceBlock(IDR_SKIN_ENGINE), ResourceBlock(IDR_SKIN_2008), ResourceBlock(IDR_SKIN_2009)};
}

class Win32SkinPlatform : public SkinPlatform {
public:
    bool FileExists(const std::string& path) override { return tolvane::FileExists(path); }
    WriteResult WriteWholeFile(const std::string& path, ByteBlock block) override {
        return tolvane::WriteWholeFile(path, {block});
    }
    bool IsVistaOrLater() override { return tolvane::IsVistaOrLater(); }
    bool IsElevated() override { return IsProcessElevated(); }
    PromptLock LockPrompt() override { return LockPromptMutex(&promptMutex_); }
    void UnlockPrompt() override { UnlockPromptMutex(&promptMutex_); }
    void DeployElevated() override { RunElevatedDeployment(MainWindow()); }
    void AttachSkin(const std::string& skinPath) override {
        SkinAttachFn attach = BindDllCommand();
        int stackDelta = 0;
        TolvaneCallGuarded(reinterpret_cast<const void*>(attach), skinPath.c_str(), "", &stackDelta);
        if (stackDelta != 0) FatalRuntimeError(kStackImbalance, kStackImbalanceCode);
    }

private:
    KernelHandle promptMutex_;
};

}  // namespace

void ApplySkin(int skinNumber) {
    Win32SkinPlatform platform;
    ApplySkinSteps(skinNumber, InstalledSkinPaths(), platform, EmbeddedBlocks());
}

int RunDeployment() {
    Win32SkinPlatform platform;
    return DeployStartupFiles(InstalledSkinPaths(), platform, EmbeddedBlocks()) ? 0 : 1;
}

}  // namespace tolvane
