#include "skin/win/elevation.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "skin/skin_plan.h"
#include "winutil/system_library.h"

namespace tolvane {

bool IsVistaOrLater() {
    // Run in a compatibility mode for XP (a common fix users apply to older
    // tools), GetVersionEx and the version kept in the process both report XP,
    // while the system folder stays closed to unelevated writes; believed,
    // they would keep the prompt from ever appearing. The version resource of
    // the system's own kernel32.dll is not subject to that layer.
    char kernel[MAX_PATH];
    if (!SystemFilePath("kernel32.dll", kernel)) return false;
    // Only a refused write asks this; version.dll is not worth loading at
    // every start for it. It is a known DLL, taken from the system folder.
    HMODULE version = LoadLibraryA("version.dll");
    if (version == nullptr) return false;
    const auto sizeOf = ProcOf<decltype(&GetFileVersionInfoSizeA)>(version, "GetFileVersionInfoSizeA");
    const auto infoOf = ProcOf<decltype(&GetFileVersionInfoA)>(version, "GetFileVersionInfoA");
    const auto query = ProcOf<decltype(&VerQueryValueA)>(version, "VerQueryValueA");
    bool vista = false;
    DWORD ignored = 0;
    const DWORD size = sizeOf && infoOf && query ? sizeOf(kernel, &ignored) : 0;
    if (size != 0) {
        std::vector<char> info(size);
        void* fixed = nullptr;
        UINT length = 0;
        vista = infoOf(kernel, 0, size, info.data()) && query(info.data(), "\\", &fixed, &length) &&
                length >= sizeof(VS_FIXEDFILEINFO) &&
                HIWORD(static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwProductVersionMS) >= 6;
    }
    FreeLibrary(version);
    return vista;
}

bool IsProcessElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    // The class is Vista's; XP's kernel refuses it (ERROR_INVALID_PARAMETER).
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const BOOL known = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    return known && elevation.TokenIsElevated != 0;
}

bool RunElevatedDeployment() {
    char exe[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    if (n == 0 || n >= sizeof exe) return false;
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    // No shell error box: a failure here ends in the program's own error box.
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    run.lpVerb = "runas";
    run.lpFile = exe;
    run.lpParameters = kDeployArgument;
    run.nShow = SW_HIDE;
    // Declined prompts answer ERROR_CANCELLED; either way the files decide what follows.
    if (!ShellExecuteExA(&run) || run.hProcess == nullptr) return false;
    WaitForSingleObject(run.hProcess, INFINITE);
    DWORD code = 1;
    const BOOL read = GetExitCodeProcess(run.hProcess, &code);
    CloseHandle(run.hProcess);
    return read && code == 0;
}

}  // namespace tolvane
