// One test of the real program: its launch and start within the driver's
// time limits, lookups by the designed form, and a picture of the screen
// when a test fails while the window is up.
#pragma once
#include "tests/e2e/driver/design_form.h"
#include "tests/e2e/driver/driver.h"

namespace e2e {

class ProgramTest : public ::testing::Test {
protected:
    static constexpr DWORD kStartTimeoutMs = 30000;
    static constexpr DWORD kExitTimeoutMs = 10000;

    // The display scale of the programs launched from now on: Wine reads
    // HKEY_CURRENT_CONFIG\Software\Fonts LogPixels at each process's start.
    // TearDown puts 96 back, also after a failure.
    void SetDisplayScale(int dpi);
    // Launches the program as program_ (fatal when it cannot be started).
    void Launch(const LaunchOptions& options = {});
    // Launches it and waits for main_ and page_; a message box in the
    // window's place fails at once with its text.
    void Start(const LaunchOptions& options = {}, DWORD pollMs = 20);
    HWND Control(int index) const { return FindDescendant(main_, design::Id(index)); }
    // The focused window by its form name, or "main window", "(none)", "other: <class>".
    std::string FocusName() const;
    // Page-control coordinates to the screen, and the centre of a tab there
    // (at the display scale set).
    POINT OnPage(int x, int y) const;
    POINT TabCentre(int tab) const;
    // After a failure: the screen as e2e_<suite>_<test>[_<detail>].bmp.
    void SaveShotIfFailed(const std::string& detail = {}) const;
    // The shot while the window is still up, then a program the test did not end is killed.
    void TearDown() override;

    std::unique_ptr<Process> program_;
    int dpi_ = 96;
    HWND main_ = nullptr;
    HWND page_ = nullptr;
};

}  // namespace e2e
