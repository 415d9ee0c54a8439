#include "skin_engine/she_format.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string RepoFile(const std::string& relative) {
    std::string here = __FILE__;  // .../tests/unit/she_format_test.cpp
    std::string root = here.substr(0, here.rfind("/tests/unit/"));
    std::ifstream in(root + "/" + relative, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct Outcome {
    she::Status status;
    int line;
};

Outcome ParseText(const std::string& text, const char* password = "") {
    she::Skin skin;
    int line = -1;
    she::Status s = she::Parse(text.data(), text.size(), password, &skin, &line);
    return {s, line};
}

// A complete, valid file; the cases below damage one thing each.
std::string Minimal() {
    return ".SHE 1\n"
           "name = test\n"
           "[caption]\n"
           "active_top = #102030\nactive_bottom = #102030\n"
           "inactive_top = #405060\ninactive_bottom = #405060\n"
           "active_text = #FFFFFF\ninactive_text = #EEEEEE\n"
           "text_height = 12\ntext_bold = 1\ntext_indent = 4\n"
           "[caption_buttons]\n"
           "normal = #112233\nhot = #223344\npressed = #334455\n"
           "close_hot = #AA0000\nclose_pressed = #770000\nglyph = #FFFFFF\n"
           "size = 16\nradius = 2\nglyph_width = 2\n"
           "[frame]\n"
           "active_outline = #000000\ninactive_outline = #111111\n"
           "active_fill = #222222\ninactive_fill = #333333\noutline_width = 1\n"
           "[button]\n"
           "top = #FAFAFA\nbottom = #E0E0E0\nhot_top = #FFFFFF\nhot_bottom = #D0D0D0\n"
           "pressed_top = #C0C0C0\npressed_bottom = #D0D0D0\ndisabled_face = #EEEEEE\n"
           "border = #808080\ndefault_border = #0000FF\ndisabled_border = #AAAAAA\n"
           "focus = #0000FF\ntext = #000000\ndisabled_text = #999999\n"
           "radius = 3\ndefault_border_width = 2\n"
           "[edit]\n"
           "border = #808080\nfocus_border = #0000FF\ndisabled_border = #AAAAAA\n"
           "inner = #FFFFFF\nborder_width = 1\n";
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// What the parser says of the valid file with one text replaced.
she::Status Edited(const std::string& from, const std::string& to, const char* password = "") {
    return ParseText(Replace(Minimal(), from, to), password).status;
}

TEST(SheFormat, BothShippedSkinsParseAndDiffer) {
    she::Skin s2008, s2009;
    std::string a = RepoFile("resources/skin2008.she");
    std::string b = RepoFile("resources/skin2009.she");
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    int line = 0;
    EXPECT_EQ(she::Parse(a.data(), a.size(), "", &s2008, &line), she::kOk) << "line " << line;
    EXPECT_EQ(she::Parse(b.data(), b.size(), "", &s2009, &line), she::kOk) << "line " << line;
    EXPECT_STREQ(s2008.name, "2008");
    EXPECT_STREQ(s2009.name, "2009");
    EXPECT_EQ(a.compare(0, 4, ".SHE"), 0);
    // The two must look different at a glance: the active caption colour.
    EXPECT_FALSE(s2008.color(she::kCaptionActiveBottom) == s2009.color(she::kCaptionActiveBottom));
}

TEST(SheFormat, ValuesReachTheSkin) {
    std::string text = Replace(Minimal(), "active_top = #102030", "active_top = #a1B2c3");
    text = Replace(text, "size = 16", "size = 40");
    she::Skin skin;
    ASSERT_EQ(she::Parse(text.data(), text.size(), nullptr, &skin), she::kOk);
    she::Rgb c = skin.color(she::kCaptionActiveTop);
    EXPECT_EQ(c.r, 0xA1);
    EXPECT_EQ(c.g, 0xB2);
    EXPECT_EQ(c.b, 0xC3);
    EXPECT_EQ(skin.metric(she::kCaptionButtonSize), 40);
    EXPECT_EQ(skin.metric(she::kEditBorderWidth), 1);
    EXPECT_STREQ(skin.password, "");
}

TEST(SheFormat, LayoutFreedoms) {
    // CRLF, blanks around keys, comments, blank lines and no final newline.
    std::string crlf;
    for (char c : Minimal()) {
        if (c == '\n') crlf += "\r\n";
        else crlf += c;
    }
    EXPECT_EQ(ParseText(crlf).status, she::kOk);
    std::string spaced = Replace(Minimal(), "name = test\n", "\t# a comment\n\n  name\t=  test  \n");
    EXPECT_EQ(ParseText(spaced).status, she::kOk);
    std::string noFinalNewline = Minimal();
    noFinalNewline.pop_back();
    EXPECT_EQ(ParseText(noFinalNewline).status, she::kOk);
}

TEST(SheFormat, ForeignOrEmptyFilesAreNotSkins) {
    EXPECT_EQ(ParseText("").status, she::kBadMagic);
    EXPECT_EQ(ParseText(".SH").status, she::kBadMagic);
    EXPECT_EQ(ParseText("MZ\x90\x00", "").status, she::kBadMagic);
    EXPECT_EQ(ParseText("\xEF\xBB\xBF.SHE 1\n").status, she::kBadMagic);  // BOM
    EXPECT_EQ(ParseText("[caption]\n").status, she::kBadMagic);
    she::Skin skin;
    EXPECT_EQ(she::Parse(nullptr, 0, "", &skin, nullptr), she::kBadMagic);
}

TEST(SheFormat, VersionMustBeOne) {
    EXPECT_EQ(Edited(".SHE 1", ".SHE 2"), she::kBadVersion);
    EXPECT_EQ(Edited(".SHE 1", ".SHE"), she::kBadVersion);
    EXPECT_EQ(Edited(".SHE 1", ".SHEX 1"), she::kBadVersion);
    EXPECT_EQ(Edited(".SHE 1", ".SHE 1.0"), she::kBadVersion);
    EXPECT_EQ(Edited(".SHE 1", ".SHE 99999"), she::kBadVersion);
    EXPECT_EQ(Edited(".SHE 1", ".SHE 1  "), she::kOk);
}

TEST(SheFormat, TruncatedFilesMissKeys) {
    std::string full = Minimal();
    // Cut at every line end: each prefix is well formed but incomplete.
    for (size_t at = full.find('\n'); at + 1 < full.size(); at = full.find('\n', at + 1)) {
        Outcome o = ParseText(full.substr(0, at + 1));
        EXPECT_EQ(o.status, she::kMissingKey) << "cut after byte " << at;
        EXPECT_EQ(o.line, 0);
    }
    // Cut inside a value: the value itself is bad.
    std::string midValue = full.substr(0, full.find("#102030") + 4);
    EXPECT_EQ(ParseText(midValue).status, she::kBadValue);
}

TEST(SheFormat, SizeAndLineLimits) {
    std::string huge = Minimal() + std::string(she::kMaxFileBytes, '#');
    EXPECT_EQ(ParseText(huge).status, she::kTooLarge);

    std::string longComment = "# " + std::string(she::kMaxLineBytes, 'x') + "\n";
    Outcome o = ParseText(Replace(Minimal(), "[frame]\n", longComment + "[frame]\n"));
    EXPECT_EQ(o.status, she::kLineTooLong);
    EXPECT_GT(o.line, 1);
    std::string fits = "#" + std::string(she::kMaxLineBytes - 1, 'x') + "\n";
    EXPECT_EQ(Edited("[frame]\n", fits + "[frame]\n"), she::kOk);

    std::string manyLines = Minimal() + std::string(she::kMaxLines, '\n');
    EXPECT_EQ(ParseText(manyLines).status, she::kTooManyLines);
}

TEST(SheFormat, StrayBytesAreRefused) {
    std::string nul = Minimal();
    nul[nul.find("test")] = '\0';
    EXPECT_EQ(ParseText(nul).status, she::kBadByte);
    std::string nulInComment = Replace(Minimal(), "[edit]\n", std::string("# a\0b\n[edit]\n", 8));
    EXPECT_EQ(ParseText(nulInComment).status, she::kBadByte);
    EXPECT_EQ(Edited("name = test\n", "name = te\rst\n"), she::kBadByte);
    EXPECT_EQ(Edited("name = test\n", "name = te\x1bst\n"), she::kBadByte);
    EXPECT_EQ(Edited("name = test\n", "name = test\x7f\n"), she::kBadByte);
    // Names may be in the local code page.
    EXPECT_EQ(Edited("name = test", "name = \xC6\xA4\xB7\xF4"), she::kOk);
}

TEST(SheFormat, BadColoursAndMetrics) {
    const char* badColours[] = {"#12345", "#1234567", "123456", "#12345G", "# 12345", "#", ""};
    for (const char* v : badColours) {
        Outcome o = ParseText(Replace(Minimal(), "glyph = #FFFFFF", std::string("glyph = ") + v));
        EXPECT_EQ(o.status, she::kBadValue) << v;
        EXPECT_GT(o.line, 1) << v;
    }
    const char* badNumbers[] = {"-1", "+3", "1.5", "0x10", "3 4", "", "99999999999"};
    for (const char* v : badNumbers) EXPECT_EQ(Edited("radius = 3", std::string("radius = ") + v), she::kBadValue) << v;
    EXPECT_EQ(Edited("size = 16", "size = 9"), she::kBadValue);
    EXPECT_EQ(Edited("size = 16", "size = 41"), she::kBadValue);
    EXPECT_EQ(Edited("size = 16", "size = 10"), she::kOk);
    EXPECT_EQ(Edited("text_bold = 1", "text_bold = 2"), she::kBadValue);
    EXPECT_EQ(Edited("border_width = 1", "border_width = 0"), she::kBadValue);
    EXPECT_EQ(Edited("outline_width = 1", "outline_width = 0004"), she::kOk);
    EXPECT_EQ(Edited("name = test", "name ="), she::kBadValue);
    EXPECT_EQ(Edited("name = test", "name = " + std::string(65, 'n')), she::kBadValue);
}

TEST(SheFormat, SectionsAndKeysFollowTheRules) {
    EXPECT_EQ(Edited("[edit]", "[toolbar]"), she::kUnknownSection);
    EXPECT_EQ(Edited("[edit]", "[Edit]"), she::kSyntax);
    EXPECT_EQ(Edited("[edit]", "[edit"), she::kSyntax);
    EXPECT_EQ(Edited("[edit]", "[]"), she::kSyntax);
    EXPECT_EQ(Edited("[edit]", "[ edit ]"), she::kSyntax);
    EXPECT_EQ(Edited("name = test", "name test"), she::kSyntax);
    EXPECT_EQ(Edited("name = test", "= test"), she::kSyntax);
    EXPECT_EQ(Edited("name = test", "Name = test"), she::kSyntax);
    EXPECT_EQ(Edited("name = test", "name = test\ncolour = #000000"), she::kUnknownKey);
    // A key of another section is unknown where it stands.
    EXPECT_EQ(Edited("inner = #FFFFFF", "inner = #FFFFFF\nglyph = #000000"), she::kUnknownKey);
    Outcome dupKey = ParseText(Replace(Minimal(), "radius = 3\n", "radius = 3\nradius = 4\n"));
    EXPECT_EQ(dupKey.status, she::kDuplicate);
    EXPECT_GT(dupKey.line, 1);
    std::string dupSection = Minimal() + "[edit]\n";
    EXPECT_EQ(ParseText(dupSection).status, she::kDuplicate);
    EXPECT_EQ(Edited("name = test\n", "name = test\nname = test\n"), she::kDuplicate);
}

TEST(SheFormat, PasswordLocksTheSkin) {
    std::string locked = Replace(Minimal(), "name = test\n", "name = test\npassword = s3cret\n");
    EXPECT_EQ(ParseText(locked, "s3cret").status, she::kOk);
    EXPECT_EQ(ParseText(locked, "").status, she::kWrongPassword);
    EXPECT_EQ(ParseText(locked, nullptr).status, she::kWrongPassword);
    EXPECT_EQ(ParseText(locked, "S3CRET").status, she::kWrongPassword);
    EXPECT_EQ(ParseText(locked, "s3cret ").status, she::kWrongPassword);
    // An unlocked skin takes any password; an empty one is no lock.
    EXPECT_EQ(ParseText(Minimal(), "anything").status, she::kOk);
    EXPECT_EQ(Edited("name = test\n", "name = test\npassword =\n", "x"), she::kOk);
    // A broken file reports its fault, not the password.
    std::string brokenLocked = Replace(locked, "radius = 3", "radius = 300");
    EXPECT_EQ(ParseText(brokenLocked, "wrong").status, she::kBadValue);
}

}  // namespace
