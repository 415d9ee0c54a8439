#include "locator/text_scan.h"

#include <cstring>

namespace tolvane {

namespace {
bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }
}  // namespace

std::string ReplaceText(const std::string& text, const std::string& find, const std::string& replacement) {
    if (text.empty() || find.empty()) return text;
    std::string out;
    out.reserve(text.size());
    const std::size_t n = text.size();
    const std::size_t k = find.size();
    std::size_t pos = 0;
    while (n - pos >= k) {
        if (text.compare(pos, k, find) == 0) {
            out += replacement;
            pos += k;
        } else if (IsLeadByte(text[pos]) && pos + 1 < n) {
            // Both bytes at once, so that no match can start on the trail byte.
            out.append(text, pos, 2);
            pos += 2;
        } else {
            // Also a lead byte that ends the text: there is no trail byte to take.
            out += text[pos];
            pos += 1;
        }
    }
    if (pos < n) out.append(text, pos, std::string::npos);
    return out;
}

KeyAndValue SplitRegistryPath(const std::string& fullPath) {
    // A trail byte may be 0x5C; only a backslash that is a character of its own splits.
    std::size_t lastSeparator = std::string::npos;
    std::size_t pos = 0;
    while (pos < fullPath.size()) {
        if (IsLeadByte(fullPath[pos])) {
            pos += 2;
        } else {
            if (fullPath[pos] == '\\') lastSeparator = pos;
            pos += 1;
        }
    }
    KeyAndValue kv;
    if (lastSeparator == std::string::npos) {
        kv.value = fullPath;
    } else {
        kv.key = fullPath.substr(0, lastSeparator);
        kv.value = fullPath.substr(lastSeparator + 1);
    }
    return kv;
}

std::string TextUpToZero(const char* bytes, std::size_t size) {
    if (bytes == nullptr || size == 0) return std::string();
    // The stored value need not carry its terminator.
    const void* zero = std::memchr(bytes, 0, size);
    const std::size_t length =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
    return std::string(bytes, length);
}

}  // namespace tolvane
