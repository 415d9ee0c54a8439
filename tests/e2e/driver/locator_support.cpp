#include "tests/e2e/driver/locator_support.h"

#include <commdlg.h>

#include <cstdio>

#include "tests/e2e/driver/driver.h"
#include "winutil/handles.h"

namespace e2e {

bool WholeTextOf(HWND hwnd, std::string* text, DWORD timeoutMs) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &length)) return false;
    // WM_GETTEXTLENGTH may overstate (it may count a DBCS text in the worst
    // case); the copy's own count is what holds.
    std::string buf(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(&buf[0]), SMTO_ABORTIFHUNG,
                             timeoutMs, &copied))
        return false;
    if (copied > length) copied = length;
    buf.resize(copied);
    *text = buf;
    return true;
}

std::string Printable(const std::string& bytes) {
    auto escape = [](const std::string& part) {
        std::string out;
        for (unsigned char c : part) {
            if (c >= 0x20 && c < 0x7F) {
                out += static_cast<char>(c);
            } else {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            }
        }
        return out;
    };
    if (bytes.size() <= 160) return escape(bytes);
    // FNV-1a: enough to tell two long texts apart in a failure message.
    unsigned sum = 2166136261u;
    for (unsigned char c : bytes) sum = (sum ^ c) * 16777619u;
    char head[64];
    std::snprintf(head, sizeof head, "<%zu bytes, fnv %08X> ", bytes.size(), sum);
    return head + escape(bytes.substr(0, 24)) + " ... " + escape(bytes.substr(bytes.size() - 24));
}

std::string ThroughUnicode(const std::string& text) {
    if (text.empty()) return text;
    const int n = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    const int m = WideCharToMultiByte(936, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string back(m, '\0');
    WideCharToMultiByte(936, 0, wide.data(), n, &back[0], m, nullptr, nullptr);
    return back;
}

namespace {

void DumpKey(HKEY key, const std::string& path, std::string* out) {
    char line[96];
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameLength = sizeof name;
        DWORD type = 0, size = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::string data(size, '\0');
        nameLength = sizeof name;
        RegEnumValueA(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(size);
        std::snprintf(line, sizeof line, " type %lu = ", type);
        *out += path + " : " + std::string(name, nameLength) + line + Printable(data) + "\n";
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        const std::string child(name, nameLength);
        tolvane::RegistryKey sub;
        *out += path + "\\" + child + "\n";
        if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, sub.Receive()) == ERROR_SUCCESS)
            DumpKey(sub.Get(), path + "\\" + child, out);
    }
}

std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::wstring LongForm(const std::string& path) { return L"\\\\?\\" + Wide(path); }

bool Skipped(const char* name, const std::vector<std::string>& skip) {
    for (const auto& s : skip)
        if (lstrcmpiA(name, s.c_str()) == 0) return true;
    return false;
}

void DumpFolder(const std::string& folder, const std::vector<std::string>& skip, bool recursive, std::string* out) {
    WIN32_FIND_DATAA data;
    const tolvane::FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
    if (!find) return;
    do {
        if (!lstrcmpA(data.cFileName, ".") || !lstrcmpA(data.cFileName, "..") || Skipped(data.cFileName, skip))
            continue;
        const std::string path = folder + "\\" + data.cFileName;
        char line[128];
        std::snprintf(line, sizeof line, " size %lu time %08lX%08lX attr %lX", data.nFileSizeLow,
                      data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime, data.dwFileAttributes);
        *out += path + line + "\n";
        if (recursive && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DumpFolder(path, skip, true, out);
    } while (FindNextFileA(find.Get(), &data));
}

}  // namespace

std::string RegistryTree(HKEY root, const std::string& key) {
    tolvane::RegistryKey h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, h.Receive()) != ERROR_SUCCESS) return "(absent)";
    std::string out = key + "\n";
    DumpKey(h.Get(), key, &out);
    return out;
}

std::string FolderTree(const std::string& folder, const std::vector<std::string>& skip, bool recursive) {
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return "(absent)";
    std::string out;
    DumpFolder(folder, skip, recursive, &out);
    return out;
}

