// Byte-text scanning with the two-byte character rule of code page 936: a
// byte of 0x80 or more and the byte after it form one character.
#pragma once
#include <string>

namespace tolvane {

// Every non-overlapping occurrence of `find` replaced, left to right, never
// starting on the second byte of a two-byte character. A lead byte that is
// the very last byte is kept as it is.
std::string ReplaceText(const std::string& text, const std::string& find, const std::string& replacement);

struct KeyAndValue {
    std::string key;  // empty: the root itself
    std::string value;
};
// Split at the last backslash that is not the trail byte of a character.
KeyAndValue SplitRegistryPath(const std::string& fullPath);

// What a registry value's stored bytes say as text: REG_SZ bytes up to the
// first zero or the end. Other types give nothing; see the locator.
std::string TextUpToZero(const char* bytes, std::size_t size);

}  // namespace tolvane
