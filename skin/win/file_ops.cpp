#include "skin/win/file_ops.h"

#include <windows.h>

namespace tolvane {

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool WriteWholeFile(const std::string& path, std::initializer_list<ByteBlock> blocks) {
    if (path.empty()) return false;
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (const ByteBlock& block : blocks) {
        if (block.size == 0) continue;
        DWORD written = 0;
        // A short write (a full disk) is a failure; what was written stays.
        if (!WriteFile(file, block.data, static_cast<DWORD>(block.size), &written, nullptr) ||
            written != block.size) {
            ok = false;
            break;
        }
    }
    if (!CloseHandle(file)) ok = false;
    return ok;
}

}  // namespace tolvane
