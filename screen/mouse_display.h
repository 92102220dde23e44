// The mouse position shown while a field waits for a key.
#pragma once

#include <cstdint>

#include "platform/screen_buffer.h"

namespace vellano::screen {

inline constexpr int kMouseDisplayRow = 50;
inline constexpr int kMouseDisplayCol = 93;
inline constexpr std::uint8_t kMouseDisplayAttr = 0x87;  // light grey on dark grey

// Writes row and column as "##-###" at (displayRow, column 93).
void showMousePosition(platform::ScreenBuffer& screen, int mouseRow, int mouseCol,
                       int displayRow = kMouseDisplayRow);

}  // namespace vellano::screen
