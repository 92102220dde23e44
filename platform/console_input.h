// Key decoding for the Windows console backend: turns one console input record (the fields
// of INPUT_RECORD that matter, copied into a plain struct) into the program's key event. Pure
// and free of <windows.h>, so the whole mapping is built and tested on every host.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/keys.h"

namespace vellano::platform {

// The console's control-key state bits, as ReadConsoleInputW reports them.
namespace console_state {
inline constexpr std::uint32_t kRightAlt = 0x0001;
inline constexpr std::uint32_t kLeftAlt = 0x0002;
inline constexpr std::uint32_t kRightCtrl = 0x0004;
inline constexpr std::uint32_t kLeftCtrl = 0x0008;
inline constexpr std::uint32_t kShift = 0x0010;
inline constexpr std::uint32_t kNumLock = 0x0020;
inline constexpr std::uint32_t kScrollLock = 0x0040;
inline constexpr std::uint32_t kCapsLock = 0x0080;
inline constexpr std::uint32_t kEnhanced = 0x0100;
}  // namespace console_state

// The console's mouse event flags and the left button.
namespace console_mouse {
inline constexpr std::uint32_t kMoved = 0x0001;
inline constexpr std::uint32_t kDoubleClick = 0x0002;
inline constexpr std::uint32_t kWheeled = 0x0004;
inline constexpr std::uint32_t kHorizontalWheeled = 0x0008;
inline constexpr std::uint32_t kLeftButton = 0x0001;
}  // namespace console_mouse

struct ConsoleInput {
  enum class Type : std::uint8_t { Key, Mouse, Resize, Other };
  Type type = Type::Other;
  // Key records.
  bool keyDown = false;
  std::uint16_t repeatCount = 1;
  std::uint16_t virtualKey = 0;
  char16_t unicodeChar = 0;
  // Key and mouse records.
  std::uint32_t controlKeyState = 0;
  // Mouse records: 0-based buffer position.
  int mouseX = 0;
  int mouseY = 0;
  std::uint32_t buttonState = 0;
  std::uint32_t eventFlags = 0;

  static ConsoleInput keyPress(std::uint16_t vk, char16_t ch = 0, std::uint32_t state = 0) {
    ConsoleInput in;
    in.type = Type::Key;
    in.keyDown = true;
    in.virtualKey = vk;
    in.unicodeChar = ch;
    in.controlKeyState = state;
    return in;
  }
  static ConsoleInput mouse(int x, int y, std::uint32_t buttons, std::uint32_t flags = 0,
                            std::uint32_t state = 0) {
    ConsoleInput in;
    in.type = Type::Mouse;
    in.mouseX = x;
    in.mouseY = y;
    in.buttonState = buttons;
    in.eventFlags = flags;
    in.controlKeyState = state;
    return in;
  }
};

// The modifier bits of a console control-key state.
std::uint8_t modifiersOfConsoleState(std::uint32_t state);

// The key event for one record; nothing for releases, a modifier key alone, a character code
// page 437 lacks, mouse moves and wheels, and positions off the 120 x 50 screen. A key that
// repeats yields the same event `repeatCount` times: the caller repeats it.
std::optional<KeyEvent> translateConsoleInput(const ConsoleInput& input);

}  // namespace vellano::platform
