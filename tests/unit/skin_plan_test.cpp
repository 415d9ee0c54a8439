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

class RecordingPlatform : public SkinPlatform {
public:
    std::set<std::string> present;
    bool writesFail = false;
    std::vector<std::string> calls;
    std::vector<ByteBlock> written;

    bool FileExists(const std::string& path) override {
        calls.push_back("exists " + path);
        return present.count(path) != 0;
    }
    bool WriteWholeFile(const std::string& path, ByteBlock block) override {
        calls.push_back("write " + path);
        written.push_back(block);
        if (writesFail) return false;
        present.insert(path);
        return true;
    }
    void AttachSkin(const std::string& skinPath) override { calls.push_back("attach " + skinPath); }
};

const std::string kEnginePath = "C:\\WINDOWS\\system\\Skin.dll";
const std::string kPath2008 = "C:\\WINDOWS\\system\\qq2008.she";
const std::string kPath2009 = "C:\\WINDOWS\\system\\QQ2009.she";

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
    p.writesFail = true;
    ApplySkinSteps(2, p, kBlocks);
    ASSERT_FALSE(p.calls.empty());
    EXPECT_EQ(p.calls.size(), 5u);
    EXPECT_EQ(p.calls.back(), "attach " + kPath2009);
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

TEST(SkinSteps, Constants) {
    EXPECT_EQ(kSkinEnginePath, kEnginePath);
    EXPECT_STREQ(kSkinAttachExport, "SkinH_Attach_Ex");
    EXPECT_EQ(SkinPathFor(1), kPath2008);
    EXPECT_EQ(SkinPathFor(2), kPath2009);
    EXPECT_EQ(SkinPathFor(3), nullptr);
    EXPECT_EQ(kStartupSkin, 2);
}

}  // namespace
}  // namespace tolvane
