// Code page 437 glyphs, the dump glyphs and the UTF-8 conversions.
#include "platform/cp437.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <string>

namespace vellano::platform {
namespace {

// The C library's own CP437 converter is an independent reference for the upper half.
std::string referenceUtf8(std::uint8_t byte) {
  iconv_t cd = iconv_open("UTF-8", "CP437");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  char in[1] = {static_cast<char>(byte)};
  char out[8] = {};
  char* inPtr = in;
  char* outPtr = out;
  std::size_t inLeft = 1;
  std::size_t outLeft = sizeof out;
  const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1)) return {};
  return std::string(out, outPtr);
}

std::string utf8(char32_t ch) {
  std::string s;
  appendUtf8(s, ch);
  return s;
}

TEST(Cp437, UpperHalfMatchesTheSystemCodePage) {
  if (referenceUtf8(0x80).empty()) GTEST_SKIP() << "no CP437 converter in this C library";
  for (int b = 0x80; b <= 0xFF; ++b) {
    EXPECT_EQ(utf8(cp437ToUnicode(static_cast<std::uint8_t>(b))), referenceUtf8(static_cast<std::uint8_t>(b)))
        << "byte " << std::hex << b;
  }
}

TEST(Cp437, ConsoleAndDumpGlyphs) {
  struct Case {
    std::uint8_t byte;
    char32_t console;
    char32_t dump;
  };
  const Case cases[] = {
      {0x00, U' ', U' '},           {0x01, U'\u263A', U' '},      {0x03, U'\u2665', U' '},
      {0x0A, U'\u25D9', U' '},      {0x1B, U'\u2190', U' '},      {0x1F, U'\u25BC', U' '},
      {0x20, U' ', U' '},           {'A', U'A', U'A'},            {'~', U'~', U'~'},
      {0x7F, U'\u2302', U' '},      {0x80, U'\u00C7', U'\u00C7'}, {0xB3, U'\u2502', U'\u2502'},
      {0xC4, U'\u2500', U'\u2500'}, {0xDA, U'\u250C', U'\u250C'}, {0xD9, U'\u2518', U'\u2518'},
      {0xC9, U'\u2554', U'\u2554'}, {0xFA, U'\u00B7', U'\u00B7'}, {0xFE, U'\u25A0', U'\u25A0'},
      {0xFF, U'\u00A0', U'\u00A0'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cp437ToUnicode(c.byte), c.console) << "byte " << int(c.byte);
    EXPECT_EQ(cp437ToDumpGlyph(c.byte), c.dump) << "byte " << int(c.byte);
  }
}

TEST(Cp437, EveryGlyphLeadsBackToItsByte) {
  for (int b = 1; b <= 0xFF; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    EXPECT_EQ(unicodeToCp437(cp437ToUnicode(byte)), byte) << "byte " << b;
  }
  EXPECT_EQ(unicodeToCp437(U'\0'), 0);
  EXPECT_EQ(unicodeToCp437(U'\t'), '\t');
}

TEST(Cp437, CharactersOutsideTheCodePageHaveNoByte) {
  for (char32_t ch : {U'\u20AC', U'\u0142', U'\u00C0', U'\u4E2D', U'\U0001F600', U'\u00FE'}) {
    EXPECT_FALSE(unicodeToCp437(ch).has_value()) << static_cast<unsigned>(ch);
  }
}

TEST(Cp437, Utf8Encoding) {
  struct Case {
    char32_t ch;
    std::string bytes;
  };
  const Case cases[] = {
      {U'a', "a"},
      {U'\u00E9', "\xC3\xA9"},
      {U'\u2500', "\xE2\x94\x80"},
      {U'\U0001F600', "\xF0\x9F\x98\x80"},
      {0xD800, "\xEF\xBF\xBD"},    // a lone surrogate cannot be encoded
      {0x110000, "\xEF\xBF\xBD"},  // beyond Unicode
  };
  for (const Case& c : cases) EXPECT_EQ(utf8(c.ch), c.bytes) << static_cast<unsigned>(c.ch);
}

TEST(Cp437, StringToUtf8UsesDumpGlyphs) {
  EXPECT_EQ(cp437ToUtf8("\xDA\xC4\xBF"), "┌─┐");
  EXPECT_EQ(cp437ToUtf8(std::string("a\0b\x01\x7F\x8A", 6)), "a b  è");
  EXPECT_EQ(cp437ToUtf8(""), "");
}

}  // namespace
}  // namespace vellano::platform
