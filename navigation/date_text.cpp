#include "navigation/date_text.h"

namespace tolvane {

std::string DateTimeToText(const DateTime& dt) {
    std::string text = std::to_string(dt.year) + "年" + std::to_string(dt.month) + "月" + std::to_string(dt.day) + "日";
    // The time stops at its lowest non-zero field; a zero in front of one stays.
    if (dt.second != 0) {
        text += std::to_string(dt.hour) + "时" + std::to_string(dt.minute) + "分" + std::to_string(dt.second) + "秒";
    } else if (dt.minute != 0) {
        text += std::to_string(dt.hour) + "时" + std::to_string(dt.minute) + "分";
    } else if (dt.hour != 0) {
        text += std::to_string(dt.hour) + "时";
    }
    return text;
}

namespace {
constexpr long long kLastSecondOf32BitTime = 2147483647LL;

bool InRange(int v, int lo, int hi) { return v >= lo && v <= hi; }
}  // namespace

std::optional<DateTime> DateTimeFromSeconds(long long seconds, ToLocalFn toLocal) {
    if (toLocal == nullptr) return std::nullopt;
    if (seconds < 0 || seconds > kLastSecondOf32BitTime) return std::nullopt;
    DateTime f{0, 0, 0, 0, 0, 0};  // a substitute that claims success and writes nothing fails the range check
    if (!toLocal(seconds, &f)) return std::nullopt;
    // A substitute that returns C-library fields unconverted (month 0-11) or
    // garbage would otherwise reach the clock line as a date that never was.
    if (!InRange(f.month, 1, 12) || !InRange(f.day, 1, 31) || !InRange(f.hour, 0, 23) || !InRange(f.minute, 0, 59) ||
        !InRange(f.second, 0, 60)) {
        return std::nullopt;
    }
    return f;
}

}  // namespace tolvane
