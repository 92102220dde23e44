// Console input records to key events: virtual-key codes for the extended keys, the typed
// character otherwise, the control-key state as the field editor's modifier bits.
#include "platform/console_input.h"

#include "platform/cp437.h"
#include "platform/screen_buffer.h"

namespace vellano::platform {

namespace {

// Virtual-key codes, as the console numbers them.
enum : std::uint16_t {
  kVkBack = 0x08, kVkTab = 0x09, kVkReturn = 0x0D, kVkShift = 0x10, kVkControl = 0x11,
  kVkMenu = 0x12, kVkPause = 0x13, kVkCapital = 0x14, kVkEscape = 0x1B, kVkPrior = 0x21,
  kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24, kVkLeft = 0x25, kVkUp = 0x26,
  kVkRight = 0x27, kVkDown = 0x28, kVkInsert = 0x2D, kVkDelete = 0x2E, kVkX = 0x58,
  kVkLWin = 0x5B, kVkRWin = 0x5C, kVkApps = 0x5D, kVkF1 = 0x70, kVkF12 = 0x7B,
  kVkNumLock = 0x90, kVkScroll = 0x91, kVkLShift = 0xA0, kVkRMenu = 0xA5,
};

bool modifierKeyAlone(std::uint16_t vk) {
  switch (vk) {
    case kVkShift: case kVkControl: case kVkMenu: case kVkPause: case kVkCapital:
    case kVkLWin: case kVkRWin: case kVkApps: case kVkNumLock: case kVkScroll:
      return true;
    default:
      return vk >= kVkLShift && vk <= kVkRMenu;
  }
}

std::optional<Key> extendedKey(std::uint16_t vk) {
  if (vk >= kVkF1 && vk <= kVkF12) return static_cast<Key>(static_cast<int>(Key::F1) + (vk - kVkF1));
  switch (vk) {
    case kVkReturn: return Key::Enter;
    case kVkEscape: return Key::Esc;
    case kVkTab: return Key::Tab;
    case kVkBack: return Key::Backspace;
    case kVkUp: return Key::Up;
    case kVkDown: return Key::Down;
    case kVkLeft: return Key::Left;
    case kVkRight: return Key::Right;
    case kVkPrior: return Key::PgUp;
    case kVkNext: return Key::PgDn;
    case kVkHome: return Key::Home;
    case kVkEnd: return Key::End;
    case kVkInsert: return Key::Ins;
    case kVkDelete: return Key::Del;
    default: return std::nullopt;
  }
}

bool ctrlHeld(std::uint8_t mods) { return (mods & (kLeftCtrl | kRightCtrl)) != 0; }
bool altHeld(std::uint8_t mods) { return (mods & (kLeftAlt | kRightAlt)) != 0; }

std::optional<KeyEvent> translateKey(const ConsoleInput& in) {
  const std::uint8_t mods = modifiersOfConsoleState(in.controlKeyState);
  const char16_t ch = in.unicodeChar;
  // Alt plus digits on the keypad composes a character delivered with the release of Alt.
  if (!in.keyDown) {
    if (in.virtualKey == kVkMenu && ch >= 32) {
      const auto byte = unicodeToCp437(ch);
      if (byte) return KeyEvent::character(*byte);
    }
    return std::nullopt;
  }
  if (modifierKeyAlone(in.virtualKey)) return std::nullopt;
  // Alt+X is a key of its own; AltGr+X (Right Alt with Left Ctrl) is not.
  if (in.virtualKey == kVkX && altHeld(mods) && !ctrlHeld(mods)) return KeyEvent::extended(Key::AltX, mods);
  // The keypad types digits with Num Lock on and moves the cursor with it off: the character
  // decides, the virtual key only when there is none.
  const bool typed = ch >= 32 && ch != 127;
  if (!typed || (in.controlKeyState & console_state::kEnhanced) != 0) {
    if (const std::optional<Key> key = extendedKey(in.virtualKey)) {
      Key k = *key;
      if (ctrlHeld(mods) && k == Key::End) k = Key::CtrlEnd;
      if (ctrlHeld(mods) && k == Key::Del) k = Key::CtrlDel;
      return KeyEvent::extended(k, mods);
    }
  }
  if (ch == 0) return std::nullopt;
  // Ctrl + a letter types a control character; it reaches the editor as one, as on DOS.
  if (ch < 32) return KeyEvent::character(static_cast<std::uint8_t>(ch), mods);
  const auto byte = unicodeToCp437(ch);
  if (!byte || *byte < 32) return std::nullopt;
  // AltGr arrives as Right Alt with Left Ctrl: what it types ("@", "#") is a character.
  return KeyEvent::character(*byte, mods);
}

std::optional<KeyEvent> translateMouse(const ConsoleInput& in) {
  using namespace console_mouse;
  // Presses, releases and double clicks place the mouse; moves and wheels say nothing new.
  if ((in.eventFlags & (kMoved | kWheeled | kHorizontalWheeled)) != 0) return std::nullopt;
  const int row = in.mouseY + 1;
  const int col = in.mouseX + 1;
  if (!ScreenBuffer::inside(row, col)) return std::nullopt;
  return KeyEvent::mouse(row, col);
}

}  // namespace

std::uint8_t modifiersOfConsoleState(std::uint32_t state) {
  std::uint8_t mods = 0;
  if (state & console_state::kLeftAlt) mods |= kLeftAlt;
  if (state & console_state::kRightAlt) mods |= kRightAlt;
  if (state & console_state::kLeftCtrl) mods |= kLeftCtrl;
  if (state & console_state::kRightCtrl) mods |= kRightCtrl;
  if (state & console_state::kShift) mods |= kShift;
  return mods;
}

std::optional<KeyEvent> translateConsoleInput(const ConsoleInput& input) {
  switch (input.type) {
    case ConsoleInput::Type::Key: return translateKey(input);
    case ConsoleInput::Type::Mouse: return translateMouse(input);
    default: return std::nullopt;
  }
}

}  // namespace vellano::platform
