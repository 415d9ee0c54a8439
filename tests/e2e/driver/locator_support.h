// Helpers for the locator's end-to-end tests: whole texts of any length, the
// Open dialog seen from outside, and snapshots of the registry and of folders
// that show whether a run wrote anything.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The whole text of `hwnd` through WM_GETTEXT with a buffer of the reported
// length plus one; long texts take a while to marshal, hence the timeout.
// False when the window did not answer.
bool WholeTextOf(HWND hwnd, std::string* text, DWORD timeoutMs = 20000);

// A text fit for a failure message: short texts with their bytes of 0x80 or
// more and control bytes as \xNN, long ones as their length and a checksum
// with their first and last bytes.
std::string Printable(const std::string& bytes);

// What an ANSI text becomes after a trip through the platform's Unicode
// edit control: code page 936 to UTF-16 and back.
std::string ThroughUnicode(const std::string& text);

// Every key and value below root\key, one line each, in enumeration order;
// "(absent)" when the key does not exist.
std::string RegistryTree(HKEY root, const std::string& key);

// Every file and folder below `folder` (recursively) with size and last write
// time, one line each; names in `skip` (compared without case) are left out.
std::string FolderTree(const std::string& folder, const std::vector<std::string>& skip = {}, bool recursive = true);

// Creates `folder` and its parents; works beyond MAX_PATH ("\\?\" form).
bool CreateFolders(const std::string& folder);
// Writes a file at a path of any length.
bool WriteLongPathFile(const std::string& path, const std::string& bytes);
// Removes `folder` with everything in it; true also when it is absent.
bool RemoveFolderTree(const std::string& folder);

// The visible dialogs (class "#32770") of `pid` that `owner` owns.
std::vector<HWND> OwnedDialogs(DWORD pid, HWND owner);
// The file-name field of an Open dialog (the edit that takes the typed name).
HWND FileNameField(HWND openDialog);
// The folder an Open dialog of another process shows (CDM_GETFOLDERPATH).
std::string OpenDialogFolder(HWND openDialog);

// Moves a top-level window so that it no longer covers `keepClear`, so that
// a click meant for `keepClear` reaches it (or its disabled owner).
void MoveAside(HWND window, HWND keepClear);

}  // namespace e2e

namespace e2e {

// Whether a message box shows an icon: one of its statics is an icon static
// holding an icon. (The icon static's id differs between platforms.)
bool ShowsIcon(HWND messageBox);

}  // namespace e2e
