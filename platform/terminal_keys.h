// Key decoding for the terminal backend: turns what curses reads (a character or a curses key
// code) into the program's key events. Pure, so the whole mapping is tested from tables; the
// only curses dependency is the numbering of its key codes.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/keys.h"

namespace vellano::platform {

// One unit as get_wch returns it.
struct RawKey {
  bool function = false;  // `code` is a curses key code (KEY_CODE_YES), else a character
  std::uint32_t code = 0;
  int mouseRow = 0;  // 0-based screen position, filled in for the mouse key code
  int mouseCol = 0;

  static RawKey character(char32_t c) { return RawKey{false, static_cast<std::uint32_t>(c), 0, 0}; }
  static RawKey keyCode(int c) { return RawKey{true, static_cast<std::uint32_t>(c), 0, 0}; }
};

using KeyTable = std::unordered_map<std::uint32_t, KeyEvent>;

// The keys curses numbers itself: F1-F63, cursor and editing keys, their shifted forms and
// the keypad, as xterm-like terminals report them.
KeyTable standardKeyTable();

// Adds the modified cursor and editing keys the terminal description names as extended
// capabilities ("kEND5" is Ctrl+End, "kDC5" Ctrl+Del, "kUP3" Alt+Up, ...). `codeOf` gives the
// curses code curses assigned to a capability name, or 0 when the terminal has none.
void addModifiedKeys(KeyTable& table, const std::function<int(std::string_view name)>& codeOf);

// Assembles key events from raw units. ESC is held back until the next unit or the end of a
// short wait: ESC followed by "x" is Alt+X, ESC followed by another key is that key with Alt,
// ESC alone is Esc. An escape sequence curses did not recognise (a key the terminal
// description lacks) is swallowed whole rather than typed as characters. Events come out of
// take() in order.
class KeyDecoder {
 public:
  explicit KeyDecoder(KeyTable table);

  void feed(const RawKey& key);
  // The short wait while pending() ended without input.
  void timeout();
  // An ESC or the start of an escape sequence is held: the next read should wait briefly.
  bool pending() const { return state_ != State::Idle; }
  std::optional<KeyEvent> take();

 private:
  enum class State : std::uint8_t { Idle, Esc, Csi, Ss3 };

  void feedAfterEsc(const RawKey& key);
  bool feedSequence(const RawKey& key);
  void emit(std::optional<KeyEvent> event);
  std::optional<KeyEvent> decode(const RawKey& key) const;
  std::optional<KeyEvent> decodeCharacter(char32_t c) const;

  KeyTable table_;
  State state_ = State::Idle;
  std::deque<KeyEvent> ready_;
};

}  // namespace vellano::platform
