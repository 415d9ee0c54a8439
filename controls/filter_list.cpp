#include "controls/filter_list.h"

#include <climits>

namespace tolvane {

namespace {
bool IsTrailingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

std::string BuildFilterList(const std::string& filter) {
    std::string list = filter;
    while (!list.empty() && IsTrailingBlank(list.back())) list.pop_back();
    if (list.empty()) return list;
    if (list.size() < 2 || list.compare(list.size() - 2, 2, "||") != 0) list += "||";
    for (char& c : list) {
        if (c == '|') c = '\0';
    }
    // The list's own bytes end in the final terminator, so a copy made with
    // size() stays a valid list without relying on c_str()'s extra zero.
    list += '\0';
    return list;
}

int FilterEntryFor(int initialIndex) {
    if (initialIndex < 0) return 1;
    if (initialIndex == INT_MAX) return INT_MAX;
    return initialIndex + 1;
}

}  // namespace tolvane
