// The tests' stand-in web browser. Programs under test open web addresses
// through the shell; with the stand-in registered, the shell runs it instead
// of a real browser, and it logs each address with what it saw of the
// program's main window at that moment.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct BrowserOpening {
    std::string address;     // as the shell passed it
    std::string mainWindow;  // "visible", "hidden" or "absent"
    std::string page;        // "repair", "about" or "-": the navigation button showing
    int focusId = 0;         // control id of the program's focus window, 0 for none
    std::string line;        // the raw log line, for messages
};

// Makes the prefix hand http and https addresses to the stand-in
// (fake_browser.exe in TOLVANE_TEST_BIN) and makes programs started from now
// on log to this process's own browser log. The work is done on the first
// call; later calls return the same. The log is left as it is (see
// ClearBrowserLog). False, with the reason, when the stand-in is missing or
// the registry cannot be written: a test should stop then rather than risk a
// real browser.
bool UseFakeBrowser(std::string* error = nullptr);

std::string BrowserLogPath();  // Windows path
void ClearBrowserLog();
std::vector<BrowserOpening> BrowserOpenings();
// Pumps until at least `count` openings are logged or `timeoutMs` has passed.
bool WaitForBrowserOpenings(size_t count, DWORD timeoutMs);
// The openings logged so far, once `expected` are there or none has come for
// three seconds: the stand-in logs in a process of its own, which a loaded
// machine may run late.
size_t SettledBrowserOpenings(size_t expected);

}  // namespace e2e
