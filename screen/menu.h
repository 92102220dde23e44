// The vertical menu with hot letters, drawn inside a window the caller has opened.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "screen/window.h"
#include "platform/console.h"

namespace vellano::screen {

struct MenuItem {
  std::string text;       // code page 437
  int hotPosition = 0;    // 1-based index of the hot letter inside the text; 0 = none
  bool separator = false; // a line of "─" that cannot be chosen: as long as `text`, else 25
};

struct MenuColours {
  std::uint8_t normal = 0x07;
  std::uint8_t selected = 0x70;
  std::uint8_t hot = 0x0E;  // only the foreground is used: the letter keeps its row's background
};

inline constexpr int kMenuEsc = -1;
inline constexpr int kMenuNothingSelectable = -2;
inline constexpr int kMenuLeft = -8;
inline constexpr int kMenuRight = -9;
inline constexpr int kMenuAltX = -10;

// Shows the items one per row inside the frame of `d` (item n at row top + n, from column
// left + 1) and reads keys until one ends the menu. Returns the item number (from 1) or one
// of the negative results above. `current` is the highlighted item on entry and keeps the
// item reached on return. Up and Down wrap around the ends.
int runMenu(platform::Console& console, const WindowDescriptor& d, const std::vector<MenuItem>& items,
            const MenuColours& colours, int& current);

}  // namespace vellano::screen
