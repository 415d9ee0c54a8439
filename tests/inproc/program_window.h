// The program's main window built inside a test process, where hooks and
// counts can watch its code at work.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/win/startup.h"
#include "tests/e2e/driver/browser.h"
#include "tests/e2e/driver/driver.h"

namespace inproc {

// Skin files are written only when missing: drop any an older build left.
inline ::testing::AssertionResult DropStaleSkinFiles() {
    for (const char* stale : {"C:\\WINDOWS\\system\\Skin.dll", "C:\\WINDOWS\\system\\QQ2009.she"})
        if (!e2e::DeleteFileIfAny(stale)) return ::testing::AssertionFailure() << "cannot remove " << stale;
    return ::testing::AssertionSuccess();
}

// Dispatches everything queued, paints included, so that each step is really drawn.
inline void Drain(HWND main) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// Owns the window; its destruction may post a quit message, which is ours to eat.
struct ProgramWindow {
    HWND hwnd = nullptr;
    ~ProgramWindow() {
        if (hwnd && IsWindow(hwnd)) Destroy();
    }
    // The window opens its home page as it is built: never in a real browser.
    ::testing::AssertionResult Build() {
        std::string error;
        if (!e2e::UseFakeBrowser(&error)) return ::testing::AssertionFailure() << error;
        hwnd = tolvane::BuildProgramWindow(GetModuleHandleA(nullptr));
        if (!hwnd) return ::testing::AssertionFailure() << "the main window could not be built";
        return ::testing::AssertionSuccess();
    }
    void Destroy() {
        DestroyWindow(hwnd);
        e2e::Pump(50);
    }
};

}  // namespace inproc
