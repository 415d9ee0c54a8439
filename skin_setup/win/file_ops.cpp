#include "skin_setup/win/file_ops.h"

#include <windows.h>

#include "skin_setup/temp_names.h"
#include "winutil/handles.h"

namespace tolvane {

namespace {

// How many of its own names a write tries before it gives up: each one
// taken already is a leftover of an earlier process of the same id that
// could not be deleted, or another program's file; one denied may be held
// by a file deleted but still open.
constexpr unsigned kTempNameTries = 8;

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

// A process other than this one that still runs under `pid`, or one that
// cannot be asked (an elevated helper, seen from a limited start): its
// temporary file may be in the middle of its write, or about to be renamed.
bool AnotherProcessRuns(DWORD pid) {
    if (pid == GetCurrentProcessId()) return false;  // an earlier process of the same id
    const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process
    return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// Deletes what a write of `path` that never finished left behind, and
// nothing else of the folder.
void RemoveLeftovers(const std::string& folder, const std::string& path) {
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA((path + ".*.tmp").c_str(), &found));
    if (!search) return;
    const std::string finalName = path.substr(folder.size());
    do {
        unsigned long pid = 0;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTempNameOf(found.cFileName, finalName, &pid) &&
            !AnotherProcessRuns(pid))
            DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search.Get(), &found));
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
    return static_cast<bool>(FindHandle(FindFirstFileA(path.c_str(), &found)));
}

WriteResult WriteWholeFile(const std::string& path, std::initializer_list<ByteBlock> blocks) {
    const std::string folder = FolderOf(path);
    if (folder.empty() || folder.size() == path.size()) return WriteResult::Failed;
    RemoveLeftovers(folder, path);
    // One call creates each file, and its errors alone say whether the folder
    // refuses this process: no other start can get the same name, and
    // nothing rests on what a helper such as GetTempFileName does in a
    // folder that refuses new files (Wine's returns a number and creates
    // nothing). Not inheritable (no security attributes): no process this
    // one starts meanwhile may hold the file open.
    //
    // One name may be denied in a folder that takes new files: a file
    // deleted while another program holds it open stays "delete pending"
    // under its name (Vista to 10 1803, and FAT), and creating that name is
    // denied. So the folder refuses for rights only when every name was denied.
    std::string temp;
    KernelHandle file;
    DWORD failure = ERROR_FILE_EXISTS;
    unsigned tries = 0, denied = 0;
    for (; tries < kTempNameTries &&
           (failure == ERROR_FILE_EXISTS || failure == ERROR_ALREADY_EXISTS || failure == ERROR_ACCESS_DENIED);
         ++tries) {
        temp = TempNameFor(path, GetCurrentProcessId(), tries);
        file.Reset(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        failure = file ? ERROR_SUCCESS : FailureCode();
        if (failure == ERROR_ACCESS_DENIED) ++denied;
    }
    if (failure != ERROR_SUCCESS) return denied == tries ? WriteResult::RefusedForRights : WriteResult::Failed;
    failure = WriteBlocks(file.Get(), blocks);
    // Closed before the rename; a close that fails may have lost a write.
    if (!file.Reset() && failure == ERROR_SUCCESS) failure = FailureCode();
    // Without MOVEFILE_REPLACE_EXISTING: a file or folder that took the name
    // meanwhile (a second start at the same moment) stays and counts as ours.
    bool moved = false;
    if (failure == ERROR_SUCCESS) {
        moved = MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
        if (!moved) failure = FailureCode();
        if ((failure == ERROR_ALREADY_EXISTS || failure == ERROR_FILE_EXISTS) && FileExists(path))
            failure = ERROR_SUCCESS;
    }
    if (!moved) DeleteFileA(temp.c_str());
    return failure == ERROR_SUCCESS ? WriteResult::Written : WriteResult::Failed;
}

}  // namespace tolvane
