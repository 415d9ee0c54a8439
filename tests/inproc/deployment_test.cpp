// The system folder as the program reaches it: which Windows asks for
// elevation, the elevated helper and the wait for it, and system DLLs that
// never come from beside the program. This test program doubles as the
// helper: started with /deploy it does what tolvane.exe /deploy does.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "resources/resource_ids.h"
#include "skin_setup/skin_plan.h"
#include "skin_setup/win/apply_skin.h"
#include "skin_setup/win/dll_binding.h"
#include "skin_setup/win/elevation.h"
#include "skin_setup/win/file_ops.h"
#include "tests/e2e/driver/driver.h"
#include "tests/inproc/import_slot.h"
#include "tests/inproc/program_window.h"
#include "toolkit/win/control_services.h"
#include "toolkit/win/resource_bytes.h"
#include "winutil/handles.h"
#include "winutil/system_library.h"

using namespace tolvane;

namespace {

const std::string kSystem = "C:\\WINDOWS\\system\\", kEngine = kSystem + "Skin.dll", kSkin2009 = kSystem + "QQ2009.she";

std::string Block(int id) {
    const ResourceBytes r = RcDataBytes(id);
    return std::string(static_cast<const char*>(r.data), r.size);
}
bool BothWhole() {
    return e2e::FileBytes(kEngine) == Block(IDR_SKIN_ENGINE) && e2e::FileBytes(kSkin2009) == Block(IDR_SKIN_2009);
}
void Clean() { inproc::DropStaleSkinFiles(); }

// The version kernel32's own file states, read in one small place. Wine's
// kernel32 states 10.0 whichever Windows the prefix plays (RtlGetVersion
// says 6.1 here), so the test asks only what the program does with it.
TEST(Deployment, WindowsVersionIsKernel32s) {
    const WindowsVersion v = KernelVersion();
    ASSERT_TRUE(v.known);
    // wine-quirk: Wine's kernel32 states 10.0 whatever Windows the prefix plays; XP's states 5.1, and both fail there.
    EXPECT_GE(v.major, 6u);
    EXPECT_TRUE(IsVistaOrLater()) << "Wine runs as Vista or later";
}

// An owner filled again closes what it held: the event's name is free once
// the token replaces it.
TEST(Deployment, TokenOwnerFilledAgainClosesWhatItHeld) {
    const char* name = "tolvane-owner-filled-again";
    KernelHandle owner(CreateEventA(nullptr, TRUE, FALSE, name));
    ASSERT_TRUE(owner);
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, owner.Receive()));
    EXPECT_FALSE(KernelHandle(OpenEventA(SYNCHRONIZE, FALSE, name))) << "the event it held is still open";
}

struct Sender {
    HWND window;
    std::atomic<bool> answered;
};
DWORD WINAPI SendDuringTheWait(LPVOID p) {
    auto* sent = static_cast<Sender*>(p);
    Sleep(300);
    DWORD_PTR result = 0;
    sent->answered = SendMessageTimeoutA(sent->window, WM_NULL, 0, 0, SMTO_NORMAL, 500, &result) != 0;
    // As a close of the last window would post it: it is the message loop's.
    PostThreadMessageA(GetWindowThreadProcessId(sent->window, nullptr), WM_QUIT, 7, 0);
    return 0;
}

