// Process start-up, the message loop, shutdown and the fatal error report.
#include <windows.h>

#include "app/win/startup.h"
#include "app/win/wiring.h"
#include "core/fatal_text.h"
#include "locator/win/locator.h"
#include "navigation/win/navigation.h"
#include "skin_setup/skin_plan.h"
#include "skin_setup/win/apply_skin.h"
#include "skin_setup/win/dll_binding.h"
#include "toolkit/geometry.h"
#include "toolkit/win/control_services.h"
#include "toolkit/win/fatal.h"
#include "toolkit/win/keyboard.h"
#include "toolkit/win/main_window.h"
#include "winutil/ole_session.h"

namespace tolvane {

namespace {
// OLE, ended by shutdown or by the fatal report, whichever comes first.
OleSession g_ole;

// In UTF-16: from a folder whose name code page 936 cannot spell, the ANSI
// path holds '?' and the change would fail, leaving the folder the program
// was started from current.
void MakeOwnFolderCurrent() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    // Cut at the last backslash; the file name is not needed.
    wchar_t* cut = nullptr;
    for (wchar_t* p = path; *p; ++p)
        if (*p == L'\\') cut = p;
    if (!cut) return;
    if (cut == path + 2 && path[1] == L':') cut[1] = L'\0';  // keep "C:\" a root
    else *cut = L'\0';
    SetCurrentDirectoryW(path);
}

// Returns what the quit message carries, 0 when the window went without
// one reaching the loop: a loop of the system's that ran when it went (the
// move loop, under Wine) may have taken the quit for its own end.
int RunMessageLoop() {
    SetMessageLoopEntered();
    MSG msg{};
    while (MainWindow() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslateFormMessage(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

// Shutdown's releases, shared with the fatal path.
void ReleaseLibrariesAndOle() {
    ReleaseBoundLibraries();
    g_ole.End();
}

}  // namespace

void OnMainWindowCreated() {
    ApplySkin(kStartupSkin);
    LocateInstallation();
    FitBanner();
    OpenHomePage();
}

// The page control's width is already at the window's scale.
void FitBanner() { SetControlWidth(kBanner, BannerWidthFor(PageControlWidth(), MainWindowDpi())); }

HWND BuildProgramWindow(HINSTANCE instance, bool* built) { return BuildMainWindow(instance, DeliverEvent, built); }

int RunProgram(HINSTANCE instance) {
    SetFatalRelease(ReleaseLibrariesAndOle);
    MakeOwnFolderCurrent();
    g_ole.Begin();
    if (!FormTableIsValid()) FatalRuntimeError(kLoadTemplateFailed, 0);
    // Built and closed again during its own start-up is no failure; not built at all is.
    bool built = false;
    if (!BuildProgramWindow(instance, &built) && !built) FatalRuntimeError(kCreateWindowFailed, 0);
    int exitCode = 0;
    if (MainWindow()) exitCode = RunMessageLoop();
    SuspendEvents();
    ReleaseLibrariesAndOle();
    return exitCode;
}

}  // namespace tolvane
