// The installation locator's fixed texts and the paths derived from what it finds.
#pragma once
#include <string>

namespace tolvane {

// Under HKEY_CURRENT_USER: key and value name in one, split at the last backslash.
extern const char* const kInstallRegistryPath;  // "Software\FlySky\E\Install\path"
extern const char* const kLibraryFolderPart;    // "lib\", removed wherever it occurs
extern const char* const kLinkConfigSuffix;     // "tools\link.ini", appended at start
extern const char* const kBrowseLinkSuffix;     // "\tools\link.ini", appended after browsing
extern const char* const kBrowseFilter;         // ".exe"
extern const char* const kRepairErrorText;
extern const char* const kRepairErrorTitle;  // "错误"
extern const char* const kRepairDoneText;
extern const char* const kRepairDoneTitle;  // "完成"

// The registry value with every "lib\" taken out.
std::string InstallFolderFromValue(const std::string& value);

// The folder as shown, with the suffix appended directly: no separator is added.
std::string LinkConfigAtStart(const std::string& folder);

// The chosen file's full path with "\tools\link.ini" appended.
std::string LinkConfigAfterBrowse(const std::string& file);

struct MessageText {
    const char* text;
    const char* title;
};
// Only emptiness counts: blanks or a path that does not exist still confirm.
MessageText RepairMessageFor(const std::string& editText);

}  // namespace tolvane