// Wine runs a "runas" launch without a prompt, so the whole of it runs here
// but the consent itself. Each row starts the helper on an empty system
// folder; a slow helper (TOLVANE_TEST_DEPLOY_DELAY_MS) outlasts the wait.
// Meanwhile another thread sends this one a message, as a broadcast would.
TEST(Deployment, ElevatedHelperIsAwaitedWithinItsTimeAnsweringMessages) {
    const struct {
        const char* name;
        DWORD helperDelayMs, waitMs;
        bool wholeOnReturn;
        DWORD minMs, maxMs;
        // clang-format off
    } rows[] = {
        {"helper done within the wait", 1500, kDeployWaitMs, true, 1400, 20000},
        {"helper outlasts the wait", 6000, 1000, false, 900, 4000},
    };
    // clang-format on
    const e2e::Window window(CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Clean();
        SetEnvironmentVariableA("TOLVANE_TEST_DEPLOY_DELAY_MS", std::to_string(row.helperDelayMs).c_str());
        Sender sent{window.Get(), false};
        const KernelHandle sender(CreateThread(nullptr, 0, SendDuringTheWait, &sent, 0, nullptr));
        const DWORD start = GetTickCount();
        RunElevatedDeployment(window.Get(), row.waitMs);
        const DWORD took = GetTickCount() - start;
        WaitForSingleObject(sender.Get(), 5000);
        EXPECT_TRUE(sent.answered) << "a message sent during the wait went unanswered";
        MSG quit{};
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 7)
            << "the quit message posted during the wait was dropped";
        // wine-quirk: Wine starts a "runas" helper at once; Vista to 11 first wait for the prompt's answer.
        EXPECT_GE(took, row.minMs);
        EXPECT_LE(took, row.maxMs);
        EXPECT_EQ(BothWhole(), row.wholeOnReturn);
        // The helper that outlasted the wait still finishes; it must not
        // write into the next row.
        EXPECT_TRUE(e2e::WaitFor(BothWhole, 20000)) << "the helper never wrote both files";
    }
    SetEnvironmentVariableA("TOLVANE_TEST_DEPLOY_DELAY_MS", nullptr);
    Clean();
}

// A copy of a system DLL's name in a download folder beside the program,
// with Wine told to prefer a native copy: it must never load, neither through
// the helper, nor by a bare name once the search is restricted, nor when
// tolvane.exe's window brings uxtheme along (its restriction comes first);
// loaded on purpose by its path, the helper must not take it for the system's.
TEST(Deployment, PlantedSystemDllBesideTheProgramIsNeverLoaded) {
    char temp[MAX_PATH], self[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string folder = std::string(temp) + "tolvane-planted\\", exe = folder + "downloaded.exe";
    const std::string marker = e2e::ToWinePath(e2e::EnvVar("TOLVANE_TEST_BIN") + "/planted_marker.dll");
    const std::string app = "Software\\Wine\\AppDefaults\\downloaded.exe\\DllOverrides";
    CreateDirectoryA(folder.c_str(), nullptr);
    const struct {
        std::string program;
        const char* dll;
        const char* arguments;
        // clang-format off
    } rows[] = {
        {self, "msimg32", "--child-load=helper"},
        {self, "msimg32", "--child-load=restricted"},
        {self, "msimg32", "--child-load=elsewhere"},
        {e2e::ProgramPath(), "uxtheme", ""},
    };
    // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.program + " " + row.arguments);
        const std::string planted = folder + row.dll + ".dll";
        ASSERT_TRUE(CopyFileA(row.program.c_str(), exe.c_str(), FALSE) &&
                    CopyFileA(marker.c_str(), planted.c_str(), FALSE));
        // Without it Wine would run its own DLL under the planted file's name.
        ASSERT_TRUE(e2e::RegSetString(HKEY_CURRENT_USER, app, row.dll, "native,builtin"));
        e2e::LaunchOptions options;
        options.exe = exe;
        options.arguments = row.arguments;
        std::unique_ptr<e2e::Process> child = e2e::Process::Launch(options);
        ASSERT_TRUE(child);
        if (HWND main = child->WaitForMainWindow(30000)) PostMessageA(main, WM_CLOSE, 0, 0);
        DWORD code = 0xDEAD;
        ASSERT_TRUE(child->WaitForExit(20000, &code));
        EXPECT_EQ(code, 0u) << "1: loaded before; 2: not loaded; 3: loaded from elsewhere than the system folder";
        // wine-quirk: Wine has SetDefaultDllDirectories, as 8 to 11 and an updated Vista or 7 do; on XP the
        // program's own folder is still searched, and the uxtheme row's planted copy may load there.
        EXPECT_FALSE(e2e::FileExists(planted + ".loaded")) << "the planted copy ran";
        for (const std::string& f : {planted + ".loaded", planted, exe}) e2e::DeleteFileIfAny(f);
    }
    e2e::RegDeleteKeyTree(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\downloaded.exe");
    RemoveDirectoryA(folder.c_str());
    Clean();
}

// What each import hooked below held, by name: the hooks call on through it.
std::map<std::string, void*> g_real;
template <typename F>
F Real(const char* name) {
    return reinterpret_cast<F>(g_real[name]);
}

// This program's imports pointed at hooks while it lives: tolvane's code,
// linked in, calls through them.
struct Hooked {
    struct Hook {
        const char *dll, *name;
        void* to;
    };
    const std::vector<Hook> hooks;
    std::string missing;  // the names of the imports not found
    Hooked(std::initializer_list<Hook> list) : hooks(list) {
        for (const Hook& h : hooks) {
            g_real[h.name] = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(h.dll), h.name));
            if (!inproc::SwapImport(GetModuleHandleA(nullptr), g_real[h.name], h.to)) missing += h.name;
        }
    }
    ~Hooked() {
        for (const Hook& h : hooks) inproc::SwapImport(GetModuleHandleA(nullptr), h.to, g_real[h.name]);
    }
};

