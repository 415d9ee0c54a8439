#include "tests/e2e/driver/driver.h"
#include "tests/e2e/driver/locator_support.h"
#include "winutil/handles.h"

namespace e2e {

namespace {
struct TopLevelSearch {
    DWORD pid;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && (!search->className || ClassOf(hwnd) == search->className)) search->found.push_back(hwnd);
    return TRUE;
}

struct IdSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<IdSearch*>(param);
    if (GetDlgCtrlID(hwnd) == search->id) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
BOOL CALLBACK CountOne(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className) {
    TopLevelSearch search{pid, className, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMainWindow(DWORD pid) {
    for (HWND hwnd : TopLevelWindows(pid, "TolvaneMainWindow"))
        if (IsWindowVisible(hwnd) && TextOf(hwnd, 500) == "TolvaneV1.0") return hwnd;
    return nullptr;
}

HWND FindDescendant(HWND root, int id) {
    // EnumChildWindows already walks grandchildren.
    IdSearch search{id, nullptr};
    EnumChildWindows(root, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ClassOf(HWND hwnd) {
    char name[256] = "";
    const int n = GetClassNameA(hwnd, name, sizeof name);
    return std::string(name, n > 0 ? n : 0);
}

std::string TextOf(HWND hwnd, DWORD timeoutMs) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &length)) return "<no answer>";
    // The text may grow between the two messages (the clock line from 9 to 10
    // seconds): a copy that comes within a double-byte character of the
    // buffer's end may have been cut short, so it is read again, larger.
    for (size_t size = length + 8;; size *= 2) {
        std::vector<char> buf(size, '\0');
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG,
                                 timeoutMs, &copied))
            return "<no answer>";
        if (copied + 2 < size || size > 65536) return std::string(buf.data(), std::min<size_t>(copied, size - 1));
    }
}

RECT WindowRectOf(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT ClientRectOf(HWND hwnd) {
    RECT r = {};
    GetClientRect(hwnd, &r);
    return r;
}

std::string Box(const RECT& r, POINT origin) {
    return std::to_string(r.left - origin.x) + "," + std::to_string(r.top - origin.y) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

POINT ClientOrigin(HWND hwnd) {
    POINT p = {0, 0};
    ClientToScreen(hwnd, &p);
    return p;
}

POINT CentreOf(HWND hwnd) {
    const RECT r = WindowRectOf(hwnd);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

LONG StyleOf(HWND hwnd) { return GetWindowLongA(hwnd, GWL_STYLE); }
LONG ExStyleOf(HWND hwnd) { return GetWindowLongA(hwnd, GWL_EXSTYLE); }
bool IsShown(HWND hwnd) { return IsWindowVisible(hwnd) != FALSE; }
bool IsEnabledWindow(HWND hwnd) { return IsWindowEnabled(hwnd) != FALSE; }
DWORD ThreadOf(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr); }

HWND FocusOf(HWND anyWindowOfThread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(ThreadOf(anyWindowOfThread), &info)) return nullptr;
    return info.hwndFocus;
}

HWND ActiveOf(HWND anyWindowOfThread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(ThreadOf(anyWindowOfThread), &info)) return nullptr;
    return info.hwndActive;
}

int IconState(HWND topLevel) {
    for (WPARAM kind : {WPARAM(ICON_BIG), WPARAM(ICON_SMALL)}) {
        DWORD_PTR icon = 0;
        if (SendMessageTimeoutA(topLevel, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 2000, &icon) && icon) return 1;
    }
    SetLastError(ERROR_SUCCESS);
    const ULONG_PTR big = GetClassLongPtrA(topLevel, GCLP_HICON);
    // Wine returns 0 for class icons of another process's windows and
    // ERROR_INVALID_HANDLE: that says nothing about the icon.
    if (!big && GetLastError() != ERROR_SUCCESS) return -1;
    const ULONG_PTR small = GetClassLongPtrA(topLevel, GCLP_HICONSM);
    return big || small ? 1 : 0;
}

