// Registry values and files of the Wine prefix, set up and cleared by tests.
#include "tests/e2e/driver/driver.h"
#include "winutil/handles.h"

namespace e2e {

bool RegSetRaw(HKEY root, const std::string& key, const std::string& value, DWORD type, const std::string& bytes) {
    tolvane::RegistryKey h;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, h.Receive(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    // Raw on purpose: tests write values without a terminating zero too.
    return RegSetValueExA(h.Get(), value.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool RegSetString(HKEY root, const std::string& key, const std::string& value, const std::string& text, DWORD type) {
    return RegSetRaw(root, key, value, type, text + std::string(1, '\0'));
}

bool RegSetDword(HKEY root, const std::string& key, const std::string& value, DWORD data) {
    return RegSetRaw(root, key, value, REG_DWORD, std::string(reinterpret_cast<const char*>(&data), sizeof data));
}

bool RegGetRaw(HKEY root, const std::string& key, const std::string& value, DWORD* type, std::string* bytes) {
    tolvane::RegistryKey h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, h.Receive()) != ERROR_SUCCESS) return false;
    DWORD size = 0, t = 0;
    LONG rc = RegQueryValueExA(h.Get(), value.c_str(), nullptr, &t, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        std::string data(size, '\0');
        rc = RegQueryValueExA(h.Get(), value.c_str(), nullptr, &t, reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(size);
        if (rc == ERROR_SUCCESS) {
            if (type) *type = t;
            if (bytes) *bytes = data;
        }
    }
    return rc == ERROR_SUCCESS;
}

bool RegDeleteValueIfAny(HKEY root, const std::string& key, const std::string& value) {
    tolvane::RegistryKey h;
    const LONG open = RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, h.Receive());
    if (open == ERROR_FILE_NOT_FOUND) return true;
    if (open != ERROR_SUCCESS) return false;
    const LONG rc = RegDeleteValueA(h.Get(), value.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool RegDeleteKeyTree(HKEY root, const std::string& key) {
    {  // the key is closed before it is deleted
        tolvane::RegistryKey h;
        const LONG open = RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | KEY_WRITE, h.Receive());
        if (open == ERROR_FILE_NOT_FOUND) return true;
        if (open != ERROR_SUCCESS) return false;
        // Children first: RegDeleteKey refuses a key that still has subkeys.
        for (;;) {
            char name[256];
            DWORD len = sizeof name;
            if (RegEnumKeyExA(h.Get(), 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            if (!RegDeleteKeyTree(h.Get(), name)) return false;
        }
    }
    const LONG rc = RegDeleteKeyA(root, key.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool RegKeyExists(HKEY root, const std::string& key) {
    tolvane::RegistryKey h;
    return RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, h.Receive()) == ERROR_SUCCESS;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    const tolvane::KernelHandle f(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return f && WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
    const tolvane::KernelHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    std::string data;
    char buf[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(f.Get(), buf, sizeof buf, &got, nullptr) != FALSE) && got > 0) data.append(buf, got);
    if (ok && bytes) *bytes = std::move(data);
    return ok;
}

std::string FileBytes(const std::string& path) {
    std::string bytes;
    ReadFileBytes(path, &bytes);
    return bytes;
}

bool DeleteFileIfAny(const std::string& path) {
    if (DeleteFileA(path.c_str())) return true;
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND;
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

long long FileSizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::set<std::string> FileNamesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    const tolvane::FindHandle search(FindFirstFileA((folder + "*").c_str(), &found));
    if (!search) return names;
    do
        if (found.cFileName[0] != '.') names.insert(found.cFileName);
    while (FindNextFileA(search.Get(), &found));
    return names;
}

bool RunUnixShell(const std::string& command, DWORD timeoutMs) {
    // Its end is seen by a file it makes last, beside the prefix.
    static int runs = 0;
    const std::string marker = EnvVar("TOLVANE_BUILD") + "/unix-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++runs) + ".done";
    const std::string seen = ToWinePath(marker);
    std::string line = "sh -c \"" + command + " && touch '" + marker + "'\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (EnvVar("TOLVANE_BUILD").empty() ||
        !CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    const tolvane::KernelHandle process(pi.hProcess), thread(pi.hThread);
    const bool ended = WaitFor([&] { return FileExists(seen); }, timeoutMs, 20);
    DeleteFileIfAny(seen);
    return ended;
}

bool RefuseNewFiles(const std::string& unixFolder, bool refuse) {
    return RunUnixShell(std::string("chattr ") + (refuse ? "+i" : "-i") + " '" + unixFolder + "'");
}

}  // namespace e2e
