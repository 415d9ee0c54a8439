#include "skin/win/elevation.h"

#include <shellapi.h>

#include <vector>

#include "toolkit/win/events.h"
#include "winutil/system_library.h"

namespace tolvane {

WindowsVersion KernelVersion() {
    WindowsVersion version{false, 0, 0};
    char kernel[MAX_PATH];
    if (!SystemFilePath("kernel32.dll", kernel)) return version;
    // Only a refused write asks this; version.dll is not worth loading at
    // every start for it.
    HMODULE library = HeldOrSystemLibrary("version.dll");
    const auto sizeOf = ProcOf<decltype(&GetFileVersionInfoSizeA)>(library, "GetFileVersionInfoSizeA");
    const auto infoOf = ProcOf<decltype(&GetFileVersionInfoA)>(library, "GetFileVersionInfoA");
    const auto query = ProcOf<decltype(&VerQueryValueA)>(library, "VerQueryValueA");
    DWORD ignored = 0;
    const DWORD size = sizeOf && infoOf && query ? sizeOf(kernel, &ignored) : 0;
    if (size != 0) {
        std::vector<char> info(size);
        void* fixed = nullptr;
        UINT length = 0;
        if (infoOf(kernel, 0, size, info.data()) && query(info.data(), "\\", &fixed, &length) &&
            length >= sizeof(VS_FIXEDFILEINFO)) {
            const DWORD ms = static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwProductVersionMS;
            version = WindowsVersion{true, HIWORD(ms), LOWORD(ms)};
        }
    }
    if (library) FreeLibrary(library);
    return version;
}

bool IsVistaOrLater() { return ClosesSystemFolder(KernelVersion()); }

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

namespace {

// Waits for `process` while answering what is sent or posted to this thread:
// a thread that only blocked would hang every program that broadcasts a
// message (a settings change, a DDE initiate) until the user answered the
// prompt. A quit message met here is left for the message loop.
void WaitAnswering(HANDLE process, DWORD waitMs) {
    const DWORD start = GetTickCount();
    bool quit = false;
    int quitCode = 0;
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= waitMs) break;
        const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, waitMs - elapsed, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1) break;  // ended, timed out or failed
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (quit) PostQuitMessage(quitCode);
}

}  // namespace

void RunElevatedDeployment(HWND owner, DWORD waitMs) {
    char exe[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    if (n == 0 || n >= sizeof exe) return;
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    // No shell error box: a failure here ends in the program's own error box.
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    // The consent prompt comes up in front only for a request made on behalf
    // of a window of the calling process; with none, Vista and later show it
    // as a flashing taskbar button that the user may never notice.
    run.hwnd = owner;
    run.lpVerb = "runas";
    run.lpFile = exe;
    run.lpParameters = kDeployArgument;
    run.nShow = SW_HIDE;
    // A declined prompt answers ERROR_CANCELLED; what follows is read from the files.
    if (!ShellExecuteExA(&run) || run.hProcess == nullptr) return;
    // Whatever the messages answered meanwhile raise belongs to no handler:
    // the window is not shown yet, as during its construction.
    SuspendEvents();
    WaitAnswering(run.hProcess, waitMs);
    ResumeEvents();
    CloseHandle(run.hProcess);
}

}  // namespace tolvane
