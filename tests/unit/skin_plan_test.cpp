#include "skin_setup/skin_plan.h"
#include "skin_setup/temp_names.h"

#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

const char kEngine[] = "engine";
const char k2008[] = ".SHE-2008";
const char k2009[] = ".SHE-2009!";
const SkinBlocks kBlocks{{kEngine, sizeof kEngine}, {k2008, sizeof k2008}, {k2009, sizeof k2009}};

const std::string kEnginePath = "C:\\WINDOWS\\system\\Skin.dll";
const std::string kPath2008 = "C:\\WINDOWS\\system\\qq2008.she";
const std::string kPath2009 = "C:\\WINDOWS\\system\\QQ2009.she";
const SkinPaths kPaths = SkinPathsFor("C:\\WINDOWS");

// What the elevated helper does when asked.
enum class Prompt { Accepted, Declined, HelperWroteEngineOnly };

class RecordingPlatform : public SkinPlatform {
public:
    std::set<std::string> present;
    WriteResult writeResult = WriteResult::Written;  // what every write returns
    bool vista = false;
    bool elevated = false;
    Prompt prompt = Prompt::Accepted;
    PromptLock lock = PromptLock::Owned;
    bool plantedInTheWait = false;  // another start's helper wrote both files
    std::vector<std::string> calls;
    std::vector<ByteBlock> written;
    std::string end;  // after the attach: "bound", or "fatal" for a missing engine

    bool FileExists(const std::string& path) override {
        calls.push_back("exists " + path);
        return present.count(path) != 0;
    }
    WriteResult WriteWholeFile(const std::string& path, ByteBlock block) override {
        calls.push_back("write " + path);
        written.push_back(block);
        if (writeResult == WriteResult::Written) present.insert(path);
        return writeResult;
    }
    bool IsVistaOrLater() override {
        calls.push_back("vista?");
        return vista;
    }
    bool IsElevated() override {
        calls.push_back("elevated?");
        return elevated;
    }
    PromptLock LockPrompt() override {
        calls.push_back("lock");
        if (plantedInTheWait) present.insert({kEnginePath, kPath2009});
        return lock;
    }
    void UnlockPrompt() override { calls.push_back("unlock"); }
    void DeployElevated() override {
        calls.push_back("deploy");
        if (prompt == Prompt::Declined) return;
        present.insert(kEnginePath);
        if (prompt == Prompt::HelperWroteEngineOnly) return;
        present.insert(kPath2009);
    }
    void AttachSkin(const std::string& skinPath) override {
        calls.push_back("attach " + skinPath);
        end = present.count(kEnginePath) ? "bound" : "fatal";
    }
};

using Calls = std::vector<std::string>;

// The steps for `skin` where the `present` files exist already.
RecordingPlatform Steps(int skin, std::set<std::string> present = {}) {
    RecordingPlatform p;
    p.present = std::move(present);
    ApplySkinSteps(skin, kPaths, p, kBlocks);
    return p;
}

TEST(SkinSteps, FirstStartWritesEngineAndSkinTwoThenAttaches) {
    const RecordingPlatform p = Steps(2);
    EXPECT_EQ(p.calls, (Calls{"exists " + kEnginePath, "write " + kEnginePath, "exists " + kPath2009,
                              "write " + kPath2009, "attach " + kPath2009}));
    ASSERT_EQ(p.written.size(), 2u);
    EXPECT_EQ(p.written[0].data, kEngine);
    EXPECT_EQ(p.written[0].size, sizeof kEngine);
    EXPECT_EQ(p.written[1].data, k2009);
    EXPECT_EQ(p.written[1].size, sizeof k2009);
    EXPECT_EQ(p.present.count(kPath2008), 0u);
}

