// The file dialog component: settings kept between openings, a new platform
// dialog built at each opening.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>

namespace tolvane {

struct CommonDialog {
    std::string title;
    std::string fileName;  // replaced by the chosen full path on confirm
    std::string filter;    // "label|pattern|..."
    int initialFilterIndex = 0;
    std::string initialFolder;
    std::string defaultExtension;
    DWORD options = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;

    // Modal over `owner`. True when the user confirmed a file; on cancel,
    // close or failure fileName keeps its value.
    bool Open(HWND owner);
};

// Whether a module already loaded in the process exports a name.
using ExportLookup = bool (*)(const char* module, const char* name);
bool ModuleExports(const char* module, const char* name);

// The flags the Open dialog is shown with. The guard against an over-long
// typed path needs a hook, and a hooked dialog has the old look on Vista and
// later; only Wine's dialog needs the guard, so only Wine gets the hook.
DWORD OpenDialogFlags(DWORD options, ExportLookup lookup = ModuleExports);

}  // namespace tolvane
