// The key-script language: "text" types characters, <NAME> and <NAME*N> press named keys,
// <MOUSE r c> clicks, <SNAP> asks for a screen dump, '#' comments run to the line end.
//
// Choices the short syntax leaves open:
// - tokens may also follow each other without a blank ("abc"<ENTER>);
// - inside quotes only \" and \\ are escapes; a raw control character (tab included) is an
//   error, because control keys are named keys. The DOS pictures (U+263A for byte 1, ...) type
//   the bytes 1-31, and U+2302 types byte 127, so every byte but NUL can be typed;
// - key names are upper case; a repeat count is 1..100000, and a whole script may hold at
//   most a million keys, so a short file cannot exhaust memory;
// - a mouse position must lie on the 50 x 120 screen;
// - the whole file must be UTF-8 (comments included); a leading byte-order mark is skipped.
#include "platform/key_script.h"

#include <cstdio>
#include <optional>

#include "platform/cp437.h"
#include "platform/screen_buffer.h"

namespace vellano::platform {

namespace {

constexpr int kMaxRepeat = 100000;
constexpr std::size_t kMaxItems = 1000000;

struct ParseFailure {
  int line;
  std::string message;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string codePointName(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

// Decodes one UTF-8 sequence at `pos`; nullopt for a malformed, overlong or surrogate one.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (pos + extra >= text.size()) return std::nullopt;
  for (int i = 1; i <= extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  pos += extra + 1;
  return cp;
}

// The whole text must be UTF-8, comments included: a broken file is refused, not half-read.
void checkUtf8(std::string_view text) {
  int line = 1;
  for (std::size_t pos = 0; pos < text.size();) {
    if (text[pos] == '\n') ++line;
    if (!decodeUtf8(text, pos)) throw ParseFailure{line, "invalid UTF-8"};
  }
}

std::uint8_t impliedModifiers(Key key) {
  switch (key) {
    case Key::CtrlEnd:
    case Key::CtrlDel:
      return kLeftCtrl;
    case Key::AltX:
      return kLeftAlt;
    default:
      return 0;
  }
}

// Digits only, at most `limit`; nullopt for anything else.
std::optional<int> parseCount(std::string_view digits, int limit) {
  if (digits.empty()) return std::nullopt;
  long long value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int>(value);
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::vector<ScriptItem> run() {
    checkUtf8(text_);
    if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (isBlank(c)) {
        ++pos_;
      } else if (c == '#') {
        skipComment();
      } else if (c == '"') {
        quoted();
      } else if (c == '<') {
        named();
      } else {
        std::size_t at = pos_;
        const char32_t cp = *decodeUtf8(text_, at);
        fail(line_, "unexpected character " + describe(cp) + " outside quotes");
      }
    }
    return std::move(items_);
  }

 private:
  [[noreturn]] static void fail(int line, std::string message) {
    throw ParseFailure{line, std::move(message)};
  }

  static std::string describe(char32_t cp) {
    if (cp > 0x20 && cp < 0x7F) return std::string("'") + static_cast<char>(cp) + "'";
    return codePointName(cp);
  }

  void add(const ScriptItem& item, int count = 1) {
    if (items_.size() + static_cast<std::size_t>(count) > kMaxItems) {
      fail(line_, "script too long (more than 1000000 keys)");
    }
    items_.insert(items_.end(), static_cast<std::size_t>(count), item);
  }

  void skipComment() {
    while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
  }

  bool atLineEnd(std::size_t at) const {
    return at >= text_.size() || text_[at] == '\n' ||
           (text_[at] == '\r' && (at + 1 >= text_.size() || text_[at + 1] == '\n'));
  }

  void quoted() {
    const int start = line_;
    ++pos_;
    for (;;) {
      if (atLineEnd(pos_)) fail(start, "unterminated quote");
      const char c = text_[pos_];
      if (c == '"') {
        ++pos_;
        return;
      }
      if (c == '\\') {
        if (atLineEnd(pos_ + 1)) fail(start, "unterminated quote");
        const char escaped = text_[pos_ + 1];
        if (escaped != '"' && escaped != '\\') {
          std::size_t at = pos_ + 1;
          decodeUtf8(text_, at);
          fail(line_, "unknown escape \\" + std::string(text_.substr(pos_ + 1, at - pos_ - 1)));
        }
        pos_ += 2;
        add({ScriptItem::Kind::Key, KeyEvent::character(static_cast<std::uint8_t>(escaped))});
        continue;
      }
      const char32_t cp = *decodeUtf8(text_, pos_);
      if (cp < 0x20 || cp == 0x7F) {
        fail(line_, "control character " + codePointName(cp) + " inside quotes (use a named key)");
      }
      const auto byte = unicodeToCp437(cp);
      if (!byte) fail(line_, "character " + codePointName(cp) + " has no code page 437 byte");
      add({ScriptItem::Kind::Key, KeyEvent::character(*byte)});
    }
  }

  void named() {
    const std::size_t open = pos_;
    std::size_t close = open + 1;
    while (close < text_.size() && text_[close] != '>' && text_[close] != '\n') ++close;
    if (close >= text_.size() || text_[close] != '>') fail(line_, "unterminated <");
    const std::string_view body = text_.substr(open + 1, close - open - 1);
    pos_ = close + 1;

    if (body == "SNAP") {
      add({ScriptItem::Kind::Snap, {}});
    } else if (body.starts_with("MOUSE") && body.size() > 5 && isBlank(body[5])) {
      mouse(body.substr(5));
    } else {
      key(body);
    }
  }

  void mouse(std::string_view rest) {
    // Two numbers separated by blanks: row, then column.
    std::string_view parts[3];
    int n = 0;
    std::size_t i = 0;
    while (i < rest.size()) {
      while (i < rest.size() && isBlank(rest[i])) ++i;
      if (i >= rest.size()) break;
      std::size_t j = i;
      while (j < rest.size() && !isBlank(rest[j])) ++j;
      if (n == 3) break;
      parts[n++] = rest.substr(i, j - i);
      i = j;
    }
    if (n != 2) fail(line_, "<MOUSE r c> needs a row and a column");
    const auto row = parseCount(parts[0], 9999);
    const auto col = parseCount(parts[1], 9999);
    if (!row || !col) fail(line_, "<MOUSE r c> needs a row and a column");
    if (!ScreenBuffer::inside(*row, *col)) {
      fail(line_, "mouse position " + std::string(parts[0]) + " " + std::string(parts[1]) +
                      " is outside the 50 x 120 screen");
    }
    add({ScriptItem::Kind::Key, KeyEvent::mouse(*row, *col)});
  }

  void key(std::string_view body) {
    std::string_view name = body;
    int count = 1;
    if (const auto star = body.find('*'); star != std::string_view::npos) {
      name = body.substr(0, star);
      const auto parsed = parseCount(body.substr(star + 1), kMaxRepeat);
      if (!parsed || *parsed < 1) {
        fail(line_, "bad repeat count in <" + std::string(body) + "> (1 to 100000)");
      }
      count = *parsed;
    }
    const Key k = keyFromName(name);
    if (k == Key::None) fail(line_, "unknown key name <" + std::string(body) + ">");
    add({ScriptItem::Kind::Key, KeyEvent::extended(k, impliedModifiers(k))}, count);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::vector<ScriptItem> items_;
};

// Writes script text a token at a time, keeping typed characters together in one quote.
class Writer {
 public:
  void character(std::uint8_t ch) {
    if (ch == 0) return;  // NUL has no script form
    if (!inQuote_) {
      separate();
      out_ += '"';
      inQuote_ = true;
    }
    if (ch == '"' || ch == '\\') {
      out_ += '\\';
      out_ += static_cast<char>(ch);
    } else if (ch >= 0x20 && ch < 0x7F) {
      out_ += static_cast<char>(ch);
    } else {
      appendUtf8(out_, cp437ToUnicode(ch));
    }
  }

  void token(std::string_view text, bool lineBreakAfter = false) {
    closeQuote();
    separate();
    out_ += text;
    if (lineBreakAfter) out_ += '\n';
  }

  std::string finish() {
    closeQuote();
    if (!out_.empty() && out_.back() != '\n') out_ += '\n';
    return std::move(out_);
  }

 private:
  void closeQuote() {
    if (inQuote_) out_ += '"';
    inQuote_ = false;
  }
  void separate() {
    if (!out_.empty() && out_.back() != '\n') out_ += ' ';
  }

  std::string out_;
  bool inQuote_ = false;
};

bool sameKey(const ScriptItem& a, const ScriptItem& b) {
  return a.kind == ScriptItem::Kind::Key && b.kind == ScriptItem::Kind::Key &&
         a.event.kind == KeyEvent::Kind::Extended && b.event == a.event;
}

}  // namespace

ScriptParse parseKeyScript(std::string_view text) {
  try {
    return Parser(text).run();
  } catch (const ParseFailure& failure) {
    return ScriptError{failure.line, failure.message};
  }
}

// Events the syntax cannot carry (NUL, a key without a name, a mouse position off screen,
// modifier bits other than the ones a named key implies) are left out or written plainly:
// they never come from a parsed script, only from keys pushed by a program itself.
std::string writeKeyScript(const std::vector<ScriptItem>& items) {
  Writer writer;
  for (std::size_t i = 0; i < items.size();) {
    const ScriptItem& item = items[i];
    if (item.kind == ScriptItem::Kind::Snap) {
      writer.token("<SNAP>");
      ++i;
      continue;
    }
    const KeyEvent& e = item.event;
    switch (e.kind) {
      case KeyEvent::Kind::Char:
        writer.character(e.ch);
        ++i;
        break;
      case KeyEvent::Kind::Mouse:
        if (ScreenBuffer::inside(e.mouseRow, e.mouseCol)) {
          writer.token("<MOUSE " + std::to_string(e.mouseRow) + " " + std::to_string(e.mouseCol) + ">");
        }
        ++i;
        break;
      case KeyEvent::Kind::Extended: {
        std::size_t run = 1;
        while (i + run < items.size() && run < static_cast<std::size_t>(kMaxRepeat) &&
               sameKey(item, items[i + run])) {
          ++run;
        }
        const std::string_view name = keyName(e.key);
        if (!name.empty()) {
          std::string token = "<" + std::string(name);
          if (run > 1) token += "*" + std::to_string(run);
          token += ">";
          // A line per Enter keeps a handed-on queue readable.
          writer.token(token, e.key == Key::Enter);
        }
        i += run;
        break;
      }
    }
  }
  return writer.finish();
}

}  // namespace vellano::platform
