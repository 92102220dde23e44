// How a console colour attribute is shown by a curses terminal.
#pragma once

#include <cstdint>

namespace vellano::platform {

// Console colours keep blue in bit 0 and red in bit 2 (1 blue, 4 red); curses numbers them the
// ANSI way round (1 red, 4 blue). Bit 3 is the bright half, colours 8-15 on a terminal that
// has 16 colours.
constexpr int cursesColour(int console, bool sixteenColours) {
  const int low = ((console & 1) << 2) | (console & 2) | ((console & 4) >> 2);
  return sixteenColours ? low | (console & 8) : low;
}

struct CellStyle {
  int foreground = 7;
  int background = 0;
  bool bold = false;  // stands in for a bright foreground on an 8-colour terminal
  friend constexpr bool operator==(const CellStyle&, const CellStyle&) = default;
};

// The curses colours of an attribute byte: low nibble foreground, high nibble background.
constexpr CellStyle cellStyle(std::uint8_t attr, int terminalColours) {
  const bool sixteen = terminalColours >= 16;
  const int fg = attr & 0x0F;
  const int bg = (attr >> 4) & 0x0F;
  return CellStyle{cursesColour(fg, sixteen), cursesColour(bg, sixteen), !sixteen && (fg & 8) != 0};
}

}  // namespace vellano::platform
