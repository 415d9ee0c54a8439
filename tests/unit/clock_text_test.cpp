#include "navigation/date_text.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(DateText, FormsOfTheClockLine) {
    struct Case {
        DateTime dt;
        const char* text;
    };
    const Case cases[] = {
        {{2010, 10, 29, 14, 25, 7}, "2010年10月29日14时25分7秒"}, {{2010, 10, 30, 0, 0, 0}, "2010年10月30日"},
        {{2010, 10, 30, 0, 0, 1}, "2010年10月30日0时0分1秒"},     {{2010, 10, 29, 14, 25, 0}, "2010年10月29日14时25分"},
        {{2010, 10, 29, 14, 0, 0}, "2010年10月29日14时"},         {{2011, 1, 5, 9, 3, 2}, "2011年1月5日9时3分2秒"},
        {{2011, 1, 5, 0, 0, 9}, "2011年1月5日0时0分9秒"},         {{2011, 1, 5, 0, 30, 0}, "2011年1月5日0时30分"},
        {{2011, 1, 5, 23, 0, 59}, "2011年1月5日23时0分59秒"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DateTimeToText(c.dt), c.text);
    }
}

TEST(DateText, CharactersAreCodePage936Bytes) {
    // Guards the build's literal encoding: a UTF-8 literal would pass the table above.
    const std::string expected = "2011\xC4\xEA"
                                 "1\xD4\xC2"
                                 "5\xC8\xD5"
                                 "9\xCA\xB1"
                                 "3\xB7\xD6"
                                 "2\xC3\xEB";
    EXPECT_EQ(DateTimeToText(DateTime{2011, 1, 5, 9, 3, 2}), expected);
}

// Stands in for localtime: UTC, recording what it was asked.
long long g_askedFor = -1;
bool g_failNext = false;
DateTime g_forced{};
bool g_force = false;

bool FakeToLocal(long long seconds, DateTime* out) {
    g_askedFor = seconds;
    if (g_failNext) return false;
    if (g_force) {
        *out = g_forced;
        return true;
    }
    const long long days = seconds / 86400, rest = seconds % 86400;
    // Days from the civil epoch, enough for 1970-2038.
    long long z = days + 719468;
    const long long era = z / 146097, doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *out = DateTime{static_cast<int>(yoe + era * 400 + (month <= 2)),
                    month,
                    static_cast<int>(doy - (153 * mp + 2) / 5 + 1),
                    static_cast<int>(rest / 3600),
                    static_cast<int>(rest / 60 % 60),
                    static_cast<int>(rest % 60)};
    return true;
}

class DateFromSeconds : public ::testing::Test {
protected:
    void SetUp() override {
        g_askedFor = -1;
        g_failNext = false;
        g_force = false;
    }
};

TEST_F(DateFromSeconds, RangeOfA32BitTime) {
    const auto epoch = DateTimeFromSeconds(0, FakeToLocal);
    ASSERT_TRUE(epoch.has_value());
    EXPECT_EQ(DateTimeToText(*epoch), "1970年1月1日");

    const auto last = DateTimeFromSeconds(2147483647LL, FakeToLocal);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(DateTimeToText(*last), "2038年1月19日3时14分7秒");

    EXPECT_FALSE(DateTimeFromSeconds(-1, FakeToLocal).has_value());
    EXPECT_FALSE(DateTimeFromSeconds(2147483648LL, FakeToLocal).has_value());
    EXPECT_FALSE(DateTimeFromSeconds(-9000000000LL, FakeToLocal).has_value());
    // Out-of-range counts never reach the conversion.
    EXPECT_EQ(g_askedFor, 2147483647LL);
}

TEST_F(DateFromSeconds, FailedOrMissingConversionGivesNothing) {
    g_failNext = true;
    EXPECT_FALSE(DateTimeFromSeconds(1288362307, FakeToLocal).has_value());
    EXPECT_EQ(g_askedFor, 1288362307);
    EXPECT_FALSE(DateTimeFromSeconds(1288362307, nullptr).has_value());
}

TEST_F(DateFromSeconds, FieldsPassThroughAndImpossibleOnesAreRejected) {
    g_force = true;
    g_forced = DateTime{2010, 10, 29, 14, 25, 7};
    const auto dt = DateTimeFromSeconds(1, FakeToLocal);
    ASSERT_TRUE(dt.has_value());
    EXPECT_EQ(DateTimeToText(*dt), "2010年10月29日14时25分7秒");

    // Month 0 is what an unconverted C-library January would look like.
    const DateTime bad[] = {
        {2010, 0, 29, 14, 25, 7},  {2010, 13, 29, 14, 25, 7}, {2010, 10, 0, 14, 25, 7},  {2010, 10, 32, 14, 25, 7},
        {2010, 10, 29, 24, 25, 7}, {2010, 10, 29, 14, 60, 7}, {2010, 10, 29, -1, 25, 7},
    };
    for (const DateTime& f : bad) {
        g_forced = f;
        EXPECT_FALSE(DateTimeFromSeconds(1, FakeToLocal).has_value())
            << f.month << "/" << f.day << " " << f.hour << ":" << f.minute;
    }
}

}  // namespace
}  // namespace tolvane
