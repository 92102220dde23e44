// Code page 437 <-> Unicode. The program keeps DOS bytes; conversion happens only at the edges
// (terminal output, screen dumps, key scripts).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vellano::platform {

// The glyph of a byte as the console shows it; control bytes 1-31 and 127 show their
// DOS pictures, NUL shows as a blank.
char32_t cp437ToUnicode(std::uint8_t byte);
// The same glyph for screen dumps: control bytes and NUL as blanks.
char32_t cp437ToDumpGlyph(std::uint8_t byte);
// The byte for a Unicode character, if code page 437 has it (ASCII maps to itself).
std::optional<std::uint8_t> unicodeToCp437(char32_t ch);

void appendUtf8(std::string& out, char32_t ch);
// Converts a code page 437 string to UTF-8 (dump glyphs).
std::string cp437ToUtf8(std::string_view cp437);

}  // namespace vellano::platform
