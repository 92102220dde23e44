// The field editor: preparation of the initial text, editing keys, exit keys and the final
// redisplay through a picture mask.
#include "screen/field_editor.h"

#include <algorithm>
#include <cstdlib>

#include "records/numbers.h"

namespace vellano::screen {

namespace {

using platform::Key;
using platform::KeyEvent;

constexpr std::uint8_t kInputDot = 0xFA;  // the middle dot of an empty input position

std::string trimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\0'; };
  std::size_t b = 0, e = text.size();
  while (b < e && blank(text[b])) ++b;
  while (e > b && blank(text[e - 1])) --e;
  return std::string(text.substr(b, e - b));
}

bool refusedControl(std::uint8_t ch) {
  return ch == 0 || ch == 7 || ch == 10 || ch == 11 || ch == 12 || (ch >= 29 && ch <= 31);
}

bool isExtended(Key k) {
  return k != Key::Enter && k != Key::Esc && k != Key::Tab && k != Key::Backspace;
}

// Picture of the field length with as many decimals as the text has.
std::string numericMask(const std::string& text, int length) {
  const std::size_t dot = text.find('.');
  const int decimals = dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
  if (decimals <= 0 || decimals >= length) return std::string(static_cast<std::size_t>(length), '#');
  return std::string(static_cast<std::size_t>(length - decimals - 1), '#') + "." +
         std::string(static_cast<std::size_t>(decimals), '#');
}

std::string padded(std::string_view text, int length) {
  std::string s(text.substr(0, static_cast<std::size_t>(length)));
  s.resize(static_cast<std::size_t>(length), ' ');
  return s;
}

}  // namespace

FieldResult FieldEditor::edit(const FieldSpec& field, std::string_view initial) {
  keyMask_ = field.keys.text();
  pageKeyMode_ = static_cast<int>(field.pageKeys);
  capitals_ = field.capitals;
  if (field.row > 0) console_.setCursor(field.row, field.col);
  return edit(field.numeric ? field.length : -field.length, initial);
}

std::string_view modifierName(std::uint8_t m) {
  using namespace platform;
  if (m & kLeftAlt) return "LALT";
  if (m & kRightCtrl) return "RCTRL";
  if (m & kLeftCtrl) return "LCTRL";
  if (m & kShift) return "SHIFT";
  if (m & kRightAlt) return "RALT";
  return "";
}

struct FieldEditor::Field {
  std::string text;
  int length = 1;
  bool numeric = false;
  int pos = 1;  // 1-based position inside the field
  bool insert = false;
  bool escaped = false;
  int originRow = 1;
  int originCol = 1;

  int size() const { return static_cast<int>(text.size()); }
  void clear() {
    text.clear();
    pos = 1;
  }
};

FieldResult FieldEditor::edit(int length, std::string_view initial) {
  // The capitals flag serves one call, however the call ends.
  struct ClearCapitals {
    bool& flag;
    ~ClearCapitals() { flag = false; }
  } clearCapitals{capitals_};

  Field f;
  f.numeric = length > 0;
  // The length is a signed 16-bit value: anything wider is held to its range.
  const long long held = std::clamp<long long>(length, -32768, 32767);
  const long long wanted = held == 0 ? static_cast<long long>(initial.size()) : std::llabs(held);
  f.length = static_cast<int>(std::clamp<long long>(wanted, 1, 32768));
  f.text = trimBlanks(initial);
  if (f.numeric && records::val(f.text) == 0) f.text.clear();
  if (f.size() > f.length) f.text.resize(static_cast<std::size_t>(f.length));
  f.originRow = console_.cursor().row;
  f.originCol = console_.cursor().col;

  const bool cursorWasVisible = console_.cursor().visible;
  console_.showCursor(true);
  std::optional<int> code;
  while (!code) {
    display(f);
    const KeyEvent key = console_.readKey();
    lastModifier_ = modifierName(key.modifiers);
    code = handleKey(f, key);
  }
  redisplay(f);
  console_.showCursor(cursorWasVisible);
  if (f.escaped) console_.setCursor(1, 1);

  FieldResult result;
  result.exitCode = *code;
  if (std::any_of(f.text.begin(), f.text.end(), [](char c) { return c != ' '; }))
    result.text = padded(f.text, f.length);
  return result;
}

