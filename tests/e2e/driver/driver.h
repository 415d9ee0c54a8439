// End-to-end driver: starts the real program under Wine and looks at it from
// outside, the way a user would: window lookups, real input through SendInput,
// screen pixels, the registry and files of the prefix. Every wait is bounded,
// so a program that hangs fails the test instead of hanging the run.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver/design_form.h"
#include "tests/e2e/driver/owners.h"

namespace e2e {

// ---- settling -------------------------------------------------------------

// Pumps this thread's messages for `ms` milliseconds (never sleeps blindly:
// sent messages from the program, e.g. during SendMessageTimeout, keep flowing).
void Pump(DWORD ms);

// Polls `condition` while pumping, until it holds or `timeoutMs` has passed.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 10);

// Waits until the program's GUI thread is idle (WaitForInputIdle) and then
// a short quiet spell, so that posted paints have run.
void Settle(HANDLE process, DWORD quietMs = 60);

// ---- paths ----------------------------------------------------------------

// "/a/b/c.exe" -> "Z:\a\b\c.exe"; a path that already looks like a Windows
// path is returned unchanged.
std::string ToWinePath(const std::string& unixPath);
std::string EnvVar(const char* name);  // empty when unset
// The program under test: TOLVANE_EXE as a Wine path (empty when unset).
std::string ProgramPath();
std::wstring WideOf(const std::string& text);  // code page 936 to UTF-16

// ---- the program's process --------------------------------------------------

struct LaunchOptions {
    std::string exe;            // Windows path; empty: ProgramPath()
    std::wstring wideExe;       // instead of exe: a path code page 936 cannot spell
    std::string workingDir;     // empty: inherit ours
    std::string arguments;      // appended after the quoted exe
    DWORD lifetimeMs = 120000;  // the child is killed when it outlives this
    // Started with this process token's linked token, a limited one: as a
    // filtered administrator or a standard user starts it on Windows 10
    // (under Wine every process is an elevated administrator otherwise).
    bool limitedToken = false;
};

// Owns one child process. Ending the owner without the child having ended
// kills it, and a watchdog kills a child that outlives its lifetime, so no
// test leaves a program running behind it.
class Process {
public:
    static std::unique_ptr<Process> Launch(const LaunchOptions& options, std::string* error = nullptr);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return pid_; }
    HANDLE Handle() const { return process_.Get(); }
    bool Running() const;
    // Exit code once the process has ended within `timeoutMs`; false otherwise.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    // Processes it has started so far, ended ones too, as its job counts them
    // (a snapshot misses one that came and went between two looks); -1 unknown.
    int ChildrenStarted() const;
    // The visible main window (class TolvaneMainWindow, title "TolvaneV1.0"),
    // looked for every `pollMs`. Given `boxes`, a message box ends the wait
    // too and is put there: a program that shows one instead of its window
    // fails at once rather than at the time limit.
    HWND WaitForMainWindow(DWORD timeoutMs, DWORD pollMs = 20, std::vector<HWND>* boxes = nullptr);
    void Kill();

private:
    Process() = default;
    // Released in reverse: the watchdog, which kills through the process's
    // handle, is gone before that handle is closed.
    tolvane::KernelHandle process_;
    tolvane::KernelHandle job_;
    QueueTimer watchdog_;
    DWORD pid_ = 0;
};

// This test program itself, started again with `arguments`.
std::unique_ptr<Process> LaunchSelf(const std::string& arguments, std::string* error = nullptr);

// Processes now running (a Toolhelp32 snapshot): id, parent's id, exe file name.
struct ProcessEntry {
    DWORD pid = 0, parent = 0;
    std::string exe;
};
std::vector<ProcessEntry> ProcessSnapshot();

