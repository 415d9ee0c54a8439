// Finding the installation through the registry, the browse dialog and the
// repair confirmation.
#include <windows.h>

#include "locator/install_paths.h"
#include "locator/text_scan.h"
#include "locator/win/locator.h"
#include "locator/win/registry_text.h"
#include "toolkit/win/control_services.h"
#include "toolkit/win/text_buffer.h"
#include "winutil/handles.h"

namespace tolvane {

namespace {

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::string Expand(const std::string& text) {
    const DWORD need = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (need == 0) return {};
    std::string out;
    ResizeOrDie(out, need);
    const DWORD got = ExpandEnvironmentStringsA(text.c_str(), out.data(), need);
    if (got == 0 || got > need) return {};
    return TextUpToZero(out.data(), got);
}

void ShowMessage(const char* text, const char* title) { MessageBoxA(nullptr, text, title, MB_OK | MB_TASKMODAL); }

}  // namespace

std::string ReadRegistryText(HKEY root, const std::string& fullPath) {
    const KeyAndValue where = SplitRegistryPath(fullPath);
    RegistryKey key;
    if (RegOpenKeyExA(root, where.key.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return {};

    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.Get(), where.value.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    if (!IsText(type) || size == 0) return {};
    std::string bytes;
    ResizeOrDie(bytes, size);
    DWORD got = size;
    // The value may have changed since it was measured: what is read now must
    // still fit and still be text.
    if (RegQueryValueExA(key.Get(), where.value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &got) !=
            ERROR_SUCCESS ||
        !IsText(type) || got > size)
        return {};

    std::string text = TextUpToZero(bytes.data(), got);
    return type == REG_EXPAND_SZ ? Expand(text) : text;
}

// Each step reads 编辑框1 back rather than keeping its text in a local: what
// is derived is what the box holds, as the user sees it and as ConfirmRepair
// will read it, even where an edit box keeps something other than the text
// it was given (a text cut at the system's limit, for one).
void LocateInstallation() {
    SetControlText(kInstallFolderBox, ReadRegistryText(HKEY_CURRENT_USER, kInstallRegistryPath));
    SetControlText(kInstallFolderBox, InstallFolderFromValue(GetControlText(kInstallFolderBox)));
    SetControlText(kLinkConfigBox, LinkConfigAtStart(GetControlText(kInstallFolderBox)));
}

void BrowseInstallation() {
    SetDialogFilter(kBrowseFilter);
    // A dialog that was not confirmed leaves both boxes as they are: the path
    // found at start-up or chosen before is not thrown away by a cancel.
    if (!OpenDialog()) return;
    SetControlText(kInstallFolderBox, DialogFileName());
    SetControlText(kLinkConfigBox, LinkConfigAfterBrowse(GetControlText(kInstallFolderBox)));
}

void ConfirmRepair() {
    const MessageText m = RepairMessageFor(GetControlText(kInstallFolderBox));
    ShowMessage(m.text, m.title);
}

}  // namespace tolvane
