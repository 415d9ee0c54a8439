#include "locator/install_paths.h"

#include "locator/text_scan.h"

namespace tolvane {

const char* const kInstallRegistryPath = "Software\\FlySky\\E\\Install\\path";
const char* const kLibraryFolderPart = "lib\\";
const char* const kLinkConfigSuffix = "tools\\link.ini";
const char* const kBrowseLinkSuffix = "\\tools\\link.ini";
const char* const kBrowseFilter = ".exe";
const char* const kRepairErrorText = "抱歉没有查找到相关路径，请您手动寻找易语言路径，或者修复前请至少运行一次易语言！";
const char* const kRepairErrorTitle = "错误";
const char* const kRepairDoneText = "易语言静态链接编译器功能修复完成！";
const char* const kRepairDoneTitle = "完成";

std::string InstallFolderFromValue(const std::string& value) { return ReplaceText(value, kLibraryFolderPart, ""); }

std::string LinkConfigAtStart(const std::string& folder) { return folder + kLinkConfigSuffix; }

std::string LinkConfigAfterBrowse(const std::string& file) { return file + kBrowseLinkSuffix; }

MessageText RepairMessageFor(const std::string& editText) {
    if (editText.empty()) return MessageText{kRepairErrorText, kRepairErrorTitle};
    return MessageText{kRepairDoneText, kRepairDoneTitle};
}

}  // namespace tolvane