TEST(SkinSteps, SkinOneUsesThe2008File) {
    const RecordingPlatform p = Steps(1, {kEnginePath});
    EXPECT_EQ(p.calls,
              (Calls{"exists " + kEnginePath, "exists " + kPath2008, "write " + kPath2008, "attach " + kPath2008}));
    ASSERT_EQ(p.written.size(), 1u);
    EXPECT_EQ(p.written[0].data, k2008);
}

TEST(SkinSteps, ExistingFilesAreLeftAloneAndStillAttached) {
    const RecordingPlatform p = Steps(2, {kEnginePath, kPath2009});
    EXPECT_EQ(p.calls, (Calls{"exists " + kEnginePath, "exists " + kPath2009, "attach " + kPath2009}));
    EXPECT_TRUE(p.written.empty());
}

// A first start that cannot write the system folder. Every write of a row
// returns the same; the elevated helper, when asked, does what the row says.
// Only the engine is worth a prompt, and only for the start-up skin, which is
// the one the helper writes.
TEST(SkinSteps, RefusedEngineWriteAsksOnceForElevationWhereThatHelps) {
    const std::string exE = "exists " + kEnginePath, wrE = "write " + kEnginePath;
    const std::string exS = "exists " + kPath2009, wrS = "write " + kPath2009, attach = "attach " + kPath2009;
    const std::string ex1 = "exists " + kPath2008, wr1 = "write " + kPath2008, attach1 = "attach " + kPath2008;
    const WriteResult ok = WriteResult::Written, refused = WriteResult::RefusedForRights, failed = WriteResult::Failed;
    struct Row {
        const char* name;
        int skin;
        bool enginePresent;
        WriteResult write;
        bool vista, elevated;
        Prompt prompt;
        std::vector<std::string> calls;
        const char* end;
        PromptLock lock = PromptLock::Owned;  // how the wait for the turn to ask ends
        bool planted = false;                 // by another start's helper during that wait
        // clang-format off
    } rows[] = {
        {"written", 2, false, ok, true, false, Prompt::Accepted, {exE, wrE, exS, wrS, attach}, "bound"},
        {"failed otherwise", 2, false, failed, true, false, Prompt::Accepted, {exE, wrE, exS, wrS, attach}, "fatal"},
        {"refused before Vista", 2, false, refused, false, false, Prompt::Accepted,
         {exE, wrE, "vista?", exS, wrS, attach}, "fatal"},
        {"refused, elevated already", 2, false, refused, true, true, Prompt::Accepted,
         {exE, wrE, "vista?", "elevated?", exS, wrS, attach}, "fatal"},
        {"refused, prompt accepted", 2, false, refused, true, false, Prompt::Accepted,
         {exE, wrE, "vista?", "elevated?", "lock", exE, "deploy", "unlock", exS, attach}, "bound"},
        {"refused, prompt declined", 2, false, refused, true, false, Prompt::Declined,
         {exE, wrE, "vista?", "elevated?", "lock", exE, "deploy", "unlock", exS, wrS, attach}, "fatal"},
        {"refused, helper failed after the engine", 2, false, refused, true, false, Prompt::HelperWroteEngineOnly,
         {exE, wrE, "vista?", "elevated?", "lock", exE, "deploy", "unlock", exS, wrS, attach}, "bound"},
        {"refused, written in another start's turn: no prompt", 2, false, refused, true, false, Prompt::Declined,
         {exE, wrE, "vista?", "elevated?", "lock", exE, "unlock", exS, attach}, "bound", PromptLock::Owned, true},
        {"refused, written in a turn its start died in: no prompt", 2, false, refused, true, false, Prompt::Declined,
         {exE, wrE, "vista?", "elevated?", "lock", exE, "unlock", exS, attach}, "bound", PromptLock::Abandoned, true},
        {"refused, no turn within the wait: asks as before", 2, false, refused, true, false, Prompt::Accepted,
         {exE, wrE, "vista?", "elevated?", "lock", "deploy", exS, attach}, "bound", PromptLock::TimedOut},
        {"engine there, skin refused: no prompt", 2, true, refused, true, false, Prompt::Accepted,
         {exE, exS, wrS, attach}, "bound"},
        {"skin 1, engine refused: no prompt", 1, false, refused, true, false, Prompt::Accepted,
         {exE, wrE, ex1, wr1, attach1}, "fatal"},
        {"skin 3, engine refused: no prompt", 3, false, refused, true, false, Prompt::Accepted, {exE, wrE}, ""},
    };
    // clang-format on
    for (const Row& row : rows) {
        RecordingPlatform p;
        if (row.enginePresent) p.present = {kEnginePath};
        p.writeResult = row.write;
        p.vista = row.vista;
        p.elevated = row.elevated;
        p.prompt = row.prompt;
        p.lock = row.lock;
        p.plantedInTheWait = row.planted;
        ApplySkinSteps(row.skin, kPaths, p, kBlocks);
        EXPECT_EQ(p.calls, row.calls) << row.name;
        EXPECT_EQ(p.end, row.end) << row.name;
    }
}

