// The installation locator's handlers: what fills and reads the two path boxes.
#pragma once

namespace tolvane {

// Start-up: the registry value into the installation folder box, trimmed of
// "lib\", and the link configuration path derived from it.
void LocateInstallation();
// 按钮2: the boxes refilled from a file the user points at.
void BrowseInstallation();
// 修复: tells the user whether an installation path is known.
void ConfirmRepair();

}  // namespace tolvane
