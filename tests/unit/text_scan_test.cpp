#include "locator/text_scan.h"

#include <gtest/gtest.h>

#include "locator/install_paths.h"

namespace tolvane {
namespace {

// Start-up's derivation: the value in the first box, the link file in the second.
struct Boxes {
    std::string folder, link;
};
Boxes AtStart(const std::string& value) {
    const std::string folder = InstallFolderFromValue(value);
    return {folder, LinkConfigAtStart(folder)};
}

TEST(InstallPaths, RegistryValueToTheTwoBoxes) {
    struct Case {
        const char* value;
        const char* folder;
        const char* link;
    };
    // clang-format off
    const Case cases[] = {
        {"D:\\e\\lib\\", "D:\\e\\", "D:\\e\\tools\\link.ini"},
        {"D:\\e", "D:\\e", "D:\\etools\\link.ini"},
        {"D:\\zlib\\e\\lib\\", "D:\\ze\\", "D:\\ze\\tools\\link.ini"},
        {"D:\\E\\LIB\\", "D:\\E\\LIB\\", "D:\\E\\LIB\\tools\\link.ini"},
        {"C:\\e\\lib\\", "C:\\e\\", "C:\\e\\tools\\link.ini"},
        {"", "", "tools\\link.ini"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const Boxes b = AtStart(c.value);
        EXPECT_EQ(b.folder, c.folder) << c.value;
        EXPECT_EQ(b.link, c.link) << c.value;
    }
}

TEST(InstallPaths, BrowsedFileGetsTheSuffixWithItsBackslash) {
    EXPECT_EQ(LinkConfigAfterBrowse("D:\\e\\e.exe"), "D:\\e\\e.exe\\tools\\link.ini");
    EXPECT_EQ(LinkConfigAfterBrowse(""), "\\tools\\link.ini");
}

TEST(InstallPaths, RepairAnswerDependsOnlyOnEmptiness) {
    const MessageText error = RepairMessageFor("");
    EXPECT_STREQ(error.text, kRepairErrorText);
    EXPECT_STREQ(error.title, "\xB4\xED\xCE\xF3");  // 错误
    for (const char* text : {" ", "\t", "D:\\does\\not\\exist", "x"}) {
        const MessageText done = RepairMessageFor(text);
        EXPECT_STREQ(done.text, kRepairDoneText) << text;
        EXPECT_STREQ(done.title, "\xCD\xEA\xB3\xC9") << text;  // 完成
    }
}

TEST(ReplaceText, EveryOccurrenceLeftToRightWithoutOverlap) {
    EXPECT_EQ(ReplaceText("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceText("abab", "aba", "X"), "Xb");
    EXPECT_EQ(ReplaceText("lib\\lib\\", "lib\\", ""), "");
    EXPECT_EQ(ReplaceText("liblib\\", "lib\\", ""), "lib");
    // The replacement is not scanned again.
    EXPECT_EQ(ReplaceText("ab", "a", "aa"), "aab");
    EXPECT_EQ(ReplaceText("xli", "lib\\", ""), "xli");
    EXPECT_EQ(ReplaceText("abc", "abcd", "X"), "abc");
    EXPECT_EQ(ReplaceText("abc", "abc", "X"), "X");
}

TEST(ReplaceText, EmptyTextOrFindLeavesTheTextAlone) {
    EXPECT_EQ(ReplaceText("", "lib\\", "x"), "");
    EXPECT_EQ(ReplaceText("D:\\lib\\", "", "x"), "D:\\lib\\");
}

TEST(ReplaceText, MatchesNeverStartOnATrailByte) {
    // 0xB0 takes the "l" as its trail byte, so this "lib\" is no match.
    EXPECT_EQ(ReplaceText("D:\\\xB0lib\\", "lib\\", ""), "D:\\\xB0lib\\");
    // After the pair the scan resumes and finds the next one.
    EXPECT_EQ(ReplaceText("\xB0lib\\lib\\", "lib\\", ""), "\xB0lib\\");
    // A whole two-byte character in front does not hide the match.
    EXPECT_EQ(ReplaceText("\xB0\xA1lib\\", "lib\\", ""), "\xB0\xA1");
    // A trail byte equal to the searched byte is not a match either.
    EXPECT_EQ(ReplaceText("\x81\\x\\", "\\", "/"), "\x81\\x/");
}

TEST(ReplaceText, LeadByteAtTheVeryEndIsKeptAsItIs) {
    const std::string endsInLead("ab\xB0", 3);
    const std::string r = ReplaceText(endsInLead, "x", "y");
    EXPECT_EQ(r, endsInLead);
    EXPECT_EQ(r.size(), 3u);
    const std::string onlyLead("\xB0", 1);
    EXPECT_EQ(ReplaceText(onlyLead, "q", "z"), onlyLead);
    // A lone lead byte can itself be what is searched for.
    EXPECT_EQ(ReplaceText(endsInLead, "\xB0", "Z"), "abZ");
}

TEST(SplitRegistryPath, LastSeparatorSplitsKeyFromValueName) {
    struct Case {
        const char* path;
        const char* key;
        const char* value;
    };
    // clang-format off
    const Case cases[] = {
        {"Software\\FlySky\\E\\Install\\path", "Software\\FlySky\\E\\Install", "path"},
        {"path", "", "path"},
        {"\\path", "", "path"},
        {"a\\", "a", ""},
        {"", "", ""},
        // 0x81 0x5C is one character whose trail byte looks like a backslash.
        {"a\\b\x81\\c", "a", "b\x81\\c"},
        {"a\\\x81\\", "a", "\x81\\"},
        {"\x81\\", "", "\x81\\"},
        // A lead byte that ends the text.
        {"a\\b\xB0", "a", "b\xB0"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const KeyAndValue kv = SplitRegistryPath(c.path);
        EXPECT_EQ(kv.key, c.key) << c.path;
        EXPECT_EQ(kv.value, c.value) << c.path;
    }
}

TEST(TextUpToZero, StopsAtTheFirstZeroOrTheEnd) {
    EXPECT_EQ(TextUpToZero("abc\0def", 7), "abc");
    EXPECT_EQ(TextUpToZero("D:\\e\\lib\\", 9), "D:\\e\\lib\\");  // stored without terminator
    EXPECT_EQ(TextUpToZero("abcdef", 3), "abc");
    EXPECT_EQ(TextUpToZero("\0abc", 4), "");
    EXPECT_EQ(TextUpToZero(nullptr, 4), "");
    EXPECT_EQ(TextUpToZero("abc", 0), "");
}

}  // namespace
}  // namespace tolvane
