#include "app/win/common_dialog.h"

#include <commdlg.h>

#include "app/filter_list.h"

namespace tolvane {

bool CommonDialog::Open(HWND owner) {
    // The platform's path buffer: at most 259 bytes of path fit, either way.
    char path[MAX_PATH] = {};
    lstrcpynA(path, fileName.c_str(), sizeof path);
    const std::string filterList = BuildFilterList(filter);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filterList.empty() ? nullptr : filterList.c_str();
    ofn.nFilterIndex = filterList.empty() ? 0 : FilterEntryFor(initialFilterIndex);
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    ofn.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    ofn.Flags = options | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn)) return false;
    fileName = path;
    return true;
}

}  // namespace tolvane
