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

// The folder part of `path`, up to its last backslash, walked by characters:
// a double-byte character's second byte may be a backslash.
std::string FolderOf(const std::string& path) {
    const char* cut = nullptr;
    for (const char* p = path.c_str(); *p; p = CharNextA(p))
        if (*p == '\\') cut = p;
    return cut ? std::string(path.c_str(), cut - path.c_str() + 1) : std::string();
}

DWORD WriteBlocks(HANDLE file, std::initializer_list<ByteBlock> blocks) {
    for (const ByteBlock& block : blocks) {
        if (block.size == 0) continue;
        DWORD written = 0;
        if (!WriteFile(file, block.data, static_cast<DWORD>(block.size), &written, nullptr)) return FailureCode();
        if (written != block.size) return ERROR_DISK_FULL;
    }
    // Before the name is given: a power cut after the rename must not find
    // the name on a file whose bytes never reached the disk.
    return FlushFileBuffers(file) ? ERROR_SUCCESS : FailureCode();
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
    const std::string folder = FolderOf(path);
    if (folder.empty() || folder.size() == path.size()) return answer(ERROR_INVALID_NAME);
    // A fresh name of the folder; the call creates the file, so no other
    // start can be handed the same one.
    char temp[MAX_PATH];
    if (folder.size() > MAX_PATH - 14 || !GetTempFileNameA(folder.c_str(), "tlv", 0, temp))
        return answer(FailureCode());
    // Not inheritable (no security attributes): no process this one starts
    // meanwhile may hold the file open.
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD failure = file == INVALID_HANDLE_VALUE ? FailureCode() : WriteBlocks(file, blocks);
    if (file != INVALID_HANDLE_VALUE && !CloseHandle(file) && failure == ERROR_SUCCESS) failure = FailureCode();
    // Without MOVEFILE_REPLACE_EXISTING: a file or folder that took the name
    // meanwhile (a second start at the same moment) stays and counts as ours.
    bool moved = false;
    if (failure == ERROR_SUCCESS) {
        moved = MoveFileExA(temp, path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
        if (!moved) failure = FailureCode();
        if ((failure == ERROR_ALREADY_EXISTS || failure == ERROR_FILE_EXISTS) && FileExists(path))
            failure = ERROR_SUCCESS;
    }
    if (!moved) DeleteFileA(temp);
    return answer(failure);
}

}  // namespace tolvane
