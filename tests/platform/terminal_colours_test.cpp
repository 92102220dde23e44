// Console colour attributes as a curses terminal shows them.
#include "platform/terminal_colours.h"

#include <gtest/gtest.h>

#include <ostream>

namespace vellano::platform {

// Readable failures (internal linkage: other test files may print these types too).
static void PrintTo(const CellStyle& s, std::ostream* out) {
  *out << "{fg " << s.foreground << ", bg " << s.background << (s.bold ? ", bold}" : "}");
}

namespace {

TEST(TerminalColours, AttributeToCursesColours) {
  struct Case {
    std::uint8_t attr;
    int terminalColours;
    CellStyle expected;
  };
  // curses numbering: 0 black, 1 red, 2 green, 3 yellow, 4 blue, 5 magenta, 6 cyan, 7 white.
  const Case cases[] = {
      {0x07, 256, {7, 0, false}},    // light grey on black
      {0x1F, 256, {15, 4, false}},   // white on blue
      {0x4E, 256, {11, 1, false}},   // yellow on red
      {0x35, 256, {5, 6, false}},    // magenta on cyan
      {0x8A, 256, {10, 8, false}},   // light green on dark grey
      {0xF0, 16, {0, 15, false}},    // black on white
      {0x19, 16, {12, 4, false}},    // light blue on blue
      {0x1F, 8, {7, 4, true}},       // bright foreground becomes bold
      {0x82, 8, {2, 0, false}},      // ...but not a bright background
      {0x97, 8, {7, 4, false}},
      {0x6C, 8, {1, 3, true}},       // light red on brown
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cellStyle(c.attr, c.terminalColours), c.expected)
        << "attr " << std::hex << static_cast<int>(c.attr) << " colours " << std::dec << c.terminalColours;
  }
}

TEST(TerminalColours, RedAndBlueSwapBothWays) {
  for (int colour = 0; colour < 16; ++colour) {
    EXPECT_EQ(cursesColour(cursesColour(colour, true), true), colour) << colour;
  }
}

}  // namespace
}  // namespace vellano::platform
