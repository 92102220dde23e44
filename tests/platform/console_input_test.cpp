// Windows console input records and the key events the screens receive from them.
#include "platform/console_input.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vellano::platform {

static void PrintTo(const KeyEvent& e, std::ostream* out) {
  switch (e.kind) {
    case KeyEvent::Kind::Char: *out << "char " << static_cast<int>(e.ch); break;
    case KeyEvent::Kind::Extended: *out << keyName(e.key); break;
    case KeyEvent::Kind::Mouse: *out << "mouse " << e.mouseRow << "," << e.mouseCol; break;
  }
  *out << " mods " << static_cast<int>(e.modifiers);
}

namespace {

namespace cs = console_state;

struct Case {
  std::string name;
  ConsoleInput input;
  std::optional<KeyEvent> expected;
};

ConsoleInput press(std::uint16_t vk, char16_t ch = 0, std::uint32_t state = 0) {
  return ConsoleInput::keyPress(vk, ch, state);
}
ConsoleInput release(std::uint16_t vk, char16_t ch = 0, std::uint32_t state = 0) {
  ConsoleInput in = ConsoleInput::keyPress(vk, ch, state);
  in.keyDown = false;
  return in;
}
KeyEvent ext(Key k, std::uint8_t mods = 0) { return KeyEvent::extended(k, mods); }
KeyEvent chr(std::uint8_t c, std::uint8_t mods = 0) { return KeyEvent::character(c, mods); }

void check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(translateConsoleInput(c.input), c.expected);
  }
}

TEST(ConsoleInput, FunctionKeysF1ToF12) {
  std::vector<Case> cases;
  for (int n = 0; n < 12; ++n) {
    const auto key = static_cast<Key>(static_cast<int>(Key::F1) + n);
    cases.push_back({"F" + std::to_string(n + 1), press(static_cast<std::uint16_t>(0x70 + n)), ext(key)});
  }
  cases.push_back({"Shift+F3", press(0x72, 0, cs::kShift), ext(Key::F3, platform::kShift)});
  cases.push_back({"Right Ctrl+F10", press(0x79, 0, cs::kRightCtrl), ext(Key::F10, platform::kRightCtrl)});
  cases.push_back({"F13 is no key of ours", press(0x7C), std::nullopt});
  check(cases);
}

TEST(ConsoleInput, CursorAndEditingKeys) {
  check({
      {"PgUp", press(0x21, 0, cs::kEnhanced), ext(Key::PgUp)},
      {"PgDn", press(0x22, 0, cs::kEnhanced), ext(Key::PgDn)},
      {"Home", press(0x24, 0, cs::kEnhanced), ext(Key::Home)},
      {"End", press(0x23, 0, cs::kEnhanced), ext(Key::End)},
      {"Up", press(0x26, 0, cs::kEnhanced), ext(Key::Up)},
      {"Down", press(0x28, 0, cs::kEnhanced), ext(Key::Down)},
      {"Left", press(0x25, 0, cs::kEnhanced), ext(Key::Left)},
      {"Right", press(0x27, 0, cs::kEnhanced), ext(Key::Right)},
      {"Ins", press(0x2D, 0, cs::kEnhanced), ext(Key::Ins)},
      {"Del", press(0x2E, 0, cs::kEnhanced), ext(Key::Del)},
      {"Enter types CR", press(0x0D, u'\r'), ext(Key::Enter)},
      {"Esc types ESC", press(0x1B, 0x1B), ext(Key::Esc)},
      {"Tab", press(0x09, u'\t'), ext(Key::Tab)},
      {"Shift+Tab", press(0x09, u'\t', cs::kShift), ext(Key::Tab, platform::kShift)},
      {"Backspace", press(0x08, 0x08), ext(Key::Backspace)},
      {"keypad End with Num Lock off", press(0x23), ext(Key::End)},
      {"keypad 1 with Num Lock on types a digit", press(0x61, u'1', cs::kNumLock), chr('1')},
  });
}

TEST(ConsoleInput, CtrlEndCtrlDelAndAltX) {
  check({
      {"Left Ctrl+End", press(0x23, 0, cs::kLeftCtrl | cs::kEnhanced), ext(Key::CtrlEnd, platform::kLeftCtrl)},
      {"Right Ctrl+End", press(0x23, 0, cs::kRightCtrl | cs::kEnhanced), ext(Key::CtrlEnd, platform::kRightCtrl)},
      {"Left Ctrl+Del", press(0x2E, 0, cs::kLeftCtrl | cs::kEnhanced), ext(Key::CtrlDel, platform::kLeftCtrl)},
      {"Right Ctrl+Del", press(0x2E, 0, cs::kRightCtrl | cs::kEnhanced), ext(Key::CtrlDel, platform::kRightCtrl)},
      {"Ctrl+Home stays Home", press(0x24, 0, cs::kLeftCtrl | cs::kEnhanced), ext(Key::Home, platform::kLeftCtrl)},
      {"Left Alt+X", press(0x58, u'x', cs::kLeftAlt), ext(Key::AltX, platform::kLeftAlt)},
      {"Right Alt+Shift+X", press(0x58, u'X', cs::kRightAlt | cs::kShift),
       ext(Key::AltX, platform::kRightAlt | platform::kShift)},
      {"AltGr+X is not Alt+X", press(0x58, 0, cs::kRightAlt | cs::kLeftCtrl), std::nullopt},
      {"X alone", press(0x58, u'x'), chr('x')},
  });
}