bool FieldEditor::allowed(int exitCode) const {
  const auto k = static_cast<std::size_t>(exitCode);
  return k >= 1 && k <= keyMask_.size() && keyMask_[k - 1] == '1';
}

void FieldEditor::display(const Field& f) {
  const int visible = std::min(f.length, platform::kCols - f.originCol + 1);
  for (int i = 0; i < visible; ++i) {
    const auto ch = i < f.size() ? static_cast<std::uint8_t>(f.text[static_cast<std::size_t>(i)]) : kInputDot;
    console_.screen().put(f.originRow, f.originCol + i, ch, editAttr_);
  }
  console_.setCursor(f.originRow, std::clamp(f.originCol + f.pos - 1, 1, platform::kCols));
}

// On exit: a text field padded with blanks; a number above 0 right-aligned through a mask of
// the field length with the decimals typed; anything else blank.
void FieldEditor::redisplay(const Field& f) {
  std::string shown;
  if (!f.numeric) {
    shown = padded(f.text, f.length);
  } else {
    const double value = records::val(f.text);
    if (value > 0) {
      shown = records::printUsing(numericMask(f.text, f.length), value);
      // A value the mask cannot hold is shown as typed rather than spilling over the screen.
      if (static_cast<int>(shown.size()) != f.length || shown.find('%') != std::string::npos)
        shown = std::string(static_cast<std::size_t>(f.length - f.size()), ' ') + f.text;
    }
    shown = padded(shown, f.length);
  }
  const int visible = std::min(f.length, platform::kCols - f.originCol + 1);
  for (int i = 0; i < visible; ++i)
    console_.screen().put(f.originRow, f.originCol + i, static_cast<std::uint8_t>(shown[static_cast<std::size_t>(i)]),
                          normalAttr_);
}

std::optional<int> FieldEditor::handleKey(Field& f, const KeyEvent& key) {
  switch (key.kind) {
    case KeyEvent::Kind::Mouse:
      showMousePosition(console_.screen(), key.mouseRow, key.mouseCol, mouseRow_);
      return std::nullopt;
    case KeyEvent::Kind::Extended:
      return handleExtended(f, key);
    case KeyEvent::Kind::Char:
      break;
  }
  // Backends that pass control keys as characters.
  switch (key.ch) {
    case 8: return handleExtended(f, KeyEvent::extended(Key::Backspace, key.modifiers));
    case 9: return handleExtended(f, KeyEvent::extended(Key::Tab, key.modifiers));
    case 13: return handleExtended(f, KeyEvent::extended(Key::Enter, key.modifiers));
    case 27: return handleExtended(f, KeyEvent::extended(Key::Esc, key.modifiers));
    default: return handleChar(f, key.ch);
  }
}

