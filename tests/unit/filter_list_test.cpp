#include "controls/filter_list.h"

#include <climits>

#include <gtest/gtest.h>

namespace tolvane {
namespace {

std::string Z(const char* s, std::size_t n) { return std::string(s, n); }

TEST(FilterList, LabelsAndPatternsBecomeAZeroSeparatedList) {
    // ".exe": label ".exe", an empty pattern, then the list's end.
    EXPECT_EQ(BuildFilterList(".exe"), Z(".exe\0\0\0", 7));
    EXPECT_EQ(BuildFilterList("Programs|*.exe"), Z("Programs\0*.exe\0\0\0", 17));
    EXPECT_EQ(BuildFilterList("A|*.a|B|*.b"), Z("A\0*.a\0B\0*.b\0\0\0", 14));
}

TEST(FilterList, TrailingBlanksAreTrimmedAndAFinalDoubleBarIsKept) {
    EXPECT_EQ(BuildFilterList(".exe \t\r\n"), Z(".exe\0\0\0", 7));
    EXPECT_EQ(BuildFilterList("A|*.a||"), Z("A\0*.a\0\0\0", 8));
    EXPECT_EQ(BuildFilterList("A|*.a||  "), Z("A\0*.a\0\0\0", 8));
    // Leading and inner blanks belong to the labels.
    EXPECT_EQ(BuildFilterList(" A B|*.a"), Z(" A B\0*.a\0\0\0", 11));
    // A single trailing bar is not the list's end.
    EXPECT_EQ(BuildFilterList("A|"), Z("A\0\0\0\0", 5));
}

TEST(FilterList, EmptyOrBlankFilterGivesNoList) {
    EXPECT_EQ(BuildFilterList(""), "");
    EXPECT_EQ(BuildFilterList(" \t\r\n "), "");
}

TEST(FilterList, InitialEntry) {
    EXPECT_EQ(FilterEntryFor(0), 1);
    EXPECT_EQ(FilterEntryFor(2), 3);
    EXPECT_EQ(FilterEntryFor(-1), 1);
    EXPECT_EQ(FilterEntryFor(INT_MIN), 1);
    EXPECT_EQ(FilterEntryFor(INT_MAX), INT_MAX);
}

}  // namespace
}  // namespace tolvane