TEST(ConsoleInput, ModifierStateLeftAndRight) {
  check({
      {"Left Alt+A", press(0x41, u'a', cs::kLeftAlt), chr('a', platform::kLeftAlt)},
      {"Right Alt+A", press(0x41, u'a', cs::kRightAlt), chr('a', platform::kRightAlt)},
      {"Left Ctrl+A types SOH", press(0x41, 0x01, cs::kLeftCtrl), chr(1, platform::kLeftCtrl)},
      {"Right Ctrl+A types SOH", press(0x41, 0x01, cs::kRightCtrl), chr(1, platform::kRightCtrl)},
      {"Shift+A", press(0x41, u'A', cs::kShift), chr('A', platform::kShift)},
      {"locks are not modifiers", press(0x41, u'A', cs::kCapsLock | cs::kNumLock | cs::kScrollLock), chr('A')},
      {"AltGr types @", press(0xC0, u'@', cs::kRightAlt | cs::kLeftCtrl), chr('@', platform::kRightAlt | platform::kLeftCtrl)},
      {"Ctrl+1 types nothing", press(0x31, 0, cs::kLeftCtrl), std::nullopt},
  });
  EXPECT_EQ(modifiersOfConsoleState(cs::kLeftAlt | cs::kRightAlt | cs::kLeftCtrl | cs::kRightCtrl | cs::kShift | cs::kEnhanced),
            platform::kLeftAlt | platform::kRightAlt | platform::kLeftCtrl | platform::kRightCtrl |
                platform::kShift);
}

TEST(ConsoleInput, CharactersAndWhatIsDropped) {
  check({
      {"accented letter to its cp437 byte", press(0xDE, u'\u00E0'), chr(0x85)},
      {"euro sign has no cp437 byte", press(0x45, u'\u20AC', cs::kRightAlt | cs::kLeftCtrl), std::nullopt},
      {"a release", release(0x41, u'a'), std::nullopt},
      {"Shift alone", press(0x10, 0, cs::kShift), std::nullopt},
      {"Left Ctrl alone", press(0x11, 0, cs::kLeftCtrl), std::nullopt},
      {"Alt alone", press(0x12, 0, cs::kLeftAlt), std::nullopt},
      {"Caps Lock", press(0x14, 0, cs::kCapsLock), std::nullopt},
      {"Windows key", press(0x5B), std::nullopt},
      {"Alt+keypad composition arrives with Alt's release", release(0x12, u'\u00E8'), chr(0x8A)},
      {"Alt released with nothing composed", release(0x12), std::nullopt},
      {"a resize record", ConsoleInput{ConsoleInput::Type::Resize}, std::nullopt},
  });
}

TEST(ConsoleInput, Mouse) {
  using namespace console_mouse;
  check({
      {"left click at the corner", ConsoleInput::mouse(0, 0, kLeftButton), KeyEvent::mouse(1, 1)},
      {"click at the far corner", ConsoleInput::mouse(119, 49, kLeftButton), KeyEvent::mouse(50, 120)},
      {"release where it was", ConsoleInput::mouse(9, 4, 0), KeyEvent::mouse(5, 10)},
      {"double click", ConsoleInput::mouse(9, 4, kLeftButton, kDoubleClick), KeyEvent::mouse(5, 10)},
      {"Ctrl held is not reported", ConsoleInput::mouse(2, 3, kLeftButton, 0, cs::kLeftCtrl), KeyEvent::mouse(4, 3)},
      {"a move", ConsoleInput::mouse(9, 4, 0, kMoved), std::nullopt},
      {"a drag", ConsoleInput::mouse(9, 4, kLeftButton, kMoved), std::nullopt},
      {"the wheel", ConsoleInput::mouse(9, 4, 0x00780000, kWheeled), std::nullopt},
      {"beyond the last column", ConsoleInput::mouse(120, 0, kLeftButton), std::nullopt},
      {"beyond the last row", ConsoleInput::mouse(0, 50, kLeftButton), std::nullopt},
  });
}

}  // namespace
}  // namespace vellano::platform