std::optional<int> FieldEditor::handleExtended(Field& f, const KeyEvent& event) {
  Key key = event.key;
  const bool ctrl = (event.modifiers & (platform::kLeftCtrl | platform::kRightCtrl)) != 0;
  if (key == Key::Del && ctrl) key = Key::CtrlDel;
  if (key == Key::End && ctrl) key = Key::CtrlEnd;
  if (key != Key::Ins && isExtended(key)) f.insert = false;

  const auto refuse = [this]() -> std::optional<int> {
    console_.beep();
    return std::nullopt;
  };
  const auto deleteUnderCursor = [&]() -> std::optional<int> {
    if (f.pos > f.size()) return refuse();
    if (f.size() < 2)
      f.clear();
    else
      f.text.erase(static_cast<std::size_t>(f.pos - 1), 1);
    return std::nullopt;
  };

  switch (key) {
    case Key::Enter:
    case Key::Down:
      return kExitEnter;
    case Key::Esc:
      f.escaped = true;
      return kExitEsc;
    case Key::Tab:
      return kExitTab;
    case Key::Up:
      return allowed(kExitUp) ? std::optional<int>(kExitUp) : refuse();
    case Key::F1: case Key::F2: case Key::F3: case Key::F4: case Key::F5:
    case Key::F6: case Key::F7: case Key::F8: case Key::F9: case Key::F10: {
      const int code = 1 + static_cast<int>(key) - static_cast<int>(Key::F1);
      return allowed(code) ? std::optional<int>(code) : refuse();
    }
    case Key::PgUp:
    case Key::F11:
      if (pageKeyMode_ != (key == Key::PgUp ? 1 : 2) || !allowed(kExitPageUp)) return refuse();
      return kExitPageUp;
    case Key::PgDn:
    case Key::F12:
      if (pageKeyMode_ != (key == Key::PgDn ? 1 : 2)) return refuse();
      return kExitPageDown;
    case Key::Home:
    case Key::CtrlEnd:
      f.pos = 1;
      return std::nullopt;
    case Key::End:
      f.pos = f.size() + 1;
      return std::nullopt;
    case Key::Left:
      if (f.pos <= 1) return refuse();
      --f.pos;
      return std::nullopt;
    case Key::Right:
      if (f.pos > f.size()) return refuse();
      ++f.pos;
      return std::nullopt;
    case Key::Ins:
      f.insert = !f.insert;
      return std::nullopt;
    case Key::Del:
      return deleteUnderCursor();
    case Key::CtrlDel:
      f.clear();
      return std::nullopt;
    case Key::Backspace:
      if (f.pos <= 1) return deleteUnderCursor();
      if (f.size() < 2) {
        f.clear();
      } else {
        f.text.erase(static_cast<std::size_t>(f.pos - 2), 1);
        --f.pos;
      }
      return std::nullopt;
    case Key::None:
    case Key::AltX:
      return refuse();
  }
  return refuse();
}

std::optional<int> FieldEditor::handleChar(Field& f, std::uint8_t ch) {
  if (pageKeyMode_ == 1 && ch == '-') return kExitTab;
  if (pageKeyMode_ == 1 && ch == '+') return kExitPlus;
  const auto refuse = [this]() -> std::optional<int> {
    console_.beep();
    return std::nullopt;
  };
  if (refusedControl(ch)) return refuse();
  if (capitals_ && ch >= 'a' && ch <= 'z') ch = static_cast<std::uint8_t>(ch - 'a' + 'A');

  const bool replacing = !f.insert && f.pos <= f.size();
  if (f.numeric) {
    // The character another one would land on in overwrite mode does not count.
    const auto others = [&](char c) {
      auto n = std::count(f.text.begin(), f.text.end(), c);
      if (replacing && f.text[static_cast<std::size_t>(f.pos - 1)] == c) --n;
      return n;
    };
    const bool digit = ch >= '0' && ch <= '9';
    const bool point = ch == '.' && others('.') == 0;
    const bool minus = ch == '-' && f.pos == 1 && others('-') == 0;
    if (!digit && !point && !minus) return refuse();
    // Nothing may be pushed in front of a leading minus.
    if (f.insert && f.pos == 1 && !f.text.empty() && f.text[0] == '-') return refuse();
  }

  if (f.insert) {
    if (f.size() >= f.length) return refuse();
    f.text.insert(static_cast<std::size_t>(f.pos - 1), 1, static_cast<char>(ch));
  } else {
    if (f.pos > f.length) return refuse();
    if (replacing)
      f.text[static_cast<std::size_t>(f.pos - 1)] = static_cast<char>(ch);
    else
      f.text.push_back(static_cast<char>(ch));
  }
  ++f.pos;
  return std::nullopt;
}

}  // namespace vellano::screen
