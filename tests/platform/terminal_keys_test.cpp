// Terminal key decoding: what curses reads, in order, and the key events that come out.
#include "platform/terminal_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#define NCURSES_NOMACROS
#include <curses.h>

namespace vellano::platform {
namespace {

}  // namespace

// Readable failures (internal linkage: other test files may print key events too).
static void PrintTo(const KeyEvent& e, std::ostream* out) {
  switch (e.kind) {
    case KeyEvent::Kind::Char:
      *out << "char " << static_cast<int>(e.ch);
      break;
    case KeyEvent::Kind::Extended:
      *out << keyName(e.key);
      break;
    case KeyEvent::Kind::Mouse:
      *out << "mouse " << e.mouseRow << "," << e.mouseCol;
      break;
  }
  *out << " mods " << static_cast<int>(e.modifiers);
}

namespace {

// One step of input: a unit from curses, or the end of the short wait after ESC.
struct Step {
  bool timeout = false;
  RawKey raw;
};

Step ch(char32_t c) { return Step{false, RawKey::character(c)}; }
Step code(int c) { return Step{false, RawKey::keyCode(c)}; }
Step wait() { return Step{true, {}}; }
Step mouseAt(int row0, int col0) {
  RawKey raw = RawKey::keyCode(KEY_MOUSE);
  raw.mouseRow = row0;
  raw.mouseCol = col0;
  return Step{false, raw};
}

KeyEvent ext(Key k, std::uint8_t mods = 0) { return KeyEvent::extended(k, mods); }
KeyEvent chr(std::uint8_t c, std::uint8_t mods = 0) { return KeyEvent::character(c, mods); }

std::vector<KeyEvent> run(KeyDecoder& decoder, const std::vector<Step>& steps) {
  std::vector<KeyEvent> out;
  for (const Step& step : steps) {
    if (step.timeout) {
      decoder.timeout();
    } else {
      decoder.feed(step.raw);
    }
    while (auto event = decoder.take()) out.push_back(*event);
  }
  return out;
}

struct Case {
  const char* name;
  std::vector<Step> steps;
  std::vector<KeyEvent> expected;
};

TEST(TerminalKeyDecoder, DecodesWhatCursesReads) {
  const std::vector<Case> cases = {
      {"F1", {code(KEY_F(1))}, {ext(Key::F1)}},
      {"F12", {code(KEY_F(12))}, {ext(Key::F12)}},
      {"Shift+F1", {code(KEY_F(13))}, {ext(Key::F1, kShift)}},
      {"Shift+F12", {code(KEY_F(24))}, {ext(Key::F12, kShift)}},
      {"Ctrl+F1", {code(KEY_F(25))}, {ext(Key::F1, kLeftCtrl)}},
      {"Ctrl+Shift+F12", {code(KEY_F(48))}, {ext(Key::F12, kLeftCtrl | kShift)}},
      {"Alt+F1", {code(KEY_F(49))}, {ext(Key::F1, kLeftAlt)}},
      {"Alt+Shift+F3", {code(KEY_F(63))}, {ext(Key::F3, kLeftAlt | kShift)}},
      {"cursor keys",
       {code(KEY_UP), code(KEY_DOWN), code(KEY_LEFT), code(KEY_RIGHT)},
       {ext(Key::Up), ext(Key::Down), ext(Key::Left), ext(Key::Right)}},
      {"paging and editing keys",
       {code(KEY_PPAGE), code(KEY_NPAGE), code(KEY_HOME), code(KEY_END), code(KEY_IC), code(KEY_DC)},
       {ext(Key::PgUp), ext(Key::PgDn), ext(Key::Home), ext(Key::End), ext(Key::Ins), ext(Key::Del)}},
      {"shifted keys with codes of their own",
       {code(KEY_SR), code(KEY_SEND), code(KEY_SDC), code(KEY_BTAB)},
       {ext(Key::Up, kShift), ext(Key::End, kShift), ext(Key::Del, kShift), ext(Key::Tab, kShift)}},
      {"keypad with Num Lock off",
       {code(KEY_A1), code(KEY_A3), code(KEY_C1), code(KEY_C3)},
       {ext(Key::Home), ext(Key::PgUp), ext(Key::End), ext(Key::PgDn)}},
      {"Home and End by their other names", {code(KEY_FIND), code(KEY_SELECT)}, {ext(Key::Home), ext(Key::End)}},
      {"Enter three ways", {ch(U'\r'), ch(U'\n'), code(KEY_ENTER)}, {ext(Key::Enter), ext(Key::Enter), ext(Key::Enter)}},
      {"Backspace three ways",
       {code(KEY_BACKSPACE), ch(127), ch(8)},
       {ext(Key::Backspace), ext(Key::Backspace), ext(Key::Backspace)}},
      {"Tab", {ch(U'\t')}, {ext(Key::Tab)}},
      {"ASCII characters", {ch(U'a'), ch(U'Z'), ch(U' '), ch(U'~')}, {chr('a'), chr('Z'), chr(' '), chr('~')}},
      {"characters beyond ASCII as code page 437",
       {ch(U'é'), ch(U'à'), ch(U'·'), ch(U'─')},
       {chr(0x82), chr(0x85), chr(0xFA), chr(0xC4)}},
      {"characters code page 437 lacks are dropped", {ch(U'€'), ch(U'a')}, {chr('a')}},
      {"pictures of control bytes are not typed", {ch(U'☺'), ch(U'♥'), ch(U'b')}, {chr('b')}},
      {"Ctrl + letter reaches the editor as a control byte", {ch(1), ch(7)}, {chr(1, kLeftCtrl), chr(7, kLeftCtrl)}},
      {"NUL is dropped", {ch(0)}, {}},
      {"unknown key code is dropped", {code(KEY_MAX + 500)}, {}},
      {"ESC alone after the wait", {ch(27), wait()}, {ext(Key::Esc)}},
      {"ESC is held until the wait ends", {ch(27)}, {}},
      {"Alt+X lower case", {ch(27), ch(U'x')}, {ext(Key::AltX, kLeftAlt)}},
      {"Alt+X upper case", {ch(27), ch(U'X')}, {ext(Key::AltX, kLeftAlt)}},
      {"x without ESC is a character", {ch(U'x')}, {chr('x')}},
      {"ESC then wait then x is two keys", {ch(27), wait(), ch(U'x')}, {ext(Key::Esc), chr('x')}},
      {"Alt + another letter", {ch(27), ch(U'a')}, {chr('a', kLeftAlt)}},
      {"Alt + a function key", {ch(27), code(KEY_F(1))}, {ext(Key::F1, kLeftAlt)}},
      {"Alt + Enter", {ch(27), ch(U'\r')}, {ext(Key::Enter, kLeftAlt)}},
      {"two ESCs", {ch(27), ch(27), wait()}, {ext(Key::Esc), ext(Key::Esc)}},
      {"ESC then Alt+X", {ch(27), ch(27), ch(U'x')}, {ext(Key::Esc), ext(Key::AltX, kLeftAlt)}},
      {"ESC then a mouse report", {ch(27), mouseAt(4, 9)}, {ext(Key::Esc), KeyEvent::mouse(5, 10)}},
      {"unknown escape sequence is swallowed",
       {ch(27), ch(U'['), ch(U'2'), ch(U'0'), ch(U'0'), ch(U'~'), ch(U'q')},
       {chr('q')}},
      {"unknown SS3 sequence is swallowed", {ch(27), ch(U'O'), ch(U'z'), ch(U'q')}, {chr('q')}},
      {"Alt+[ alone", {ch(27), ch(U'['), wait()}, {chr('[', kLeftAlt)}},
      {"a key code cuts a half sequence short",
       {ch(27), ch(U'['), ch(U'1'), code(KEY_F(2))},
       {ext(Key::F2)}},
      {"a wait with nothing held yields nothing", {wait()}, {}},
      {"mouse corners", {mouseAt(0, 0), mouseAt(49, 119)}, {KeyEvent::mouse(1, 1), KeyEvent::mouse(50, 120)}},
      {"mouse beyond the console is dropped", {mouseAt(50, 0), mouseAt(0, 120), mouseAt(3, 3)}, {KeyEvent::mouse(4, 4)}},
  };
  for (const Case& c : cases) {
    KeyDecoder decoder(standardKeyTable());
    EXPECT_EQ(run(decoder, c.steps), c.expected) << c.name;
  }
}

TEST(TerminalKeyDecoder, PendingWhileEscOrSequenceIsHeld) {
  KeyDecoder decoder(standardKeyTable());
  EXPECT_FALSE(decoder.pending());
  decoder.feed(RawKey::character(27));
  EXPECT_TRUE(decoder.pending());
  decoder.feed(RawKey::character(U'['));
  EXPECT_TRUE(decoder.pending());
  decoder.feed(RawKey::character(U'A'));
  EXPECT_FALSE(decoder.pending());
  EXPECT_FALSE(decoder.take().has_value());
}

TEST(TerminalKeyTable, ModifiedKeysFromTheTerminalDescription) {
  // Codes as curses would number the extended capabilities of an xterm-like terminal.
  const std::map<std::string, int> described = {
      {"kEND5", 600}, {"kDC5", 601}, {"kUP3", 602}, {"kHOM6", 603}, {"kEND", 604},
      {"kRIT7", 605}, {"kDN", 606},  {"kEND6", 607}, {"kDC8", 608}, {"kNXT5", 609},
  };
  std::vector<std::string> asked;
  KeyTable table = standardKeyTable();
  addModifiedKeys(table, [&](std::string_view name) {
    asked.emplace_back(name);
    const auto found = described.find(std::string(name));
    return found == described.end() ? 0 : found->second;
  });

  const std::vector<std::pair<int, KeyEvent>> expected = {
      {600, ext(Key::CtrlEnd, kLeftCtrl)},
      {601, ext(Key::CtrlDel, kLeftCtrl)},
      {602, ext(Key::Up, kLeftAlt)},
      {603, ext(Key::Home, kLeftCtrl | kShift)},
      {604, ext(Key::End, kShift)},
      {605, ext(Key::Right, kLeftCtrl | kLeftAlt)},
      {606, ext(Key::Down, kShift)},
      {607, ext(Key::CtrlEnd, kLeftCtrl | kShift)},
      {608, ext(Key::CtrlDel, kLeftCtrl | kLeftAlt | kShift)},
      {609, ext(Key::PgDn, kLeftCtrl)},
  };
  for (const auto& [c, event] : expected) {
    KeyDecoder decoder(table);
    decoder.feed(RawKey::keyCode(c));
    EXPECT_EQ(decoder.take(), std::optional<KeyEvent>(event)) << "code " << c;
  }
  // Names the terminal lacks add nothing and never take a code of their own.
  for (int unused = 610; unused < 620; ++unused) EXPECT_EQ(table.count(static_cast<std::uint32_t>(unused)), 0u);
  // The modifier parameter is never written as "2": Shift is the bare name.
  for (const std::string& name : asked) EXPECT_EQ(name.find('2'), std::string::npos) << name;
  EXPECT_NE(std::find(asked.begin(), asked.end(), "kLFT4"), asked.end());
}

}  // namespace
}  // namespace vellano::platform
