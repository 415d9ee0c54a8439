#include "skin/win/file_ops.h"

#include <windows.h>

namespace tolvane {

namespace {
// The error of the call that just failed; never 0, so that a failure cannot
// read as success.
DWORD FailureCode() {
    const DWORD e = GetLastError();
    return e != ERROR_SUCCESS ? e : ERROR_GEN_FAILURE;
}
}  // namespace

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool WriteWholeFile(const std::string& path, std::initializer_list<ByteBlock> blocks, unsigned long* error) {
    auto answer = [error](DWORD failure) {
        if (error) *error = failure;
        return failure == ERROR_SUCCESS;
    };
    if (path.empty()) return answer(ERROR_INVALID_NAME);
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return answer(FailureCode());
    DWORD failure = ERROR_SUCCESS;
    for (const ByteBlock& block : blocks) {
        if (block.size == 0) continue;
        DWORD written = 0;
        if (!WriteFile(file, block.data, static_cast<DWORD>(block.size), &written, nullptr)) {
            failure = FailureCode();
            break;
        }
        // A short write (a full disk) is a failure; what was written stays.
        if (written != block.size) {
            failure = ERROR_DISK_FULL;
            break;
        }
    }
    if (!CloseHandle(file) && failure == ERROR_SUCCESS) failure = FailureCode();
    return answer(failure);
}

}  // namespace tolvane
