// Key events as every screen receives them: a character, an extended key or a mouse event,
// with the modifier state read together with the key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellano::platform {

enum class Key : std::uint8_t {
  None,
  Enter, Esc, Tab, Backspace,
  Up, Down, Left, Right,
  PgUp, PgDn, Home, End, Ins, Del,
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
  CtrlEnd, CtrlDel, AltX,
};

// Modifier state, one bit each, as the field editor names them.
enum Modifier : std::uint8_t {
  kLeftAlt = 1,
  kRightAlt = 2,
  kLeftCtrl = 4,
  kRightCtrl = 8,
  kShift = 16,
};

struct KeyEvent {
  enum class Kind : std::uint8_t { Char, Extended, Mouse };
  Kind kind = Kind::Char;
  std::uint8_t ch = 0;        // code page 437 byte, for Kind::Char
  Key key = Key::None;        // for Kind::Extended
  std::uint8_t modifiers = 0; // Modifier bits
  int mouseRow = 0;           // 1-based, for Kind::Mouse
  int mouseCol = 0;

  static KeyEvent character(std::uint8_t c, std::uint8_t mods = 0) {
    KeyEvent e;
    e.kind = Kind::Char;
    e.ch = c;
    e.modifiers = mods;
    return e;
  }
  static KeyEvent extended(Key k, std::uint8_t mods = 0) {
    KeyEvent e;
    e.kind = Kind::Extended;
    e.key = k;
    e.modifiers = mods;
    return e;
  }
  static KeyEvent mouse(int row, int col) {
    KeyEvent e;
    e.kind = Kind::Mouse;
    e.mouseRow = row;
    e.mouseCol = col;
    return e;
  }

  bool isChar(std::uint8_t c) const { return kind == Kind::Char && ch == c; }
  bool is(Key k) const { return kind == Kind::Extended && key == k; }
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// Script names of the extended keys ("ENTER", "F1", "CTRL-END", ...); empty for Key::None.
std::string_view keyName(Key key);
// The key for a script name, Key::None when unknown.
Key keyFromName(std::string_view name);

}  // namespace vellano::platform