// ---- windows ----------------------------------------------------------------

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className = nullptr);
HWND FindMainWindow(DWORD pid);          // visible, right class and title
HWND FindDescendant(HWND root, int id);  // recursive by control id
std::string ClassOf(HWND hwnd);
std::string TextOf(HWND hwnd, DWORD timeoutMs = 2000);  // WM_GETTEXT, code page 936 bytes
RECT WindowRectOf(HWND hwnd);
RECT ClientRectOf(HWND hwnd);                           // client coordinates
std::string Box(const RECT& r, POINT origin = {0, 0});  // "x,y wxh", x and y from `origin`
POINT ClientOrigin(HWND hwnd);                          // client (0,0) on the screen
POINT CentreOf(HWND hwnd);                              // window rectangle centre, screen
LONG StyleOf(HWND hwnd);
LONG ExStyleOf(HWND hwnd);
bool IsShown(HWND hwnd);  // IsWindowVisible (ancestors included)
bool IsEnabledWindow(HWND hwnd);
DWORD ThreadOf(HWND hwnd);
HWND FocusOf(HWND anyWindowOfThread);  // GetGUIThreadInfo of its thread
HWND ActiveOf(HWND anyWindowOfThread);
// 1 when the window has an icon (WM_GETICON or its class), 0 when not, -1
// when that cannot be read from another process (Wine's class icons).
int IconState(HWND topLevel);
bool HasIconResource(const std::string& module, const char* name);  // an icon group
LRESULT HitTest(HWND hwnd, POINT screen);                           // WM_NCHITTEST
// A screen point of `hwnd` whose hit test answers `code` (HTCLOSE, HTCAPTION...).
bool FindHitPoint(HWND hwnd, LRESULT code, POINT* out);

// Message boxes (dialog class "#32770") of a process.
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string title;
    std::string text;                                  // the static of id 0xFFFF
    bool hasIcon = false;                              // the icon static (id 0x14) is visible
    std::vector<std::pair<int, std::string>> buttons;  // id, caption
};
std::vector<HWND> MessageBoxes(DWORD pid);
MessageBoxInfo ReadMessageBox(HWND box);
bool PressDialogButton(HWND box, int id);  // WM_COMMAND as a click would send

// What a program has open besides its main window `main`: "Open dialog",
// "message box", "move loop" (moving or sizing), "menu" (menu mode), "menu
// without menu mode" (a menu window that shows); with the dialog, the loop's
// window or the menu's owner.
struct Opened {
    std::string what;
    HWND hwnd;
};
std::vector<Opened> OpenIn(DWORD pid, HWND main);
// Closes it as a user would: Cancel or OK, Escape to the loop (which only the
// loop reads), or cancelled modes for a menu, sent to each of `menuOwners`.
void CloseOpened(const Opened& o, const std::vector<HWND>& menuOwners);

// ---- input (SendInput) --------------------------------------------------------

// Makes `hwnd`'s top-level window the foreground window; true once it is.
bool BringToForeground(HWND hwnd, DWORD timeoutMs = 2000);
bool MoveMouse(POINT screen);
bool ClickAt(POINT screen);
bool ClickControl(HWND control);  // its centre, foreground first
void PressKey(WORD vk);
// Holds the leading keys, presses the last one, releases in reverse order:
// KeyCombo({VK_SHIFT, VK_TAB}), KeyCombo({VK_MENU, VK_F4}).
void KeyCombo(const std::vector<WORD>& keys);
void TypeText(const std::string& text);          // code page 936 text
bool SetClipboardText(const std::string& text);  // CF_TEXT, code page 936

// ---- screen pixels ------------------------------------------------------------

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};
std::string ToString(const Rgb& c);
Rgb FromColorRef(COLORREF c);

class Capture {
public:
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }
    bool Contains(int x, int y) const;  // screen coordinates
    Rgb At(int x, int y) const;         // screen coordinates
    // Pixels in the screen rectangle for which `pick` holds.
    int Count(const RECT& screen, const std::function<bool(Rgb)>& pick) const;
    bool SaveBmp(const std::string& path) const;

private:
    friend Capture CaptureScreen(const RECT&);
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;  // 0x00RRGGBB, top-down
};
Capture CaptureScreen(const RECT& screen);
Capture CaptureWindow(HWND hwnd);  // its window rectangle
// Saves a capture of `hwnd` to %TEMP% (or TOLVANE_E2E_SHOTS) as <name>.bmp;
// returns the path written, empty on failure.
std::string SaveFailureShot(HWND hwnd, const std::string& name);

// ---- registry and files of the prefix ----------------------------------------

bool RegSetRaw(HKEY root, const std::string& key, const std::string& value, DWORD type, const std::string& bytes);
bool RegSetString(HKEY root, const std::string& key, const std::string& value, const std::string& text,
                  DWORD type = REG_SZ);  // zero added
