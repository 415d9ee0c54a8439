// The clock line's text, in code page 936.
#pragma once
#include <optional>
#include <string>

namespace tolvane {

// Calendar fields as people write them: the full year and month 1 to 12.
struct DateTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// "2010年10月29日14时25分7秒"; the time part stops at the lowest non-zero field.
std::string DateTimeToText(const DateTime& dt);

// The local calendar fields of a time_t-style count, or nothing when the
// count falls outside what the C library's conversion covers (1970 to 2038)
// or the conversion fails. `toLocal` is localtime's substitute; it adds 1900
// and 1 to tm_year and tm_mon. Fields outside their ranges are treated as a
// failed conversion.
using ToLocalFn = bool (*)(long long seconds, DateTime* out);
std::optional<DateTime> DateTimeFromSeconds(long long seconds, ToLocalFn toLocal);

}  // namespace tolvane
