// Skin deployment and the engine call, seen from outside: what lands in the
// system folder, when the engine is called and with what, and how a broken
// engine ends the program. Every case starts from a clean system folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "skin_engine/she_format.h"
#include "skin_setup/win/elevation.h"
#include "tests/e2e/driver/browser.h"
#include "tests/e2e/driver/fixture.h"
#include "winutil/handles.h"

namespace {

const std::string kEngine = "C:\\WINDOWS\\system\\Skin.dll";
const std::string kSkin2009 = "C:\\WINDOWS\\system\\QQ2009.she";
const std::string kSkin2008 = "C:\\WINDOWS\\system\\qq2008.she";
// The box of a start whose engine cannot be written.
const std::string kBindError = "运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“C:\\WINDOWS\\system\\Skin."
                               "dll”中的输出命令“SkinH_Attach_Ex”\r\n";

std::string BuildFile(const std::string& relative) {
    return e2e::ToWinePath(e2e::EnvVar("TOLVANE_BUILD") + "/" + relative);
}
std::string TestBinFile(const std::string& name) {
    return e2e::ToWinePath(e2e::EnvVar("TOLVANE_TEST_BIN") + "/" + name);
}
std::string SourceFile(const std::string& relative) {
    // The build folder sits in the source tree; the skins are embedded from resources/.
    return e2e::ToWinePath(e2e::EnvVar("TOLVANE_SOURCE") + "/" + relative);
}

FILETIME WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

std::set<std::string> SystemFolder() { return e2e::FileNamesIn("C:\\WINDOWS\\system\\"); }

class SkinTest : public e2e::ProgramTest {
protected:
    void SetUp() override {
        Clean();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        log_ = std::string(temp) + "tolvane-engine-calls.log";
        e2e::DeleteFileIfAny(log_);
        SetEnvironmentVariableA("TOLVANE_ENGINE_LOG", log_.c_str());
    }
    void TearDown() override {
        ProgramTest::TearDown();
        // A row that failed half-way must not leave the folder refusing.
        if (!refusable_.empty()) e2e::RefuseNewFiles(refusable_, false);
        SetEnvironmentVariableA("TOLVANE_ENGINE_LOG", nullptr);
        e2e::DeleteFileIfAny(log_);
        Clean();
    }
    static void Clean() {
        RemoveDirectoryA(kEngine.c_str());
        e2e::DeleteFileIfAny(kEngine);
        e2e::DeleteFileIfAny(kSkin2009);
        e2e::DeleteFileIfAny(kSkin2008);
    }

    DWORD CloseAndWait() {
        PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
        DWORD code = 0xDEAD;
        EXPECT_TRUE(program_->WaitForExit(kExitTimeoutMs, &code));
        return code;
    }

    // Starts a program that must fail: its one error box, read and dismissed,
    // then its exit code. The main window must never have been shown.
    void ExpectFatal(const std::string& text, DWORD* exitCode) {
        ASSERT_NO_FATAL_FAILURE(Launch());
        std::vector<HWND> boxes;
        const bool shown = program_->WaitForMainWindow(kStartTimeoutMs, 20, &boxes) != nullptr;
        ASSERT_FALSE(boxes.empty()) << "no error box" << (shown ? ", the main window showed" : "");
        const HWND box = boxes.front();
        const e2e::MessageBoxInfo info = e2e::ReadMessageBox(box);
        EXPECT_EQ(info.title, "错误");
        EXPECT_EQ(info.text, text);
        EXPECT_TRUE(info.hasIcon) << "the fatal box shows the error icon";
        EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the fatal box has no owner";
        EXPECT_EQ(e2e::MessageBoxes(program_->Id()).size(), 1u) << "exactly one box";
        EXPECT_EQ(e2e::FindMainWindow(program_->Id()), nullptr) << "the main window was shown";
        ASSERT_TRUE(e2e::PressDialogButton(box, IDOK));
        ASSERT_TRUE(program_->WaitForExit(kExitTimeoutMs, exitCode));
    }

