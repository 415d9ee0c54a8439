// Stand-in web browser for the end-to-end tests. The test prefix names it as
// the handler of http and https addresses, so a program that asks the shell
// to open an address runs this instead of a real browser. It opens nothing:
// it appends one line to the file named by TOLVANE_BROWSER_LOG and exits.
//
// The line holds four fields separated by tabs, all read from the launching
// program's main window at the moment this process looked:
//   address      everything the shell passed after the program name
//   window       visible | hidden | absent (no such window in the parent)
//   page         about | repair | - : which navigation button is showing
//   focus        the control id of the parent's focus window, or 0
// Without TOLVANE_BROWSER_LOG it exits silently, so a prefix that keeps this
// registration never starts a real browser for a test that did not ask.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/driver/design_form.h"
#include "winutil/handles.h"

namespace {

DWORD ParentProcessId() {
    const DWORD self = GetCurrentProcessId();
    const tolvane::KernelHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap) return 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snap.Get(), &entry); more; more = Process32Next(snap.Get(), &entry)) {
        if (entry.th32ProcessID == self) return entry.th32ParentProcessID;
    }
    return 0;
}

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindMain(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid) return TRUE;
    char cls[64] = {}, title[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    // For another process's window GetWindowText sends nothing, so a parent
    // still busy in the handler that asked for us cannot stall this look.
    GetWindowTextA(hwnd, title, sizeof title);
    if (lstrcmpA(cls, design::kMainClass) == 0 && lstrcmpA(title, design::kMainTitle) == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDescendant(HWND root, int id) {
    for (HWND c = GetWindow(root, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(c) == id) return c;
        if (HWND deeper = FindDescendant(c, id)) return deeper;
    }
    return nullptr;
}

std::string Describe(DWORD parent) {
    Search s{parent, nullptr};
    if (parent) EnumWindows(FindMain, reinterpret_cast<LPARAM>(&s));
    if (!s.found) return "absent\t-\t0";
    std::string line = IsWindowVisible(s.found) ? "visible" : "hidden";
    HWND back = FindDescendant(s.found, design::Id(design::kReturnButton));
    HWND about = FindDescendant(s.found, design::Id(design::kAboutButton));
    // IsWindowVisible would return FALSE for both while the main window is hidden.
    const auto shown = [](HWND h) { return h && (GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE) != 0; };
    line += shown(back) ? "\tabout" : shown(about) ? "\trepair" : "\t-";
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof gti;
    const int focus = GetGUIThreadInfo(GetWindowThreadProcessId(s.found, nullptr), &gti) && gti.hwndFocus
                          ? GetDlgCtrlID(gti.hwndFocus)
                          : 0;
    return line + "\t" + std::to_string(focus);
}

// Concurrent openings (a double click, two programs) must not interleave
// half lines: one WriteFile per line, retried while another holds the file.
void AppendLine(const char* path, const std::string& line) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        const tolvane::KernelHandle f(
            CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (f) {
            DWORD written = 0;
            WriteFile(f.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            return;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION) return;
        Sleep(10);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Look first: every millisecond spent here lets the parent move on.
    const std::string state = Describe(ParentProcessId());

    char log[MAX_PATH * 2] = {};
    const DWORD n = GetEnvironmentVariableA("TOLVANE_BROWSER_LOG", log, sizeof log);
    if (n == 0 || n >= sizeof log) return 0;

    // Everything after the program name, as the shell passed it: a handler
    // command that split or mangled the address shows up in the log as such.
    std::string address;
    for (int i = 1; i < __argc; ++i) {
        if (i > 1) address += ' ';
        address += __argv[i];
    }
    AppendLine(log, address + "\t" + state + "\r\n");
    return 0;
}
