#pragma once
// The one place where text crosses between UTF-8 (memory, screen) and
// Windows-1252 (client file, installation data files, report file).
#include <string>
#include <string_view>

namespace zv::cp1252 {

// Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character in Windows-1252;
// they map to the C1 control code points of the same value, so every byte
// string survives a round trip (a scrambled name can produce them).
std::string toUtf8(std::string_view cp1252);

// Characters Windows-1252 cannot hold become '?' and make `lossless` false.
std::string fromUtf8(std::string_view utf8, bool* lossless = nullptr);

// True when the code point has a Windows-1252 byte.
bool representable(char32_t codePoint);

// Number of characters (code points) in a UTF-8 text.
std::size_t length(std::string_view utf8);

}  // namespace zv::cp1252