    // Runs the program with `arguments` to its end, watching for any window of
    // it meanwhile; its exit code, or 0xDEAD when it did not end on its own.
    DWORD RunToEnd(const std::string& arguments, std::set<std::string>* windowClasses) {
        e2e::LaunchOptions options;
        options.arguments = arguments;
        Launch(options);
        if (!program_) return 0xDEAD;
        e2e::WaitFor(
            [&] {
                for (HWND w : e2e::TopLevelWindows(program_->Id())) windowClasses->insert(e2e::ClassOf(w));
                return !program_->Running();
            },
            kStartTimeoutMs, 5);
        DWORD code = 0xDEAD;
        if (!program_->WaitForExit(0, &code)) code = 0xDEAD;
        program_.reset();
        return code;
    }

    std::vector<std::string> Calls() {
        std::vector<std::string> lines;
        std::string all = e2e::FileBytes(log_);
        for (size_t at = 0; at < all.size();) {
            size_t end = all.find('\n', at);
            if (end == std::string::npos) end = all.size();
            lines.push_back(all.substr(at, end - at));
            at = end + 1;
        }
        return lines;
    }

    std::string log_;
    // The prefix's system folder as a Unix path, when e2e.refused_system_folder
    // found that its immutable flag can be set.
    const std::string refusable_ = e2e::EnvVar("TOLVANE_REFUSABLE_SYSTEM_FOLDER");
};

TEST_F(SkinTest, FirstStartWritesTheEngineAndThe2009SkinOnly) {
    // wine-quirk: every Wine process is an elevated administrator; a standard user's first start on Vista to 11
    // shows the elevation prompt first, and writes through the helper.
    ASSERT_NO_FATAL_FAILURE(Start());
    // The real engine was loaded from what was written, before the window
    // showed: a failed load would have ended the program instead.
    EXPECT_EQ(e2e::FileBytes(kEngine), e2e::FileBytes(BuildFile("skin_engine/Skin.dll")));
    EXPECT_EQ(e2e::FileBytes(kSkin2009), e2e::FileBytes(SourceFile("resources/skin2009.she")));
    EXPECT_FALSE(e2e::FileExists(kSkin2008)) << "start-up asks for the 2009 skin only";
    EXPECT_EQ(CloseAndWait(), 0u);
}

TEST_F(SkinTest, SecondStartWritesNothing) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_EQ(CloseAndWait(), 0u);
    const FILETIME engineTime = WriteTime(kEngine), skinTime = WriteTime(kSkin2009);
    Sleep(1100);  // the file system's time stamps must be able to differ
    ASSERT_NO_FATAL_FAILURE(Start());
    const FILETIME engineNow = WriteTime(kEngine), skinNow = WriteTime(kSkin2009);
    EXPECT_EQ(CompareFileTime(&engineTime, &engineNow), 0) << "engine rewritten";
    EXPECT_EQ(CompareFileTime(&skinTime, &skinNow), 0) << "skin rewritten";
    EXPECT_EQ(CloseAndWait(), 0u);
}

TEST_F(SkinTest, ExistingFilesAreUsedAsTheyAre) {
    const std::string engine = e2e::FileBytes(TestBinFile("test_engine_recording.dll"));
    ASSERT_FALSE(engine.empty());
    ASSERT_TRUE(e2e::WriteFileBytes(kEngine, engine));
    ASSERT_TRUE(e2e::WriteFileBytes(kSkin2009, "not a skin at all"));
    ASSERT_NO_FATAL_FAILURE(Start()) << "an unreadable skin is not the program's business";
    EXPECT_EQ(e2e::FileBytes(kEngine), engine);
    EXPECT_EQ(e2e::FileBytes(kSkin2009), "not a skin at all");
    EXPECT_FALSE(e2e::FileExists(kSkin2008));
    EXPECT_EQ(CloseAndWait(), 0u);
}

TEST_F(SkinTest, EngineIsCalledOnceWithTheSkinPathBeforeTheWindowShows) {
    ASSERT_TRUE(e2e::WriteFileBytes(kEngine, e2e::FileBytes(TestBinFile("test_engine_recording.dll"))));
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(Calls(), std::vector<std::string>{kSkin2009 + "||hidden"});
    EXPECT_EQ(e2e::FileBytes(kSkin2009), e2e::FileBytes(SourceFile("resources/skin2009.she")))
        << "the missing skin is written before the engine is called";
    EXPECT_EQ(CloseAndWait(), 0u);
}