// The flushes and the renames of `g_folder`'s files, in order.
std::string g_folder;
std::vector<e2e::Observed> g_calls;
BOOL WINAPI LoggedFlush(HANDLE h) {
    g_calls.push_back({"flush", ""});
    return Real<decltype(&FlushFileBuffers)>("FlushFileBuffers")(h);
}
// A process this one may not open, as a standard user's start sees the elevated helper's.
constexpr DWORD kDeniedPid = 4000000001u;
HANDLE WINAPI DeniedOpen(DWORD access, BOOL inherit, DWORD pid) {
    if (pid != kDeniedPid) return Real<decltype(&OpenProcess)>("OpenProcess")(access, inherit, pid);
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}
BOOL WINAPI LoggedMove(LPCSTR from, LPCSTR to, DWORD flags) {
    const BOOL moved = Real<decltype(&MoveFileExA)>("MoveFileExA")(from, to, flags);
    const std::string name = from + g_folder.size(), target = to + g_folder.size();
    g_calls.push_back({"move " + name + " to " + target,
                       (flags == MOVEFILE_WRITE_THROUGH ? "write-through" : "flags " + std::to_string(flags)) +
                           (moved ? "" : ", failed")});
    return moved;
}
// CreateFileA for writing in `g_deniedIn` is denied the next `g_denied`
// times: as a name that a delete-pending file holds is, or, counting on
// without end, as a folder closed to a standard user denies every name. The
// one after them fails with `g_thenError`, where one is set.
std::string g_deniedIn;
int g_denied = 0;
DWORD g_thenError = 0;
HANDLE WINAPI DeniedCreate(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                           DWORD flags, HANDLE model) {
    if ((g_denied > 0 || g_thenError) && (access & GENERIC_WRITE) &&
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name, g_deniedIn.size(), g_deniedIn.c_str(),
                       g_deniedIn.size()) == CSTR_EQUAL) {
        SetLastError(g_denied > 0 ? ERROR_ACCESS_DENIED : std::exchange(g_thenError, 0));
        g_denied -= g_denied > 0;
        return INVALID_HANDLE_VALUE;
    }
    return Real<decltype(&CreateFileA)>("CreateFileA")(name, access, share, security, disposition, flags, model);
}