TEST(DeployCommandLine, OnlyTheOneArgumentCounts) {
    const struct {
        const char* line;
        bool deploy;
        // clang-format off
    } cases[] = {
        {"\"C:\\Program Files\\Tolvane\\tolvane.exe\" /deploy", true},
        {"tolvane.exe /DEPLOY", true},
        {"\"C:\\a b\\t.exe\"\t/Deploy  ", true},
        {"\"C:\\a b\\t.exe\"", false},
        {"tolvane.exe", false},
        {"tolvane.exe /deploy x", false},
        {"tolvane.exe /deploy /deploy", false},
        {"tolvane.exe /deployx", false},
        {"tolvane.exe /depl", false},
        {"tolvane.exe deploy", false},
        {"\"C:\\x /deploy\\t.exe\"", false},  // inside the program's own name
        {"/deploy", false},                    // that is the program's name
        {"", false},
        {nullptr, false},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(IsDeployCommandLine(c.line), c.deploy) << (c.line ? c.line : "(null)");
}

TEST(SkinSteps, UnknownSkinNumberOnlyDeploysTheEngine) {
    for (int number : {3, 0, -1}) {
        EXPECT_EQ(Steps(number).calls, (Calls{"exists " + kEnginePath, "write " + kEnginePath})) << number;
        EXPECT_EQ(Steps(number, {kEnginePath}).calls, Calls{"exists " + kEnginePath}) << number;
    }
}

// The export's name, the start-up skin and the helper's argument are seen
// end to end (a wrong one fails every start or the deploy run).
TEST(SkinSteps, SkinNumbersNameTheirFiles) {
    EXPECT_EQ(SkinPathFor(kPaths, 1), &kPaths.skin2008);
    EXPECT_EQ(SkinPathFor(kPaths, 2), &kPaths.skin2009);
    EXPECT_EQ(SkinPathFor(kPaths, 3), nullptr);
    EXPECT_EQ(SkinPathFor(kPaths, 0), nullptr);
}

// The system subfolder of the Windows folder the system names; the usual one
// keeps the texts users know byte for byte.
TEST(SkinPaths, FollowTheWindowsFolder) {
    const struct {
        const char* windows;
        const char* engine;
        const char* skin2009;
        // clang-format off
    } rows[] = {
        {"C:\\WINDOWS", "C:\\WINDOWS\\system\\Skin.dll", "C:\\WINDOWS\\system\\QQ2009.she"},
        {"C:\\Windows", "C:\\WINDOWS\\system\\Skin.dll", "C:\\WINDOWS\\system\\QQ2009.she"},
        {"c:\\windows", "C:\\WINDOWS\\system\\Skin.dll", "C:\\WINDOWS\\system\\QQ2009.she"},
        {"D:\\WINDOWS", "D:\\WINDOWS\\system\\Skin.dll", "D:\\WINDOWS\\system\\QQ2009.she"},
        {"C:\\WINNT", "C:\\WINNT\\system\\Skin.dll", "C:\\WINNT\\system\\QQ2009.she"},
        {"C:\\WINDOWS.OLD", "C:\\WINDOWS.OLD\\system\\Skin.dll", "C:\\WINDOWS.OLD\\system\\QQ2009.she"},
        {"E:\\", "E:\\system\\Skin.dll", "E:\\system\\QQ2009.she"},
        {"D:\\\xb1\\", "D:\\\xb1\\\\system\\Skin.dll", "D:\\\xb1\\\\system\\QQ2009.she"},  // 0x5C as a trail byte
        {"", "", ""},  // the call failed: nothing is written or loaded
    };
    // clang-format on
    for (const auto& row : rows) {
        const SkinPaths paths = SkinPathsFor(row.windows);
        EXPECT_EQ(paths.engine, row.engine) << row.windows;
        EXPECT_EQ(paths.skin2009, row.skin2009) << row.windows;
        EXPECT_EQ(paths.skin2008.size(), paths.skin2009.size()) << row.windows;
    }
}

TEST(SkinPaths, OnlyVistaAndLaterCloseTheSystemFolder) {
    const struct {
        WindowsVersion version;
        bool closed;
        // clang-format off
    } rows[] = {
        {{true, 5, 1}, false},   // XP
        {{true, 5, 2}, false},   // XP x64, Server 2003
        {{true, 6, 0}, true},    // Vista
        {{true, 6, 1}, true},    // 7
        {{true, 10, 0}, true},   // 10 and 11
        {{false, 0, 0}, false},  // unreadable: treated as XP, never asks
    };
    // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(ClosesSystemFolder(row.version), row.closed) << row.version.major << "." << row.version.minor;
}

// A write goes to "<final name>.<process id>-<n>.tmp" first; a later
// deployment deletes such leftovers of its two names and nothing else.
TEST(TempNames, OnlyOurPatternForTheFinalNameIsOurs) {
    EXPECT_EQ(TempNameFor(kEnginePath, 1234, 0), kEnginePath + ".1234-0.tmp");
    EXPECT_EQ(TempNameFor(kPath2009, 4294967295ul, 7), kPath2009 + ".4294967295-7.tmp");
    const struct {
        const char* found;
        const char* finalName;
        long long pid;  // -1: not ours
        // clang-format off
    } rows[] = {
        {"Skin.dll.1234-0.tmp", "Skin.dll", 1234},
        {"SKIN.DLL.8-15.TMP", "Skin.dll", 8},  // the file system ignores case
        {"QQ2009.she.4294967295-3.tmp", "QQ2009.she", 4294967295},
        {"Skin.dll.1234-0.tmp", "QQ2009.she", -1},  // the other file's
        {"Skin.dll", "Skin.dll", -1},
        {"Skin.dll.tmp", "Skin.dll", -1},
        {"Skin.dll.1234.tmp", "Skin.dll", -1},
        {"Skin.dll.1234-.tmp", "Skin.dll", -1},
        {"Skin.dll.4294967296-0.tmp", "Skin.dll", -1},  // no process id
        {"Skin.dll.1234-0.tmp.bak", "Skin.dll", -1},
        {"xSkin.dll.1234-0.tmp", "Skin.dll", -1},
        {"tlv1A2B.tmp", "Skin.dll", -1},  // GetTempFileName's, someone else's
        {"Skin.dll.1-0.tmp", "", -1},
    };
    // clang-format on
    for (const auto& row : rows) {
        unsigned long pid = 99;
        const bool ours = IsTempNameOf(row.found, row.finalName, &pid);
        EXPECT_EQ(ours ? static_cast<long long>(pid) : -1, row.pid) << row.found << " for " << row.finalName;
    }
}

}  // namespace
}  // namespace tolvane