TEST_F(SkinTest, EngineThatLeavesItsArgumentsEndsWithCodeSix) {
    ASSERT_TRUE(e2e::WriteFileBytes(kEngine, e2e::FileBytes(TestBinFile("test_engine_cdecl.dll"))));
    DWORD code = 0;
    ExpectFatal("运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n", &code);
    EXPECT_EQ(code, 0xFFFFFFFFu);
    EXPECT_EQ(Calls().size(), 1u) << "the engine ran once, then the guard caught it";
}

// The elevated helper that a first start on Vista or later asks for, run
// directly: a Wine process may write the system folder anyway, so the prompt
// itself is not reached here.
TEST_F(SkinTest, DeployWritesTheTwoMissingFilesAndNothingElse) {
    ASSERT_TRUE(e2e::UseFakeBrowser());
    e2e::ClearBrowserLog();
    const std::set<std::string> before = SystemFolder();
    std::set<std::string> windows;
    // wine-quirk: Wine lets any process write the system folder; on Vista to 11 only an elevated helper succeeds.
    EXPECT_EQ(RunToEnd("/deploy", &windows), 0u);
    std::set<std::string> added;
    for (const std::string& name : SystemFolder())
        if (!before.count(name)) added.insert(name);
    EXPECT_EQ(added, (std::set<std::string>{"QQ2009.she", "Skin.dll"}));
    EXPECT_EQ(e2e::FileBytes(kEngine), e2e::FileBytes(BuildFile("skin_engine/Skin.dll")));
    EXPECT_EQ(e2e::FileBytes(kSkin2009), e2e::FileBytes(SourceFile("resources/skin2009.she")));

    const FILETIME engineTime = WriteTime(kEngine), skinTime = WriteTime(kSkin2009);
    Sleep(1100);  // the file system's time stamps must be able to differ
    EXPECT_EQ(RunToEnd("/DEPLOY", &windows), 0u) << "both files there: nothing to do, success";
    const FILETIME engineNow = WriteTime(kEngine), skinNow = WriteTime(kSkin2009);
    EXPECT_EQ(CompareFileTime(&engineTime, &engineNow), 0) << "engine rewritten";
    EXPECT_EQ(CompareFileTime(&skinTime, &skinNow), 0) << "skin rewritten";
    EXPECT_EQ(SystemFolder().size(), before.size() + 2);

    std::string seen;
    for (const std::string& c : windows) seen += " " + c;
    EXPECT_TRUE(windows.empty()) << "windows of the helper:" << seen;
    e2e::Pump(200);
    EXPECT_TRUE(e2e::BrowserOpenings().empty()) << "the helper opened a web page";
}

// A real full disk: e2e.full_system_folder mounts a small tmpfs over the
// prefix's system folder, and a filler leaves no room, or room for the skin
// and part of the engine. Nothing partial may keep a final name and nothing
// may stay behind, or every later start would fail for good.
TEST_F(SkinTest, FullSystemFolderLeavesNothingBehind) {
    if (e2e::EnvVar("TOLVANE_SMALL_SYSTEM_FOLDER").empty()) GTEST_SKIP() << "needs the tmpfs of e2e.full_system_folder";
    const std::string filler = "C:\\WINDOWS\\system\\filler.bin";
    const std::string skin = e2e::FileBytes(SourceFile("resources/skin2009.she"));
    ASSERT_LT(skin.size(), 8192u);
    for (const unsigned long long room : {0ull, 8192ull}) {
        SCOPED_TRACE("room left: " + std::to_string(room));
        Clean();
        e2e::DeleteFileIfAny(filler);
        const std::set<std::string> empty = SystemFolder();
        ULARGE_INTEGER free{};
        ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\WINDOWS\\system\\", &free, nullptr, nullptr));
        ASSERT_GT(free.QuadPart, room + 32768);
        ASSERT_TRUE(e2e::WriteFileBytes(filler, std::string(static_cast<size_t>(free.QuadPart - room), '\0')));
        std::set<std::string> full = empty;
        full.insert("filler.bin");
        if (room) full.insert("QQ2009.she");  // the skin fits whole where the engine does not

        std::set<std::string> windows;
        EXPECT_EQ(RunToEnd("/deploy", &windows), 1u) << "the helper reports the engine it could not write";
        EXPECT_EQ(SystemFolder(), full) << "the helper left a file behind";
        if (room) {
            EXPECT_EQ(e2e::FileBytes(kSkin2009), skin);
        }
        DWORD code = 0;
        ExpectFatal(kBindError, &code);
        EXPECT_EQ(code, 0xFFFFFFFFu);
        EXPECT_EQ(SystemFolder(), full) << "a start left a file behind";
        program_.reset();

        ASSERT_TRUE(DeleteFileA(filler.c_str()));
        ASSERT_NO_FATAL_FAILURE(Start()) << "given room again, the next start writes both files";
        EXPECT_EQ(e2e::FileBytes(kEngine), e2e::FileBytes(BuildFile("skin_engine/Skin.dll")));
        EXPECT_EQ(e2e::FileBytes(kSkin2009), skin);
        EXPECT_EQ(SystemFolder().size(), empty.size() + 2);
        EXPECT_EQ(CloseAndWait(), 0u);
        program_.reset();
    }
}

