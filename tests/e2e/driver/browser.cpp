#include "tests/e2e/driver/browser.h"

#include <cstdlib>

#include "tests/e2e/driver/driver.h"

namespace e2e {

namespace {

const char* const kSchemes[] = {"http", "https"};

// Windows lets the user's classes override the machine's; Wine 8's shell
// reads HKEY_CLASSES_ROOT, which it maps to the machine's classes alone.
// Writing both keeps a real browser out whichever the shell consults.
const char* const kClassRoots[] = {"Software\\Classes\\", ""};
HKEY RootFor(int i) { return i == 0 ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT; }

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t from = 0;
    for (;;) {
        const size_t tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
        if (tab == std::string::npos) return fields;
        from = tab + 1;
    }
}

}  // namespace

std::string BrowserLogPath() {
    char dir[MAX_PATH] = {};
    const DWORD n = GetTempPathA(sizeof dir, dir);
    std::string path = (n == 0 || n >= sizeof dir) ? std::string("C:\\") : std::string(dir, n);
    if (path.back() != '\\') path += '\\';
    // One log per test process: tests of two builds may share a prefix's temp folder.
    return path + "tolvane_browser_" + std::to_string(GetCurrentProcessId()) + ".log";
}

void ClearBrowserLog() { DeleteFileIfAny(BrowserLogPath()); }

namespace {

bool RegisterFakeBrowser(std::string* error) {
    const std::string bin = EnvVar("TOLVANE_TEST_BIN");
    if (bin.empty()) {
        *error = "TOLVANE_TEST_BIN is not set";
        return false;
    }
    std::string exe = ToWinePath(bin);
    if (exe.back() != '\\' && exe.back() != '/') exe += '\\';
    exe += "fake_browser.exe";
    if (!FileExists(exe)) {
        *error = "no stand-in browser at " + exe;
        return false;
    }
    const std::string command = "\"" + exe + "\" \"%1\"";
    for (int r = 0; r < 2; ++r) {
        for (const char* scheme : kSchemes) {
            const std::string key = std::string(kClassRoots[r]) + scheme;
            // An empty ddeexec makes the shell start the handler as it starts
            // a DDE server: it waits until the handler is idle or has ended
            // before it returns. So the stand-in looks at the program while the
            // program is still inside its call to the shell. The stand-in
            // answers no DDE, and the shell then reports a failure to its
            // caller, after the stand-in has run.
            const bool ok = RegSetString(RootFor(r), key, "URL Protocol", "") &&
                            RegSetString(RootFor(r), key + "\\shell\\open\\command", "", command) &&
                            RegSetString(RootFor(r), key + "\\shell\\open\\ddeexec", "", "");
            if (!ok) {
                *error = "cannot write the handler of " + std::string(scheme) + " under " +
                         (r == 0 ? "HKCU\\" : "HKCR\\") + key;
                return false;
            }
        }
    }
    if (!SetEnvironmentVariableA("TOLVANE_BROWSER_LOG", BrowserLogPath().c_str())) {
        *error = "cannot set TOLVANE_BROWSER_LOG";
        return false;
    }
    return true;
}

}  // namespace

bool UseFakeBrowser(std::string* error) {
    // Once per test process: Launch may call this for every program it starts.
    static std::string failure;
    static const bool ready = RegisterFakeBrowser(&failure);
    if (!ready && error) *error = failure;
    return ready;
}

std::vector<BrowserOpening> BrowserOpenings() {
    std::vector<BrowserOpening> openings;
    std::string bytes;
    if (!ReadFileBytes(BrowserLogPath(), &bytes)) return openings;
    size_t from = 0;
    while (from < bytes.size()) {
        const size_t end = bytes.find("\r\n", from);
        if (end == std::string::npos) break;  // a line still being written
        const std::string line = bytes.substr(from, end - from);
        from = end + 2;
        const std::vector<std::string> f = SplitTabs(line);
        BrowserOpening o;
        o.line = line;
        o.address = f[0];
        if (f.size() > 1) o.mainWindow = f[1];
        if (f.size() > 2) o.page = f[2];
        if (f.size() > 3) o.focusId = std::atoi(f[3].c_str());
        openings.push_back(o);
    }
    return openings;
}

bool WaitForBrowserOpenings(size_t count, DWORD timeoutMs) {
    return WaitFor([count] { return BrowserOpenings().size() >= count; }, timeoutMs, 20);
}

size_t SettledBrowserOpenings(size_t expected) {
    size_t now = BrowserOpenings().size();
    for (int quiet = 0; quiet < 3 && now < expected; ++quiet)
        if (WaitForBrowserOpenings(now + 1, 1000)) now = BrowserOpenings().size(), quiet = -1;
    return now;
}

}  // namespace e2e
