#include "skin/skin_plan.h"

#include <set>
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

// What the elevated helper does when asked.
enum class Prompt { Accepted, Declined, HelperWroteEngineOnly };

class RecordingPlatform : public SkinPlatform {
public:
    std::set<std::string> present;
    WriteResult writeResult = WriteResult::Written;  // what every write answers
    bool vista = false;
    bool elevated = false;
    Prompt prompt = Prompt::Accepted;
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
    bool DeployElevated() override {
        calls.push_back("deploy");
        if (prompt == Prompt::Declined) return false;
        present.insert(kEnginePath);
        if (prompt == Prompt::HelperWroteEngineOnly) return false;
        present.insert(kPath2009);
        return true;
    }
    void AttachSkin(const std::string& skinPath) override {
        calls.push_back("attach " + skinPath);
        end = present.count(kEnginePath) ? "bound" : "fatal";
    }
};

TEST(SkinSteps, FirstStartWritesEngineAndSkinTwoThenAttaches) {
    RecordingPlatform p;
    ApplySkinSteps(2, p, kBlocks);
    const std::vector<std::string> expected = {
        "exists " + kEnginePath, "write " + kEnginePath,
        "exists " + kPath2009,   "write " + kPath2009,
        "attach " + kPath2009,
    };
    EXPECT_EQ(p.calls, expected);
    ASSERT_EQ(p.written.size(), 2u);
    EXPECT_EQ(p.written[0].data, kEngine);
    EXPECT_EQ(p.written[0].size, sizeof kEngine);
    EXPECT_EQ(p.written[1].data, k2009);
    EXPECT_EQ(p.written[1].size, sizeof k2009);
    EXPECT_EQ(p.present.count(kPath2008), 0u);
}

TEST(SkinSteps, SkinOneUsesThe2008File) {
    RecordingPlatform p;
    p.present = {kEnginePath};
    ApplySkinSteps(1, p, kBlocks);
    const std::vector<std::string> expected = {
        "exists " + kEnginePath, "exists " + kPath2008, "write " + kPath2008, "attach " + kPath2008,
    };
    EXPECT_EQ(p.calls, expected);
    ASSERT_EQ(p.written.size(), 1u);
    EXPECT_EQ(p.written[0].data, k2008);
}

TEST(SkinSteps, ExistingFilesAreLeftAloneAndStillAttached) {
    RecordingPlatform p;
    p.present = {kEnginePath, kPath2009};
    ApplySkinSteps(2, p, kBlocks);
    const std::vector<std::string> expected = {
        "exists " + kEnginePath, "exists " + kPath2009, "attach " + kPath2009,
    };
    EXPECT_EQ(p.calls, expected);
    EXPECT_TRUE(p.written.empty());
}

TEST(SkinSteps, FailedWritesAreIgnoredAndTheAttachStillRuns) {
    RecordingPlatform p;
    p.writeResult = WriteResult::Failed;
    ApplySkinSteps(2, p, kBlocks);
    ASSERT_FALSE(p.calls.empty());
    EXPECT_EQ(p.calls.size(), 5u);
    EXPECT_EQ(p.calls.back(), "attach " + kPath2009);
}

// A first start that cannot write the system folder. Every write of a row
// answers the same; the elevated helper, when asked, does what the row says.
TEST(SkinSteps, RefusedWriteAsksOnceForElevationWhereThatHelps) {
    const std::string exE = "exists " + kEnginePath, wrE = "write " + kEnginePath;
    const std::string exS = "exists " + kPath2009, wrS = "write " + kPath2009, attach = "attach " + kPath2009;
    const WriteResult ok = WriteResult::Written, refused = WriteResult::RefusedForRights, failed = WriteResult::Failed;
    struct Row {
        const char* name;
        bool enginePresent;
        WriteResult write;
        bool vista, elevated;
        Prompt prompt;
        std::vector<std::string> calls;
        const char* end;
    } rows[] = {
        {"written", false, ok, true, false, Prompt::Accepted, {exE, wrE, exS, wrS, attach}, "bound"},
        {"failed otherwise", false, failed, true, false, Prompt::Accepted, {exE, wrE, exS, wrS, attach}, "fatal"},
        {"refused before Vista", false, refused, false, false, Prompt::Accepted,
         {exE, wrE, "vista?", exS, wrS, attach}, "fatal"},
        {"refused, elevated already", false, refused, true, true, Prompt::Accepted,
         {exE, wrE, "vista?", "elevated?", exS, wrS, attach}, "fatal"},
        {"refused, prompt accepted", false, refused, true, false, Prompt::Accepted,
         {exE, wrE, "vista?", "elevated?", "deploy", exS, attach}, "bound"},
        {"refused, prompt declined", false, refused, true, false, Prompt::Declined,
         {exE, wrE, "vista?", "elevated?", "deploy", exS, wrS, attach}, "fatal"},
        {"refused, helper failed after the engine", false, refused, true, false, Prompt::HelperWroteEngineOnly,
         {exE, wrE, "vista?", "elevated?", "deploy", exS, wrS, attach}, "bound"},
        {"engine there, skin refused, accepted", true, refused, true, false, Prompt::Accepted,
         {exE, exS, wrS, "vista?", "elevated?", "deploy", attach}, "bound"},
        {"engine there, skin refused, declined", true, refused, true, false, Prompt::Declined,
         {exE, exS, wrS, "vista?", "elevated?", "deploy", attach}, "bound"},
    };
    for (const Row& row : rows) {
        RecordingPlatform p;
        if (row.enginePresent) p.present = {kEnginePath};
        p.writeResult = row.write;
        p.vista = row.vista;
        p.elevated = row.elevated;
        p.prompt = row.prompt;
        ApplySkinSteps(kStartupSkin, p, kBlocks);
        EXPECT_EQ(p.calls, row.calls) << row.name;
        EXPECT_EQ(p.end, row.end) << row.name;
    }
}

TEST(DeployCommandLine, OnlyTheOneArgumentCounts) {
    const struct {
        const char* line;
        bool deploy;
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
    for (const auto& c : cases) EXPECT_EQ(IsDeployCommandLine(c.line), c.deploy) << (c.line ? c.line : "(null)");
}

TEST(SkinSteps, UnknownSkinNumberOnlyDeploysTheEngine) {
    for (int number : {3, 0, -1}) {
        RecordingPlatform p;
        ApplySkinSteps(number, p, kBlocks);
        const std::vector<std::string> expected = {"exists " + kEnginePath, "write " + kEnginePath};
        EXPECT_EQ(p.calls, expected) << number;

        RecordingPlatform installed;
        installed.present = {kEnginePath};
        ApplySkinSteps(number, installed, kBlocks);
        EXPECT_EQ(installed.calls, std::vector<std::string>{"exists " + kEnginePath}) << number;
    }
}

// The export's name, the start-up skin and the helper's argument are seen
// end to end (a wrong one fails every start or the deploy run).
TEST(SkinSteps, SkinNumbersNameTheirFiles) {
    EXPECT_EQ(SkinPathFor(1), kPath2008);
    EXPECT_EQ(SkinPathFor(2), kPath2009);
    EXPECT_EQ(SkinPathFor(3), nullptr);
    EXPECT_EQ(SkinPathFor(0), nullptr);
}

}  // namespace
}  // namespace tolvane
