// Key decoding for the terminal backend: curses key codes and characters to key events.
#define NCURSES_NOMACROS
#include "platform/terminal_keys.h"

#include <curses.h>

#include <array>
#include <string>
#include <utility>

#include "platform/cp437.h"
#include "platform/screen_buffer.h"

namespace vellano::platform {
namespace {

constexpr char32_t kEscChar = 27;

constexpr std::array<Key, 12> kFunctionKeys = {Key::F1, Key::F2, Key::F3, Key::F4,  Key::F5,  Key::F6,
                                               Key::F7, Key::F8, Key::F9, Key::F10, Key::F11, Key::F12};

// xterm-like terminals number modified function keys in blocks of twelve beyond F12:
// F13-F24 Shift, F25-F36 Ctrl, F37-F48 Ctrl+Shift, F49-F60 Alt, F61-F63 Alt+Shift.
constexpr std::array<std::uint8_t, 6> kFunctionBlockModifiers = {
    0, kShift, kLeftCtrl, kLeftCtrl | kShift, kLeftAlt, kLeftAlt | kShift};

void addFunctionKeys(KeyTable& table) {
  for (int n = 1; n <= 63; ++n) {
    const int block = (n - 1) / 12;
    const Key key = kFunctionKeys[static_cast<std::size_t>((n - 1) % 12)];
    table[static_cast<std::uint32_t>(KEY_F(n))] =
        KeyEvent::extended(key, kFunctionBlockModifiers[static_cast<std::size_t>(block)]);
  }
}

// The xterm modifier parameter (2-8) minus one is a bit set: 1 Shift, 2 Alt, 4 Ctrl.
std::uint8_t modifiersOfParameter(int parameter) {
  const int bits = parameter - 1;
  std::uint8_t mods = 0;
  if (bits & 1) mods |= kShift;
  if (bits & 2) mods |= kLeftAlt;
  if (bits & 4) mods |= kLeftCtrl;
  return mods;
}

// With Ctrl held, End and Del are keys of their own on the console.
Key withCtrl(Key key, std::uint8_t mods) {
  if ((mods & kLeftCtrl) == 0) return key;
  if (key == Key::End) return Key::CtrlEnd;
  if (key == Key::Del) return Key::CtrlDel;
  return key;
}

}  // namespace

KeyTable standardKeyTable() {
  KeyTable table;
  addFunctionKeys(table);
  const std::pair<int, KeyEvent> keys[] = {
      {KEY_UP, KeyEvent::extended(Key::Up)},
      {KEY_DOWN, KeyEvent::extended(Key::Down)},
      {KEY_LEFT, KeyEvent::extended(Key::Left)},
      {KEY_RIGHT, KeyEvent::extended(Key::Right)},
      {KEY_PPAGE, KeyEvent::extended(Key::PgUp)},
      {KEY_NPAGE, KeyEvent::extended(Key::PgDn)},
      {KEY_HOME, KeyEvent::extended(Key::Home)},
      {KEY_END, KeyEvent::extended(Key::End)},
      {KEY_IC, KeyEvent::extended(Key::Ins)},
      {KEY_DC, KeyEvent::extended(Key::Del)},
      {KEY_BACKSPACE, KeyEvent::extended(Key::Backspace)},
      {KEY_ENTER, KeyEvent::extended(Key::Enter)},
      {KEY_BTAB, KeyEvent::extended(Key::Tab, kShift)},
      // Shifted forms with codes of their own.
      {KEY_SR, KeyEvent::extended(Key::Up, kShift)},
      {KEY_SF, KeyEvent::extended(Key::Down, kShift)},
      {KEY_SLEFT, KeyEvent::extended(Key::Left, kShift)},
      {KEY_SRIGHT, KeyEvent::extended(Key::Right, kShift)},
      {KEY_SPREVIOUS, KeyEvent::extended(Key::PgUp, kShift)},
      {KEY_SNEXT, KeyEvent::extended(Key::PgDn, kShift)},
      {KEY_SHOME, KeyEvent::extended(Key::Home, kShift)},
      {KEY_SEND, KeyEvent::extended(Key::End, kShift)},
      {KEY_SIC, KeyEvent::extended(Key::Ins, kShift)},
      {KEY_SDC, KeyEvent::extended(Key::Del, kShift)},
      // The keypad with Num Lock off, and the names some terminals give Home and End.
      {KEY_A1, KeyEvent::extended(Key::Home)},
      {KEY_A3, KeyEvent::extended(Key::PgUp)},
      {KEY_C1, KeyEvent::extended(Key::End)},
      {KEY_C3, KeyEvent::extended(Key::PgDn)},
      {KEY_FIND, KeyEvent::extended(Key::Home)},
      {KEY_SELECT, KeyEvent::extended(Key::End)},
  };
  for (const auto& [code, event] : keys) table[static_cast<std::uint32_t>(code)] = event;
  return table;
}

void addModifiedKeys(KeyTable& table, const std::function<int(std::string_view name)>& codeOf) {
  struct Base {
    std::string_view name;
    Key key;
  };
  static constexpr Base kBases[] = {
      {"kUP", Key::Up},    {"kDN", Key::Down},  {"kLFT", Key::Left}, {"kRIT", Key::Right},
      {"kPRV", Key::PgUp}, {"kNXT", Key::PgDn}, {"kHOM", Key::Home}, {"kEND", Key::End},
      {"kIC", Key::Ins},   {"kDC", Key::Del},
  };
  for (const Base& base : kBases) {
    // Parameter 2 (Shift) is the bare name; 3-8 carry the parameter as a suffix.
    for (int parameter = 2; parameter <= 8; ++parameter) {
      std::string name(base.name);
      if (parameter > 2) name += static_cast<char>('0' + parameter);
      const int code = codeOf(name);
      if (code <= 0) continue;
      const std::uint8_t mods = modifiersOfParameter(parameter);
      table[static_cast<std::uint32_t>(code)] = KeyEvent::extended(withCtrl(base.key, mods), mods);
    }
  }
}

KeyDecoder::KeyDecoder(KeyTable table) : table_(std::move(table)) {}

void KeyDecoder::feed(const RawKey& key) {
  switch (state_) {
    case State::Idle:
      if (!key.function && key.code == kEscChar) {
        state_ = State::Esc;
      } else {
        emit(decode(key));
      }
      return;
    case State::Esc:
      feedAfterEsc(key);
      return;
    case State::Csi:
    case State::Ss3:
      if (feedSequence(key)) return;
      // Not part of a sequence after all: the key stands for itself.
      state_ = State::Idle;
      feed(key);
      return;
  }
}

void KeyDecoder::feedAfterEsc(const RawKey& key) {
  state_ = State::Idle;
  if (key.function) {
    std::optional<KeyEvent> event = decode(key);
    if (event && event->kind == KeyEvent::Kind::Mouse) {
      // A mouse report cannot carry Alt: the ESC was a key of its own.
      emit(KeyEvent::extended(Key::Esc));
    } else if (event) {
      event->modifiers |= kLeftAlt;
    }
    emit(event);
    return;
  }
  switch (key.code) {
    case kEscChar:
      // A second ESC: the first one stands alone, the second waits for what follows.
      emit(KeyEvent::extended(Key::Esc));
      state_ = State::Esc;
      return;
    case U'x':
    case U'X':
      emit(KeyEvent::extended(Key::AltX, kLeftAlt));
      return;
    case U'[':
      state_ = State::Csi;
      return;
    case U'O':
      state_ = State::Ss3;
      return;
    default:
      break;
  }
  std::optional<KeyEvent> event = decode(key);
  if (event) event->modifiers |= kLeftAlt;
  emit(event);
}

// Consumes one unit of an unrecognised sequence; false when the unit cannot belong to it.
bool KeyDecoder::feedSequence(const RawKey& key) {
  if (key.function || key.code < 0x20 || key.code > 0x7E) return false;
  if (state_ == State::Csi && key.code < 0x40) return true;  // parameters and intermediates
  state_ = State::Idle;                                      // the final character
  return true;
}

void KeyDecoder::timeout() {
  const State state = state_;
  state_ = State::Idle;
  switch (state) {
    case State::Idle:
      return;
    case State::Esc:
      emit(KeyEvent::extended(Key::Esc));
      return;
    case State::Csi:
      // Nothing followed: it was Alt+[ (or Alt+O) typed on its own.
      emit(KeyEvent::character('[', kLeftAlt));
      return;
    case State::Ss3:
      emit(KeyEvent::character('O', kLeftAlt));
      return;
  }
}

void KeyDecoder::emit(std::optional<KeyEvent> event) {
  if (event) ready_.push_back(*event);
}

std::optional<KeyEvent> KeyDecoder::take() {
  if (ready_.empty()) return std::nullopt;
  KeyEvent event = ready_.front();
  ready_.pop_front();
  return event;
}

std::optional<KeyEvent> KeyDecoder::decode(const RawKey& key) const {
  if (!key.function) return decodeCharacter(static_cast<char32_t>(key.code));
  if (key.code == static_cast<std::uint32_t>(KEY_MOUSE)) {
    const int row = key.mouseRow + 1;
    const int col = key.mouseCol + 1;
    // Beyond the program's console (a larger terminal) there is nothing to point at.
    if (!ScreenBuffer::inside(row, col)) return std::nullopt;
    return KeyEvent::mouse(row, col);
  }
  const auto found = table_.find(key.code);
  if (found == table_.end()) return std::nullopt;
  return found->second;
}

std::optional<KeyEvent> KeyDecoder::decodeCharacter(char32_t c) const {
  switch (c) {
    case U'\r':
    case U'\n':
      return KeyEvent::extended(Key::Enter);
    case U'\t':
      return KeyEvent::extended(Key::Tab);
    case 8:
    case 127:
      return KeyEvent::extended(Key::Backspace);
    case 0:
      return std::nullopt;
    default:
      break;
  }
  // Other control characters are Ctrl + a key; they reach the editor as characters, as on
  // the console, which refuses some of them.
  if (c < 32) return KeyEvent::character(static_cast<std::uint8_t>(c), kLeftCtrl);
  const std::optional<std::uint8_t> byte = unicodeToCp437(c);
  if (!byte || *byte < 32) return std::nullopt;
  return KeyEvent::character(*byte);
}

}  // namespace vellano::platform
