#include "skin_setup/win/elevation.h"

#include <shellapi.h>

#include <vector>

#include "toolkit/win/events.h"
#include "winutil/handles.h"
#include "winutil/system_library.h"

namespace tolvane {

WindowsVersion KernelVersion() {
    WindowsVersion version{false, 0, 0};
    char kernel[MAX_PATH];
    if (!SystemFilePath("kernel32.dll", kernel)) return version;
    // Only a refused write asks this; version.dll is not worth loading at
    // every start for it.
    const Module library = HeldOrSystemLibrary("version.dll");
    const auto sizeOf = ProcOf<decltype(&GetFileVersionInfoSizeA)>(library.Get(), "GetFileVersionInfoSizeA");
    const auto infoOf = ProcOf<decltype(&GetFileVersionInfoA)>(library.Get(), "GetFileVersionInfoA");
    const auto query = ProcOf<decltype(&VerQueryValueA)>(library.Get(), "VerQueryValueA");
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
    return version;
}

bool IsVistaOrLater() { return ClosesSystemFolder(KernelVersion()); }

bool IsProcessElevated() {
    KernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return false;
    // The class is Vista's; XP's kernel refuses it (ERROR_INVALID_PARAMETER).
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const BOOL known = GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size);
    return known && elevation.TokenIsElevated != 0;
}

namespace {

// Waits for `object` while answering what is sent or posted to this thread:
// a thread that only blocked would hang every program that broadcasts a
// message (a settings change, a DDE initiate) until the user answered the
// prompt. A quit message met here is left for the message loop. Returns
// how the wait ended, as WaitForSingleObject would.
DWORD WaitAnswering(HANDLE object, DWORD waitMs) {
    const DWORD start = GetTickCount();
    bool quit = false;
    int quitCode = 0;
    DWORD woke = WAIT_TIMEOUT;
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= waitMs) {
            woke = WAIT_TIMEOUT;
            break;
        }
        woke = MsgWaitForMultipleObjects(1, &object, FALSE, waitMs - elapsed, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1) break;  // signalled, abandoned, timed out or failed
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
    return woke;
}

}  // namespace

void RunElevatedDeployment(HWND owner, DWORD waitMs) {
    // In UTF-16 from end to end: a folder whose name code page 936 cannot
    // spell (a user name like "Zoë", a Korean one) comes out of the ANSI call
    // with '?' in it, and the system refuses to start that (error 123).
    wchar_t exe[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    // The argument is ASCII. Widened by hand: a std::wstring would bring the
    // library's wide strings along, 76 KB.
    wchar_t arguments[16] = {};
    for (int i = 0; kDeployArgument[i] && i + 1 < 16; ++i) arguments[i] = kDeployArgument[i];
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    // No shell error box: a failure here ends in the program's own error box.
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    // The consent prompt comes up in front only for a request made on behalf
    // of a window of the calling process; with none, Vista and later show it
    // as a flashing taskbar button that the user may never notice.
    run.hwnd = owner;
    run.lpVerb = L"runas";
    run.lpFile = exe;
    run.lpParameters = arguments;
    run.nShow = SW_HIDE;
    // Returns once the prompt is answered (the wait below counts from
    // there); a declined prompt fails with ERROR_CANCELLED. What follows is
    // read from the files.
    if (!ShellExecuteExW(&run) || run.hProcess == nullptr) return;
    const KernelHandle helper(run.hProcess);
    // Whatever the messages answered meanwhile raise belongs to no handler:
    // the window is not shown yet, as during its construction.
    SuspendEvents();
    WaitAnswering(helper.Get(), waitMs);
    ResumeEvents();
}

PromptLock LockPromptMutex(KernelHandle* mutex, DWORD waitMs) {
    mutex->Reset(CreateMutexA(nullptr, FALSE, kPromptMutexName));
    if (!*mutex) return PromptLock::Unavailable;
    // The window is not shown yet: what the messages raise belongs to no handler.
    SuspendEvents();
    const DWORD woke = WaitAnswering(mutex->Get(), waitMs);
    ResumeEvents();
    switch (woke) {
        case WAIT_OBJECT_0: return PromptLock::Owned;
        case WAIT_ABANDONED_0: return PromptLock::Abandoned;
        case WAIT_TIMEOUT: return PromptLock::TimedOut;
        default: return PromptLock::Unavailable;
    }
}

void UnlockPromptMutex(KernelHandle* mutex) {
    ReleaseMutex(mutex->Get());
    mutex->Reset();
}

}  // namespace tolvane