// Each write as the system folder sees it: the bytes under a name of this
// process, flushed before the rename that replaces nothing; before it,
// leftovers of that name whose process no longer runs are deleted (an
// earlier holder of this process's id among them), and nothing else: a
// writer that cannot be asked may still be writing.
TEST(Deployment, WritesGoWholeUnderTheirFinalNameAndReplaceNothing) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    g_folder = std::string(temp) + "tolvane-writes\\";
    const std::string self = std::to_string(GetCurrentProcessId()), mine = "Skin.dll." + self + "-0.tmp";
    std::string running;  // a process that runs, not this one
    for (const e2e::ProcessEntry& p : e2e::ProcessSnapshot())
        if (p.pid != 0 && p.pid != GetCurrentProcessId()) running = "Skin.dll." + std::to_string(p.pid) + "-0.tmp";
    const std::string block = Block(IDR_SKIN_2009), other = "QQ2009.she.4000000000-0.tmp",
                      reused = "Skin.dll." + self + "-5.tmp",
                      denied = "Skin.dll." + std::to_string(kDeniedPid) + "-0.tmp";
    const struct {
        const char* name;
        std::set<std::string> before;  // files; the one of this process's id read-only, "Skin.dll" other bytes
        std::vector<e2e::Expected> calls;
        std::string engine;  // the bytes under the final name afterwards
        std::set<std::string> after;
        int denied = 0;  // creations denied
        DWORD then = 0;  // the error of the creation after them
        WriteResult result = WriteResult::Written;
        // clang-format off
    } rows[] = {
        {"a fresh name", {}, {{"flush", ""}, {"move " + mine + " to Skin.dll", "write-through"}}, block, {"Skin.dll"}},
        {"a name that holds other bytes", {"Skin.dll"},
         {{"flush", ""}, {"move " + mine + " to Skin.dll", "write-through, failed"}}, "other bytes", {"Skin.dll"}},
        {"leftovers", {mine, reused, "SKIN.DLL.4000000000-3.TMP", running, denied, other, "tlv1A.tmp", "Skin.dll.bak"},
         {{"flush", ""}, {"move Skin.dll." + self + "-1.tmp to Skin.dll", "write-through"}}, block,
         {"Skin.dll", mine, running, denied, other, "tlv1A.tmp", "Skin.dll.bak"}},
        {"a name denied", {}, {{"flush", ""}, {"move Skin.dll." + self + "-1.tmp to Skin.dll", "write-through"}}, block,
         {"Skin.dll"}, 1},
        {"a name denied, the next failing otherwise", {}, {}, "", {}, 1, ERROR_WRITE_FAULT, WriteResult::Failed},
    };
    // clang-format on
    // Called here too, so that it is imported even were the program's code to
    // stop calling it: the table then says what is missing.
    FlushFileBuffers(INVALID_HANDLE_VALUE);
    const Hooked hooks{{"kernel32.dll", "FlushFileBuffers", reinterpret_cast<void*>(LoggedFlush)},
                       {"kernel32.dll", "MoveFileExA", reinterpret_cast<void*>(LoggedMove)},
                       {"kernel32.dll", "CreateFileA", reinterpret_cast<void*>(DeniedCreate)},
                       {"kernel32.dll", "OpenProcess", reinterpret_cast<void*>(DeniedOpen)}};
    ASSERT_EQ(hooks.missing, "") << "imports not found";
    g_deniedIn = g_folder;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CreateDirectoryA(g_folder.c_str(), nullptr);
        for (const std::string& name : row.before) {
            ASSERT_TRUE(e2e::WriteFileBytes(g_folder + name, name == "Skin.dll" ? "other bytes" : "x"));
            if (name == mine) SetFileAttributesA((g_folder + name).c_str(), FILE_ATTRIBUTE_READONLY);
        }
        g_calls.clear();
        g_denied = row.denied, g_thenError = row.then;
        EXPECT_EQ(WriteWholeFile(g_folder + "Skin.dll", {ByteBlock{block.data(), block.size()}}), row.result);
        EXPECT_TRUE(e2e::MatchSequence(row.calls, g_calls, row.name));
        EXPECT_EQ(e2e::FileBytes(g_folder + "Skin.dll"), row.engine);
        EXPECT_EQ(e2e::FileNamesIn(g_folder), row.after);
        for (const std::string& name : e2e::FileNamesIn(g_folder)) {
            SetFileAttributesA((g_folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((g_folder + name).c_str());
        }
    }
    RemoveDirectoryA(g_folder.c_str());
}

// Several first starts at one moment: the helpers, held at a gate until all
// are ready, all find the files missing and write them. A name that another
// took meanwhile is theirs as much: all end with 0, the files whole, and
// nothing is left over.
TEST(Deployment, SeveralHelpersAtOnceAllSucceed) {
    Clean();
    const std::set<std::string> before = e2e::FileNamesIn(kSystem);
    const KernelHandle ready(CreateSemaphoreA(nullptr, 0, 16, "tolvane-test-ready"));
    const KernelHandle gate(CreateEventA(nullptr, TRUE, FALSE, "tolvane-test-gate"));
    ASSERT_TRUE(ready && gate);
    SetEnvironmentVariableA("TOLVANE_TEST_DEPLOY_GATE", "1");
    std::vector<std::unique_ptr<e2e::Process>> helpers;
    for (int i = 0; i < 6; ++i) {
        helpers.push_back(e2e::LaunchSelf("/deploy"));
        ASSERT_TRUE(helpers.back());
    }
    SetEnvironmentVariableA("TOLVANE_TEST_DEPLOY_GATE", nullptr);
    for (size_t i = 0; i < helpers.size(); ++i) ASSERT_EQ(WaitForSingleObject(ready.Get(), 30000), WAIT_OBJECT_0);
    SetEvent(gate.Get());
    for (auto& helper : helpers) {
        DWORD code = 0xDEAD;
        EXPECT_TRUE(helper->WaitForExit(30000, &code));
        EXPECT_EQ(code, 0u) << "a helper that lost the race reported a failure";
    }
    EXPECT_TRUE(BothWhole());
    std::set<std::string> after = before;
    after.insert({"Skin.dll", "QQ2009.she"});
    EXPECT_EQ(e2e::FileNamesIn(kSystem), after);
    Clean();
}

