// The system folder as the program reaches it: which Windows asks for
// elevation, the elevated helper and the wait for it, and system DLLs that
// never come from beside the program. This test program doubles as the
// helper: started with /deploy it does what tolvane.exe /deploy does.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "resources/resource_ids.h"
#include "skin/skin_plan.h"
#include "skin/win/apply_skin.h"
#include "skin/win/elevation.h"
#include "tests/e2e/driver/driver.h"
#include "toolkit/win/resource_bytes.h"
#include "winutil/system_library.h"

using namespace tolvane;

namespace {

const std::string kEngine = "C:\\WINDOWS\\system\\Skin.dll";
const std::string kSkin2009 = "C:\\WINDOWS\\system\\QQ2009.she";

std::string Block(int id) {
    const ResourceBytes r = RcDataBytes(id);
    return std::string(static_cast<const char*>(r.data), r.size);
}
bool BothWhole() {
    return e2e::FileBytes(kEngine) == Block(IDR_SKIN_ENGINE) && e2e::FileBytes(kSkin2009) == Block(IDR_SKIN_2009);
}
void Clean() {
    e2e::DeleteFileIfAny(kEngine);
    e2e::DeleteFileIfAny(kSkin2009);
}

// The version kernel32's own file states, read in one small place. Wine's
// kernel32 states 10.0 whichever Windows the prefix plays (RtlGetVersion
// says 6.1 here), so the test asks only what the program does with it.
TEST(Deployment, WindowsVersionIsKernel32s) {
    const WindowsVersion v = KernelVersion();
    ASSERT_TRUE(v.known);
    EXPECT_GE(v.major, 6u);
    EXPECT_TRUE(IsVistaOrLater()) << "Wine runs as Vista or later";
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
    } rows[] = {
        {"helper done within the wait", 1500, kDeployWaitMs, true, 1400, 20000},
        {"helper outlasts the wait", 6000, 1000, false, 900, 4000},
    };
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Clean();
        SetEnvironmentVariableA("TOLVANE_TEST_DEPLOY_DELAY_MS", std::to_string(row.helperDelayMs).c_str());
        Sender sent{window, false};
        HANDLE sender = CreateThread(nullptr, 0, SendDuringTheWait, &sent, 0, nullptr);
        const DWORD start = GetTickCount();
        RunElevatedDeployment(window, row.waitMs);
        const DWORD took = GetTickCount() - start;
        WaitForSingleObject(sender, 5000);
        CloseHandle(sender);
        EXPECT_TRUE(sent.answered) << "a message sent during the wait went unanswered";
        EXPECT_GE(took, row.minMs);
        EXPECT_LE(took, row.maxMs);
        EXPECT_EQ(BothWhole(), row.wholeOnReturn);
        // The helper that outlasted the wait still finishes; it must not
        // write into the next row.
        EXPECT_TRUE(e2e::WaitFor(BothWhole, 20000)) << "the helper never wrote both files";
    }
    SetEnvironmentVariableA("TOLVANE_TEST_DEPLOY_DELAY_MS", nullptr);
    DestroyWindow(window);
    Clean();
}

// A copy of a system DLL's name in a download folder beside the program,
// with Wine told to prefer a native copy: it must never load, neither through
// the helper, nor by a bare name once the search is restricted, nor when
// tolvane.exe's window brings uxtheme along (its restriction comes first).
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
    } rows[] = {
        {self, "msimg32", "--child-load=helper"},
        {self, "msimg32", "--child-load=restricted"},
        {e2e::ProgramPath(), "uxtheme", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.program + " " + row.arguments);
        const std::string planted = folder + row.dll + ".dll";
        ASSERT_TRUE(CopyFileA(row.program.c_str(), exe.c_str(), FALSE) && CopyFileA(marker.c_str(), planted.c_str(), FALSE));
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
        EXPECT_FALSE(e2e::FileExists(planted + ".loaded")) << "the planted copy ran";
        for (const std::string& f : {planted + ".loaded", planted, exe}) e2e::DeleteFileIfAny(f);
    }
    e2e::RegDeleteKeyTree(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\downloaded.exe");
    RemoveDirectoryA(folder.c_str());
    Clean();
}

int ChildLoad(const std::string& mode) {
    const char* name = "msimg32.dll";
    if (GetModuleHandleA(name)) return 1;  // the check would prove nothing
    HMODULE module = nullptr;
    if (mode == "helper") {
        module = HeldOrSystemLibrary(name);
    } else {
        RestrictDllSearch();
        module = LoadLibraryA(name);  // by bare name on purpose
    }
    if (!module) return 2;
    char loaded[MAX_PATH] = "", system[MAX_PATH] = "";
    GetModuleFileNameA(module, loaded, sizeof loaded);
    return SystemFilePath(name, system) && lstrcmpiA(loaded, system) == 0 ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
    if (IsDeployCommandLine(GetCommandLineA())) {
        if (const char* delay = std::getenv("TOLVANE_TEST_DEPLOY_DELAY_MS")) Sleep(std::atoi(delay));
        return RunDeployment();
    }
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--child-load=", 0) == 0) return ChildLoad(arg.substr(13));
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