// Another start's turn to ask, taken by a thread that ends holding it, as a
// killed start ends: the mutex stays abandoned, and open in `*turn`.
DWORD WINAPI EndHoldingTheTurn(void* turn) {
    *static_cast<HANDLE*>(turn) = CreateMutexA(nullptr, TRUE, tolvane::kPromptMutexName);
    return 0;
}

// The first start most users have: Vista and later refuse writes to the
// system folder from a process that is not elevated. e2e.refused_system_folder
// makes the prefix's folder refuse new files (chattr +i, Wine fails with
// ERROR_ACCESS_DENIED), and the program starts with a limited token, as a
// filtered administrator's start on Windows 10 does. Wine runs "runas"
// without a prompt, and the folder refuses the helper too. While another
// start has its turn to ask, a start asks nothing and shows nothing.
TEST_F(SkinTest, RefusedSystemFolderAsksForTheHelperOnlyForTheEngine) {
    if (refusable_.empty()) GTEST_SKIP() << "needs the immutable system folder of e2e.refused_system_folder";
    // A user name like "Zoë", a Korean one: code page 936 spells neither.
    wchar_t temp[MAX_PATH];
    ASSERT_TRUE(GetTempPathW(MAX_PATH, temp));
    const std::wstring folder = std::wstring(temp) + L"tolvane-Zo\u00eb-\ud55c\uad6d\\", copy = folder + L"tolvane.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(e2e::WideOf(e2e::ProgramPath()).c_str(), copy.c_str(), FALSE));
    enum Turn { Free, HeldTillBothWritten, Abandoned };  // another start's turn to ask
    const struct {
        const char* name;
        bool enginePresent;
        std::wstring exe;  // empty: the build's
        size_t helpers;    // tolvane.exe /deploy started by the start
        bool windowShows;  // else the bind-failure box and exit code -1
        Turn turn;
    } rows[] = {
        // wine-quirk: the helper Wine starts is not elevated and is refused too, so a row that starts one ends in
        // the error box; on Vista to 11 the accepted helper writes both files and the window shows.
        {"neither file present", false, L"", 1, false, Free},
        {"neither file present, from a folder code page 936 cannot spell", false, copy, 1, false, Free},
        {"engine present, skin missing: no prompt, the window shows", true, L"", 0, true, Free},
        {"another start's turn, its helper writes both: no prompt", false, L"", 0, true, HeldTillBothWritten},
        {"another start ended in its turn: one prompt", false, L"", 1, false, Abandoned},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(e2e::RefuseNewFiles(refusable_, false));
        Clean();
        if (row.enginePresent) {
            ASSERT_TRUE(e2e::WriteFileBytes(kEngine, e2e::FileBytes(BuildFile("skin_engine/Skin.dll"))));
        }
        ASSERT_TRUE(e2e::RefuseNewFiles(refusable_, true));
        const tolvane::KernelHandle probe(CreateFileA("C:\\WINDOWS\\system\\probe", GENERIC_WRITE, 0, nullptr,
                                                      CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        const DWORD refusal = probe ? ERROR_SUCCESS : GetLastError();
        ASSERT_EQ(refusal, static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "the folder takes new files";
        std::set<std::string> before = SystemFolder();

        tolvane::KernelHandle turn(
            row.turn == HeldTillBothWritten ? CreateMutexA(nullptr, TRUE, tolvane::kPromptMutexName) : nullptr);
        if (row.turn == Abandoned) {
            const tolvane::KernelHandle ender(CreateThread(nullptr, 0, EndHoldingTheTurn, turn.Receive(), 0, nullptr));
            WaitForSingleObject(ender.Get(), 10000);
        }
        e2e::LaunchOptions options;
        options.wideExe = row.exe;
        options.limitedToken = true;
        ASSERT_NO_FATAL_FAILURE(Launch(options));
        // Seen from outside: the start's children in a process snapshot, each
        // opened at first sight to read its exit code.
        std::map<DWORD, tolvane::KernelHandle> helpers;
        std::vector<HWND> boxes;
        const auto ended = [&] {
            for (const e2e::ProcessEntry& p : e2e::ProcessSnapshot())
                if (p.parent == program_->Id() && lstrcmpiA(p.exe.c_str(), "tolvane.exe") == 0 && !helpers.count(p.pid))
                    helpers[p.pid].Reset(OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, p.pid));
            boxes = e2e::MessageBoxes(program_->Id());
            main_ = e2e::FindMainWindow(program_->Id());
            return main_ != nullptr || !boxes.empty() || !program_->Running();
        };
        if (row.turn == HeldTillBothWritten) {
            EXPECT_FALSE(e2e::WaitFor([&] { return ended() || !helpers.empty(); }, 3000, 5)) << "went on in the turn";
            ASSERT_TRUE(e2e::RefuseNewFiles(refusable_, false));
            ASSERT_TRUE(e2e::WriteFileBytes(kEngine, e2e::FileBytes(BuildFile("skin_engine/Skin.dll"))) &&
                        e2e::WriteFileBytes(kSkin2009, e2e::FileBytes(SourceFile("resources/skin2009.she"))));
            ASSERT_TRUE(e2e::RefuseNewFiles(refusable_, true));
            before.insert({"Skin.dll", "QQ2009.she"});
            ReleaseMutex(turn.Get());
        }
        e2e::WaitFor(ended, kStartTimeoutMs, 5);
        // The box comes after the helper has ended, and without the window no
        // browser starts: then every process the start's job saw is a helper.
        const int started = row.windowShows ? static_cast<int>(helpers.size()) : program_->ChildrenStarted();
        EXPECT_EQ(started, static_cast<int>(row.helpers)) << "tolvane.exe /deploy started";
        for (const auto& helper : helpers) {
            DWORD code = 0xDEAD;
            if (helper.second && WaitForSingleObject(helper.second.Get(), 10000) == WAIT_OBJECT_0)
                GetExitCodeProcess(helper.second.Get(), &code);
            // wine-quirk: Wine's "runas" does not elevate; on Vista to 11 the accepted helper writes and exits 0.
            EXPECT_EQ(code, 1u) << "the helper, refused too, reports the files it could not write";
        }
        if (row.windowShows) {
            EXPECT_TRUE(boxes.empty()) << "a message box at start";
            EXPECT_TRUE(main_) << "no window";
            if (main_) {
                EXPECT_EQ(CloseAndWait(), 0u);
            }
        } else {
            EXPECT_FALSE(main_) << "the window showed";
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(e2e::ReadMessageBox(boxes.front()).text, kBindError);
            ASSERT_TRUE(e2e::PressDialogButton(boxes.front(), IDOK));
            DWORD code = 0;
            ASSERT_TRUE(program_->WaitForExit(kExitTimeoutMs, &code));
            EXPECT_EQ(code, 0xFFFFFFFFu);
        }
        EXPECT_EQ(SystemFolder(), before) << "a file was left in the folder";
        program_.reset();
    }
    EXPECT_TRUE(e2e::RefuseNewFiles(refusable_, false));
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(SkinTest, AnyOtherArgumentStartsTheProgramAsUsual) {
    for (const char* arguments : {"/help", "/deploy now"}) {
        SCOPED_TRACE(arguments);
        Clean();
        e2e::LaunchOptions options;
        options.arguments = arguments;
        ASSERT_NO_FATAL_FAILURE(Start(options));
        EXPECT_TRUE(e2e::FileExists(kEngine) && e2e::FileExists(kSkin2009));
        EXPECT_EQ(CloseAndWait(), 0u);
    }
}

struct BrokenEngine {
    const char* name;
    std::function<bool()> prepare;
};

TEST_F(SkinTest, EngineThatCannotBeBoundEndsWithTheBindError) {
    const BrokenEngine cases[] = {
        {"library without the export",
         [] { return e2e::WriteFileBytes(kEngine, e2e::FileBytes(TestBinFile("test_engine_no_export.dll"))); }},
        {"junk bytes", [] { return e2e::WriteFileBytes(kEngine, std::string(4096, '\x5a') + "MZ junk"); }},
        {"a directory", [] { return CreateDirectoryA(kEngine.c_str(), nullptr) != FALSE; }},
        {"an empty file", [] { return e2e::WriteFileBytes(kEngine, ""); }},
    };
    for (const BrokenEngine& c : cases) {
        SCOPED_TRACE(c.name);
        Clean();
        ASSERT_TRUE(c.prepare());
        DWORD code = 0;
        ExpectFatal(kBindError, &code);
        EXPECT_EQ(code, 0xFFFFFFFFu);
        EXPECT_TRUE(e2e::FileExists(kSkin2009)) << "files written before the failure stay";
        program_.reset();
    }
}

// The 2009 skin, as resources/skin2009.she says, drawn by the real engine.
TEST_F(SkinTest, RunningWindowShowsTheSkinsColours) {
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(e2e::BringToForeground(main_));
    HWND repair = Control(design::kRepairButton);
    HWND edit = Control(design::kLinkConfigBox);
    ASSERT_TRUE(repair && edit);
    e2e::Settle(program_->Handle(), 200);

    const RECT w = e2e::WindowRectOf(main_);
    const POINT client = e2e::ClientOrigin(main_);
    const e2e::Capture shot = e2e::CaptureWindow(main_);
    ASSERT_FALSE(shot.Empty());
    const auto within = [](e2e::Rgb c, e2e::Rgb a, e2e::Rgb b) {
        auto in = [](int v, int x, int y) { return v >= std::min(x, y) && v <= std::max(x, y); };
        return in(c.r, a.r, b.r) && in(c.g, a.g, b.g) && in(c.b, a.b, b.b);
    };
    // The caption bar: a gradient from the active top to the active bottom colour.
    const e2e::Rgb caption = shot.At(w.left + (w.right - w.left) / 2, (w.top + client.y) / 2);
    EXPECT_TRUE(within(caption, {0x5F, 0xA2, 0xE8}, {0x1D, 0x5F, 0xB5})) << e2e::ToString(caption);
    // The outermost frame line.
    EXPECT_EQ(shot.At(w.left, (w.top + w.bottom) / 2), (e2e::Rgb{0x0F, 0x3D, 0x7A}));

    const RECT b = e2e::WindowRectOf(repair);
    EXPECT_EQ(shot.At(b.left, (b.top + b.bottom) / 2), (e2e::Rgb{0x4A, 0x7D, 0xBB})) << "button border";
    const e2e::Rgb face = shot.At((b.left + b.right) / 2, b.top + 3);
    EXPECT_TRUE(within(face, {0xF4, 0xF9, 0xFF}, {0xCF, 0xE2, 0xF8})) << "button face " << e2e::ToString(face);

    const RECT e = e2e::WindowRectOf(edit);
    const e2e::Rgb border = shot.At(e.left, (e.top + e.bottom) / 2);
    EXPECT_TRUE(border == (e2e::Rgb{0x7D, 0xA2, 0xCE}) || border == (e2e::Rgb{0x1D, 0x5F, 0xB5}))
        << "edit border " << e2e::ToString(border);
    SaveShotIfFailed();
    EXPECT_EQ(CloseAndWait(), 0u);
}

e2e::Rgb ToRgb(const she::Rgb& c) { return e2e::Rgb{c.r, c.g, c.b}; }

// The colour `depth` pixels in from each side of a button's outline, at the
// middle of the side (clear of the rounded corners and of the caption).
struct Rings {
    std::vector<e2e::Rgb> left, right, top, bottom;
};
Rings RingsOf(const e2e::Capture& shot, HWND button, int count) {
    const RECT b = e2e::WindowRectOf(button);
    const int midX = (b.left + b.right) / 2, midY = (b.top + b.bottom) / 2;
    Rings r;
    for (int depth = 0; depth < count; ++depth) {
        r.left.push_back(shot.At(b.left + depth, midY));
        r.right.push_back(shot.At(b.right - 1 - depth, midY));
        r.top.push_back(shot.At(midX, b.top + depth));
        r.bottom.push_back(shot.At(midX, b.bottom - 1 - depth));
    }
    return r;
}

// 按钮1 is a disabled default button: greyed, and still outlined with the
// default border's weight, which the normal button 关于 does not have.
TEST_F(SkinTest, DisabledDefaultButtonIsGreyedAndKeepsItsHeavierBorder) {
    for (const char* file : {"resources/skin2009.she", "resources/skin2008.she"}) {
        SCOPED_TRACE(file);
        Clean();
        const std::string bytes = e2e::FileBytes(SourceFile(file));
        she::Skin skin;
        ASSERT_EQ(she::Parse(bytes.data(), bytes.size(), "", &skin), she::kOk);
        const int width = skin.metric(she::kButtonDefaultBorderWidth);
        ASSERT_GT(width, 1) << "this skin's default border is no heavier than a normal one";
        // The program attaches whatever skin it finds at the 2009 skin's path.
        ASSERT_TRUE(e2e::WriteFileBytes(kSkin2009, bytes));
        ASSERT_NO_FATAL_FAILURE(Start());
        ASSERT_TRUE(e2e::BringToForeground(main_));
        HWND button1 = Control(design::kLinkConfigButton);
        HWND about = Control(design::kAboutButton);
        HWND edit = Control(design::kInstallFolderBox);
        ASSERT_TRUE(button1 && about && edit);
        // Focus and pointer in an edit box: no button is focused or hot.
        ASSERT_TRUE(e2e::ClickControl(edit));
        e2e::Settle(program_->Handle(), 200);
        const e2e::Capture shot = e2e::CaptureWindow(main_);
        ASSERT_FALSE(shot.Empty());

        const e2e::Rgb greyBorder = ToRgb(skin.color(she::kButtonDisabledBorder));
        const e2e::Rgb greyFace = ToRgb(skin.color(she::kButtonDisabledFace));
        const e2e::Rgb border = ToRgb(skin.color(she::kButtonBorder));
        const Rings heavy = RingsOf(shot, button1, width + 1);
        const Rings normal = RingsOf(shot, about, 3);
        const auto faceOfAbout = [&](e2e::Rgb c) {
            const she::Rgb a = skin.color(she::kButtonTop), b = skin.color(she::kButtonBottom);
            auto in = [](int v, int x, int y) { return v >= std::min(x, y) && v <= std::max(x, y); };
            return c != border && in(c.r, a.r, b.r) && in(c.g, a.g, b.g) && in(c.b, a.b, b.b);
        };
        const std::pair<const char*, std::vector<e2e::Rgb> Rings::*> sides[] = {
            {"left", &Rings::left}, {"right", &Rings::right}, {"top", &Rings::top}, {"bottom", &Rings::bottom}};
        for (const auto& side : sides) {
            SCOPED_TRACE(side.first);
            const std::vector<e2e::Rgb>& h = heavy.*side.second;
            const std::vector<e2e::Rgb>& n = normal.*side.second;
            for (int depth = 0; depth < width; ++depth)
                EXPECT_EQ(h[depth], greyBorder) << "按钮1, " << depth << " px in: " << e2e::ToString(h[depth]);
            EXPECT_EQ(h[width], greyFace) << "按钮1's face: " << e2e::ToString(h[width]);
            EXPECT_EQ(n[0], border) << "关于's outline: " << e2e::ToString(n[0]);
            EXPECT_TRUE(faceOfAbout(n[1])) << "关于, 1 px in: " << e2e::ToString(n[1]);
        }
        SaveShotIfFailed(skin.name);
        EXPECT_EQ(CloseAndWait(), 0u);
        program_.reset();
    }
}

}  // namespace