// A standard user's first start on Vista to 11, as this process plays it:
// the system folder refuses its writes, the token is not elevated, and the
// helper's launch is recorded on its way to the shell.
BOOL WINAPI NotElevated(HANDLE token, TOKEN_INFORMATION_CLASS what, LPVOID info, DWORD size, PDWORD needed) {
    if (what != TokenElevation || size < sizeof(TOKEN_ELEVATION))
        return Real<decltype(&GetTokenInformation)>("GetTokenInformation")(token, what, info, size, needed);
    static_cast<TOKEN_ELEVATION*>(info)->TokenIsElevated = 0;
    *needed = sizeof(TOKEN_ELEVATION);
    return TRUE;
}
std::string Utf8(const wchar_t* text) {
    char out[MAX_PATH * 3] = "";
    if (text) WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
    return out;
}
std::vector<e2e::Observed> g_launches;
BOOL WINAPI RecordedLaunch(SHELLEXECUTEINFOW* run) {
    const HWND main = MainWindow();
    const char* owner = run->hwnd == nullptr    ? "none"
                        : run->hwnd != main     ? "another window"
                        : IsWindowVisible(main) ? "the main window, shown"
                                                : "the main window, hidden";
    g_launches.insert(g_launches.end(), {{"verb", Utf8(run->lpVerb)},
                                         {"owner", owner},
                                         {"mask", e2e::Hex(run->fMask)},
                                         {"file", Utf8(run->lpFile)},
                                         {"parameters", Utf8(run->lpParameters)},
                                         {"show", std::to_string(run->nShow)}});
    return Real<decltype(&ShellExecuteExW)>("ShellExecuteExW")(run);
}

// The helper must be asked for with the verb that elevates, on behalf of the
// main window while it is still hidden: with no owner the consent prompt only
// flashes on the taskbar. Wine's "runas" neither prompts nor elevates, so
// only the request itself shows either.
TEST(Deployment, RefusedFirstStartAsksForTheHelperOnBehalfOfTheHiddenWindow) {
    Clean();
    inproc::ProgramWindow window;
    {
        const Hooked hooks{{"kernel32.dll", "CreateFileA", reinterpret_cast<void*>(DeniedCreate)},
                           {"advapi32.dll", "GetTokenInformation", reinterpret_cast<void*>(NotElevated)},
                           {"shell32.dll", "ShellExecuteExW", reinterpret_cast<void*>(RecordedLaunch)}};
        ASSERT_EQ(hooks.missing, "") << "imports not found";
        g_launches.clear();
        g_deniedIn = kSystem, g_denied = INT_MAX;
        const ::testing::AssertionResult built = window.Build();
        g_denied = 0;
        ASSERT_TRUE(built);
    }
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_TRUE(e2e::MatchSequence({{"verb", "runas"},
                                    {"owner", "the main window, hidden"},
                                    {"mask", e2e::Hex(SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI)},
                                    {"file", Utf8(self)},
                                    {"parameters", kDeployArgument},
                                    {"show", std::to_string(SW_HIDE)}},
                                   g_launches, "the helper's launch"));
    // wine-quirk: Wine runs the "runas" helper with no prompt; on Vista to 11 the files come only once it is accepted.
    EXPECT_TRUE(BothWhole()) << "the helper's files";
    window.Destroy();
    ReleaseBoundLibraries();
    Clean();
}

// The bound of each wait for the turn to ask, and the next start's try at it.
std::vector<DWORD> g_bounds;
DWORD WINAPI BoundedWait(DWORD n, const HANDLE* handles, BOOL all, DWORD ms, DWORD mask) {
    g_bounds.push_back(ms);
    return Real<decltype(&MsgWaitForMultipleObjects)>("MsgWaitForMultipleObjects")(n, handles, all, ms, mask);
}
DWORD WINAPI EndHoldingTheTurn(void* held) {
    *static_cast<HANDLE*>(held) = CreateMutexA(nullptr, TRUE, kPromptMutexName);
    return 0;
}
DWORD WINAPI TakeTheTurnAtOnce(void*) {
    const KernelHandle turn(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kPromptMutexName));
    const DWORD woke = turn ? WaitForSingleObject(turn.Get(), 0) : WAIT_FAILED;
    if (woke == WAIT_OBJECT_0 || woke == WAIT_ABANDONED) ReleaseMutex(turn.Get());
    return woke;
}