bool RegSetDword(HKEY root, const std::string& key, const std::string& value, DWORD data);
bool RegGetRaw(HKEY root, const std::string& key, const std::string& value, DWORD* type, std::string* bytes);
bool RegDeleteValueIfAny(HKEY root, const std::string& key, const std::string& value);
bool RegDeleteKeyTree(HKEY root, const std::string& key);  // true also when absent
bool RegKeyExists(HKEY root, const std::string& key);

bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool ReadFileBytes(const std::string& path, std::string* bytes);
std::string FileBytes(const std::string& path);  // empty when absent or unreadable
bool DeleteFileIfAny(const std::string& path);   // true also when absent
bool FileExists(const std::string& path);
long long FileSizeOf(const std::string& path);  // -1 when absent
// The names of the files in `folder` (ending in a backslash), without . and ..
std::set<std::string> FileNamesIn(const std::string& folder);

// Runs `command` with /bin/sh as a Unix process of this machine (Wine starts
// a Unix program it is passed, but gives no handle to wait on); true once it
// ended with status 0 within `timeoutMs`. No double quotes in `command`.
bool RunUnixShell(const std::string& command, DWORD timeoutMs = 10000);
// Makes the Unix folder `unixFolder` refuse new files (chattr +i, root only;
// Wine then fails with ERROR_ACCESS_DENIED), or take them again.
bool RefuseNewFiles(const std::string& unixFolder, bool refuse);

// ---- resource headroom --------------------------------------------------------

// How many more GDI objects this process can create: solid brushes are
// created until creation fails, then all freed. GetGuiResources returns 0
// under Wine, so headroom is the measure that works there.
int GdiHeadroom(int ceiling = 200000);
// The same, counted inside another process by the probe DLL (gdi_probe.dll in
// TOLVANE_TEST_BIN) that a remote thread loads there; -1 when it cannot.
int GdiHeadroomOf(HANDLE process);
// Windows of this process's threads (top-level and children), a cheap stand-in
// for a USER-object count; top-level windows of class `leaveOut` and their
// children left out.
int WindowCountOfProcess(DWORD pid, const char* leaveOut = nullptr);

// ---- expected against actual ----------------------------------------------------

std::string Hex(DWORD value);  // "0x" and eight hexadecimal digits

// One observed fact: what was looked at and what it showed.
struct Observed {
    std::string what;
    std::string value;
};
// One expected fact. `value` "*" accepts any value. An optional item may be
// missing from what was observed; when it is there, it must match.
struct Expected {
    std::string what;
    std::string value;
    bool optional = false;
};
// Compares in order, like Wine's ok_sequence: mismatches do not stop the walk,
// and the failure lists expected against actual line by line with `context`.
::testing::AssertionResult MatchSequence(const std::vector<Expected>& expected, const std::vector<Observed>& actual,
                                         const std::string& context);

// Expected and observed facts gathered side by side, one call per fact.
struct Facts {
    std::vector<Expected> expected;
    std::vector<Observed> actual;
    void Add(const std::string& what, const std::string& seen, const std::string& want) {
        actual.push_back({what, seen});
        expected.push_back({what, want});
    }
    ::testing::AssertionResult Match(const std::string& context) const {
        return MatchSequence(expected, actual, context);
    }
};

// ---- the program's page control ---------------------------------------------------

// Where the tabs are as designed, in page-control coordinates: the captions
// measured in the tab font ("宋体" -12, GB2312) on this display. At another
// display scale `dpi`, every length and the font as the program scales them.
struct TabGeometry {
    RECT tabs[design::kPageCount];
    RECT body;
};
TabGeometry DesignTabs(int dpi = 96);
// "宋体" -12 at the display scale `dpi`; the caller deletes it.
HFONT SongTiFont(int dpi, BYTE charset);

// ---- the form at a display scale ------------------------------------------------

// One line of `text` in the font control `index` draws with at `dpi`: 按钮2's
// "宋体", else the system's GUI font, which the system scales itself.
SIZE DesignTextSize(int index, int dpi, const std::string& text);
int DesignEditHeight(int designed, int dpi = 96);  // grown to one line of its font with its edges
// What a start at `dpi` shows: the window's size, the page control, each
// windowed control, the skin's close button (its width, by hit test) and
// title (its width), the banner filling its box, the page body's frame.
void AddScaledLayout(Facts& f, HWND main, HWND page, int dpi);

}  // namespace e2e