bool HasIconResource(const std::string& module, const char* name) {
    const tolvane::Module m(LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    return m && FindResourceA(m.Get(), name, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */) != nullptr;
}

LRESULT HitTest(HWND hwnd, POINT screen) {
    DWORD_PTR code = HTNOWHERE;
    SendMessageTimeoutA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), SMTO_ABORTIFHUNG, 2000, &code);
    return static_cast<LRESULT>(code);
}

bool FindHitPoint(HWND hwnd, LRESULT code, POINT* out) {
    // Probe the non-client rows from the top, right to left: the title bar's
    // buttons sit at its right end, and whoever paints the frame (Wine or a
    // skin) answers the hit test for its own layout.
    const RECT r = WindowRectOf(hwnd);
    const POINT client = ClientOrigin(hwnd);
    for (int y = r.top + 1; y < client.y; y += 2)
        for (int x = r.right - 2; x > r.left; x -= 2) {
            const POINT p{x, y};
            if (HitTest(hwnd, p) == code) {
                // Aim at the middle of the run, not its edge.
                int left = x;
                while (left - 1 > r.left && HitTest(hwnd, POINT{left - 1, y}) == code) --left;
                int bottom = y;
                while (bottom + 1 < r.bottom && HitTest(hwnd, POINT{x, bottom + 1}) == code) ++bottom;
                *out = POINT{(left + x) / 2, (y + bottom) / 2};
                return true;
            }
        }
    return false;
}

std::vector<HWND> MessageBoxes(DWORD pid) {
    std::vector<HWND> boxes;
    for (HWND hwnd : TopLevelWindows(pid, "#32770"))
        if (IsWindowVisible(hwnd)) boxes.push_back(hwnd);
    return boxes;
}

MessageBoxInfo ReadMessageBox(HWND box) {
    MessageBoxInfo info;
    info.hwnd = box;
    info.title = TextOf(box);
    if (HWND text = GetDlgItem(box, 0xFFFF)) info.text = TextOf(text);
    // Windows gives the icon static id 0x14, Wine 0x440; either way it only
    // counts when it shows an icon.
    HWND icon = GetDlgItem(box, 0x14);
    if (!icon) icon = GetDlgItem(box, 0x440);
    info.hasIcon = icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Button" || ClassOf(child) == "BUTTON")
            info.buttons.emplace_back(GetDlgCtrlID(child), TextOf(child));
    return info;
}

bool PressDialogButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    if (!button) return false;
    return PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != FALSE;
}

int WindowCountOfProcess(DWORD pid, const char* leaveOut) {
    int count = 0;
    for (HWND top : TopLevelWindows(pid)) {
        if (leaveOut && ClassOf(top) == leaveOut) continue;
        ++count;
        EnumChildWindows(top, CountOne, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

std::vector<Opened> OpenIn(DWORD pid, HWND main) {
    std::vector<Opened> open;
    for (HWND d : MessageBoxes(pid)) open.push_back({FileNameField(d) ? "Open dialog" : "message box", d});
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(ThreadOf(main), &info)) {
        if (info.flags & GUI_INMOVESIZE) open.push_back({"move loop", info.hwndMoveSize});
        if (info.flags & GUI_INMENUMODE) open.push_back({"menu", info.hwndMenuOwner});
    }
    for (HWND m : TopLevelWindows(pid, "#32768"))
        if (IsWindowVisible(m) && !(info.flags & GUI_INMENUMODE)) open.push_back({"menu without menu mode", m});
    return open;
}

void CloseOpened(const Opened& o, const std::vector<HWND>& menuOwners) {
    DWORD_PTR ignored;
    if (o.what == "Open dialog" || o.what == "message box") {
        PressDialogButton(o.hwnd, o.what == "Open dialog" ? IDCANCEL : IDOK);
    } else if (o.what == "move loop") {
        PostMessageA(o.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    } else {
        for (HWND owner : menuOwners) SendMessageTimeoutA(owner, WM_CANCELMODE, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    }
}

}  // namespace e2e