// A start's turn to ask, free or left by a start that ended in it, is taken
// once and let go wholly: the next start takes it without waiting. A start
// waits two minutes for it, a prompt's answer and its helper's minute.
TEST(Deployment, TheTurnToAskIsTakenOnceAndLetGoWhollyAfterTwoMinutesAtMost) {
    const struct {
        const char* name;
        bool holderEnded;
        PromptLock lock;
    } rows[] = {{"free", false, PromptLock::Owned}, {"its holder ended holding it", true, PromptLock::Abandoned}};
    const Hooked hooks{{"user32.dll", "MsgWaitForMultipleObjects", reinterpret_cast<void*>(BoundedWait)}};
    ASSERT_EQ(hooks.missing, "") << "imports not found";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        HANDLE held = nullptr;
        if (row.holderEnded) {
            const KernelHandle ender(CreateThread(nullptr, 0, EndHoldingTheTurn, &held, 0, nullptr));
            WaitForSingleObject(ender.Get(), 10000);
        }
        const KernelHandle kept(held);
        g_bounds.clear();
        KernelHandle mutex;
        EXPECT_EQ(static_cast<int>(LockPromptMutex(&mutex)), static_cast<int>(row.lock)) << "0 owned, 1 abandoned";
        ASSERT_FALSE(g_bounds.empty());
        EXPECT_GE(g_bounds.front(), 119000u) << "the wait's bound";
        // Opened here, so that a mutex still owned outlives the start's handle.
        const KernelHandle seen(OpenMutexA(SYNCHRONIZE, FALSE, kPromptMutexName));
        UnlockPromptMutex(&mutex);
        const KernelHandle next(CreateThread(nullptr, 0, TakeTheTurnAtOnce, nullptr, 0, nullptr));
        DWORD woke = WAIT_FAILED;
        if (WaitForSingleObject(next.Get(), 10000) == WAIT_OBJECT_0) GetExitCodeThread(next.Get(), &woke);
        EXPECT_EQ(woke, WAIT_OBJECT_0) << "the next start could not take the turn at once";
    }
}

int ChildLoad(const std::string& mode) {
    const char* name = "msimg32.dll";
    if (GetModuleHandleA(name)) return 1;  // the check would prove nothing
    Module module, beside;
    if (mode == "helper" || mode == "elsewhere") {
        if (mode == "elsewhere") {  // the planted copy loaded first, by its path: the helper must pass it by
            char path[MAX_PATH] = "";
            GetModuleFileNameA(nullptr, path, MAX_PATH);
            lstrcpyA(std::strrchr(path, '\\') + 1, name);
            beside.Reset(LoadLibraryA(path));
            DeleteFileA((std::string(path) + ".loaded").c_str());  // this load's mark, not the helper's
            if (!beside) return 2;
        }
        module = HeldOrSystemLibrary(name);
    } else {
        RestrictDllSearch();
        module.Reset(LoadLibraryA(name));  // by bare name on purpose
    }
    if (!module) return 2;
    char loaded[MAX_PATH] = "", system[MAX_PATH] = "";
    GetModuleFileNameA(module.Get(), loaded, sizeof loaded);
    return SystemFilePath(name, system) && lstrcmpiA(loaded, system) == 0 ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
    if (IsDeployCommandLine(GetCommandLineA())) {
        if (const char* delay = std::getenv("TOLVANE_TEST_DEPLOY_DELAY_MS")) Sleep(std::atoi(delay));
        if (std::getenv("TOLVANE_TEST_DEPLOY_GATE")) {
            ReleaseSemaphore(OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, "tolvane-test-ready"), 1, nullptr);
            WaitForSingleObject(OpenEventA(SYNCHRONIZE, FALSE, "tolvane-test-gate"), 30000);
        }
        return RunDeployment();
    }
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--child-load=", 0) == 0) return ChildLoad(arg.substr(13));
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
