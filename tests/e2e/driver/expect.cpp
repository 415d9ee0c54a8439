// Expected-against-actual tables, compared the way Wine's message tests do.
#include <sstream>

#include "tests/e2e/driver/driver.h"

namespace e2e {

namespace {
bool Same(const Expected& e, const Observed& a) { return e.what == a.what && (e.value == "*" || e.value == a.value); }

std::string Show(const std::string& what, const std::string& value) { return what + " = \"" + value + "\""; }
}  // namespace

std::string Hex(DWORD value) {
    char text[16];
    wsprintfA(text, "0x%08lX", value);
    return text;
}

::testing::AssertionResult MatchSequence(const std::vector<Expected>& expected, const std::vector<Observed>& actual,
                                         const std::string& context) {
    std::ostringstream report;
    bool failed = false;
    size_t e = 0, a = 0;
    while (e < expected.size() || a < actual.size()) {
        if (e < expected.size() && a < actual.size() && Same(expected[e], actual[a])) {
            report << "  ok        " << Show(actual[a].what, actual[a].value) << "\n";
            ++e, ++a;
            continue;
        }
        if (e < expected.size() && expected[e].optional) {
            report << "  (skipped) " << Show(expected[e].what, expected[e].value) << " [optional]\n";
            ++e;
            continue;
        }
        failed = true;
        if (e < expected.size() && a < actual.size()) {
            report << "  MISMATCH  expected " << Show(expected[e].what, expected[e].value) << "\n"
                   << "            actual   " << Show(actual[a].what, actual[a].value) << "\n";
            // Same fact, other value: step both; otherwise resynchronise on
            // the actual side so one extra item does not fail the rest.
            if (expected[e].what == actual[a].what) ++e;
            ++a;
        } else if (e < expected.size()) {
            report << "  MISSING   expected " << Show(expected[e].what, expected[e].value) << "\n";
            ++e;
        } else {
            report << "  EXTRA     actual   " << Show(actual[a].what, actual[a].value) << "\n";
            ++a;
        }
    }
    if (!failed) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << context << ": expected against actual\n" << report.str();
}

}  // namespace e2e