bool CreateFolders(const std::string& folder) {
    for (std::size_t pos = folder.find('\\', 3);; pos = folder.find('\\', pos + 1)) {
        const std::string part = folder.substr(0, pos);
        if (!CreateDirectoryW(LongForm(part).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
        if (pos == std::string::npos) return true;
    }
}

bool WriteLongPathFile(const std::string& path, const std::string& bytes) {
    const tolvane::KernelHandle f(
        CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return f && WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool RemoveFolderTree(const std::string& folder) {
    const std::wstring base = LongForm(folder);
    if (GetFileAttributesW(base.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    WIN32_FIND_DATAW data;
    bool ok = true;
    // Closed before the folder is removed, which an open search would hold.
    if (const tolvane::FindHandle find{FindFirstFileW((base + L"\\*").c_str(), &data)}) {
        do {
            if (!lstrcmpW(data.cFileName, L".") || !lstrcmpW(data.cFileName, L"..")) continue;
            const int n = WideCharToMultiByte(CP_ACP, 0, data.cFileName, -1, nullptr, 0, nullptr, nullptr);
            std::string name(n > 0 ? n - 1 : 0, '\0');
            WideCharToMultiByte(CP_ACP, 0, data.cFileName, -1, &name[0], n, nullptr, nullptr);
            const std::string child = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ok = RemoveFolderTree(child) && ok;
            } else {
                SetFileAttributesW(LongForm(child).c_str(), FILE_ATTRIBUTE_NORMAL);
                ok = DeleteFileW(LongForm(child).c_str()) && ok;
            }
        } while (FindNextFileW(find.Get(), &data));
    }
    return RemoveDirectoryW(base.c_str()) && ok;
}

std::vector<HWND> OwnedDialogs(DWORD pid, HWND owner) {
    std::vector<HWND> found;
    for (HWND hwnd : TopLevelWindows(pid, "#32770"))
        if (IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == owner) found.push_back(hwnd);
    return found;
}

HWND FileNameField(HWND openDialog) {
    // The file-name field is the edit edt1 (0x480), or the edit inside the
    // combo box cmb13 (0x47C) where the platform offers a history list.
    HWND edit = GetDlgItem(openDialog, 0x480);
    if (edit && ClassOf(edit) == "Edit") return edit;
    HWND combo = GetDlgItem(openDialog, 0x47C);
    if (!combo) return nullptr;
    HWND inner = FindWindowExA(combo, nullptr, "Edit", nullptr);
    if (inner) return inner;
    if (HWND box = FindWindowExA(combo, nullptr, "ComboBox", nullptr))
        return FindWindowExA(box, nullptr, "Edit", nullptr);
    return nullptr;
}

std::string OpenDialogFolder(HWND openDialog) {
    // The message's pointer is not carried across processes: the folder is
    // written into memory of the dialog's own process and read back.
    DWORD pid = 0;
    GetWindowThreadProcessId(openDialog, &pid);
    const tolvane::KernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid));
    if (!process) return "(process not opened)";
    char folder[MAX_PATH] = "(no answer)";
    if (void* remote = VirtualAllocEx(process.Get(), nullptr, sizeof folder, MEM_COMMIT, PAGE_READWRITE)) {
        DWORD_PTR length = 0;
        if (SendMessageTimeoutA(openDialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(remote),
                                SMTO_ABORTIFHUNG, 5000, &length) &&
            static_cast<LONG_PTR>(length) > 0)
            ReadProcessMemory(process.Get(), remote, folder, sizeof folder - 1, nullptr);
        VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    }
    return folder;
}

void MoveAside(HWND window, HWND keepClear) {
    RECT w = WindowRectOf(window), k = WindowRectOf(keepClear), overlap;
    if (!IntersectRect(&overlap, &w, &k)) return;
    const int width = w.right - w.left, height = w.bottom - w.top;
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    // Right of it if there is room, else below it, else the far corner.
    int x = k.right + 8, y = w.top;
    if (x + width > screenW) {
        x = w.left;
        y = k.bottom + 8;
        if (y + height > screenH) {
            x = screenW - width;
            y = screenH - height;
        }
    }
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitFor([&] { return WindowRectOf(window).left == x && WindowRectOf(window).top == y; }, 2000);
}

}  // namespace e2e

namespace e2e {

namespace {
BOOL CALLBACK FindIconStatic(HWND child, LPARAM found) {
    if (ClassOf(child) != "Static" || (StyleOf(child) & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(child)) return TRUE;
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
    const RECT r = WindowRectOf(child);
    if (icon && r.right > r.left && r.bottom > r.top) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

bool ShowsIcon(HWND messageBox) {
    bool found = false;
    EnumChildWindows(messageBox, FindIconStatic, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace e2e
