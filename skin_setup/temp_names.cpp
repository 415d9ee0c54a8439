#include "skin_setup/temp_names.h"

namespace tolvane {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Reads a decimal number of 1 to 10 digits that fits 32 bits at `*p`, and
// moves past it.
bool ReadNumber(const char** p, unsigned long* value) {
    unsigned long long n = 0;
    int digits = 0;
    for (; **p >= '0' && **p <= '9'; ++*p, ++digits) {
        if (digits == 10) return false;
        n = n * 10 + static_cast<unsigned>(**p - '0');
    }
    if (digits == 0 || n > 0xFFFFFFFFull) return false;
    *value = static_cast<unsigned long>(n);
    return true;
}

}  // namespace

std::string TempNameFor(const std::string& path, unsigned long pid, unsigned n) {
    return path + "." + std::to_string(pid) + "-" + std::to_string(n) + ".tmp";
}

bool IsTempNameOf(const std::string& found, const std::string& finalName, unsigned long* pid) {
    if (finalName.empty() || found.size() <= finalName.size()) return false;
    // Byte by byte: everything of the pattern is ASCII, so a name holding a
    // double-byte character differs at its lead byte, before its trail byte
    // (which may look like a letter) is reached.
    for (std::size_t i = 0; i < finalName.size(); ++i)
        if (AsciiLower(found[i]) != AsciiLower(finalName[i])) return false;
    const char* p = found.c_str() + finalName.size();
    unsigned long writer = 0, n = 0;
    if (*p++ != '.' || !ReadNumber(&p, &writer) || *p++ != '-' || !ReadNumber(&p, &n)) return false;
    const char* rest = ".tmp";
    for (; *rest; ++rest, ++p)
        if (AsciiLower(*p) != *rest) return false;
    if (static_cast<std::size_t>(p - found.c_str()) != found.size()) return false;
    if (pid) *pid = writer;
    return true;
}

}  // namespace tolvane
