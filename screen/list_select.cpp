// The list-selection window. With thousands of entries each keystroke must stay cheap: a move
// inside the visible rows redraws only the two rows that change, and the search compares
// against capitals made once when the list opens, stopping at the first match.
#include "screen/list_select.h"

#include <algorithm>

#include "screen/hidden_cursor.h"

namespace vellano::screen {

namespace {

using platform::Key;
using platform::KeyEvent;

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperText(std::string_view text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(), upperAscii);
  return s;
}

}  // namespace

WindowDescriptor ListSelection::widened(const WindowDescriptor& d, const std::vector<std::string>& entries) {
  WindowDescriptor w = d;
  if (w.right == 0) {
    std::size_t longest = 0;
    for (const std::string& e : entries) longest = std::max(longest, e.size());
    // The descriptor holds one byte per field: a wider list is cut at column 255.
    const std::size_t right = std::min<std::size_t>(255, w.left + (longest + 2) + 1);
    w.right = static_cast<std::uint8_t>(right);
  }
  return w;
}

ListSelection::ListSelection(platform::Console& console, const std::vector<std::string>& entries, int current,
                             const WindowDescriptor& d, std::string_view title, std::uint8_t highlight)
    : console_(console),
      entries_(entries),
      d_(widened(d, entries)),
      window_(console.screen(), d_, title),
      highlight_(highlight) {
  upper_.reserve(entries_.size());
  for (const std::string& e : entries_) upper_.push_back(upperText(e));
  for (int c = d_.left + 1; c <= std::min<int>(d_.right - 1, platform::kCols); ++c)
    if (platform::ScreenBuffer::inside(d_.bottom, c)) bottomEdge_.push_back(console_.screen().at(d_.bottom, c));
  if (count() > 0) {
    current_ = std::clamp(current, 1, count());
    if (rows() > 0 && current_ >= first_ + rows()) first_ = current_ - rows() + 1;
  }
  drawAll();
}

void ListSelection::drawEntry(int n) {
  if (n < first_ || n >= first_ + rows()) return;
  const int row = d_.top + 1 + (n - first_);
  const int col = d_.left + 1;
  const int width = std::min(d_.right - d_.left - 1, platform::kCols - col + 1);
  const bool entry = n >= 1 && n <= count();
  const std::string_view text = entry ? std::string_view(entries_[static_cast<std::size_t>(n - 1)]) : std::string_view{};
  const std::uint8_t attr = (entry && n == current_) ? highlight_ : d_.interiorAttr;
  for (int i = 0; i < width; ++i) {
    // One blank before the text, blanks after it.
    const std::size_t t = static_cast<std::size_t>(i - 1);
    const auto ch = (i >= 1 && t < text.size()) ? static_cast<std::uint8_t>(text[t]) : std::uint8_t{' '};
    console_.screen().put(row, col + i, ch, attr);
  }
}

void ListSelection::drawAll() {
  for (int r = 0; r < rows(); ++r) drawEntry(first_ + r);
}

void ListSelection::moveTo(int n) {
  if (count() == 0) return;
  n = std::clamp(n, 1, count());
  const int old = current_;
  current_ = n;
  if (rows() <= 0) {
    first_ = n;
    return;
  }
  if (n < first_) {
    first_ = n;
    drawAll();
  } else if (n >= first_ + rows()) {
    first_ = n - rows() + 1;
    drawAll();
  } else {
    drawEntry(old);
    drawEntry(n);
  }
}

int ListSelection::findFrom(int from, int to) const {
  const std::string wanted = upperText(search_);
  for (int n = from; n <= to; ++n)
    if (upper_[static_cast<std::size_t>(n - 1)].starts_with(wanted)) return n;
  return 0;
}

void ListSelection::typeAhead(std::uint8_t ch) {
  if (count() == 0) {
    console_.beep();
    return;
  }
  search_.push_back(static_cast<char>(ch));
  int found = findFrom(current_, count());
  if (found == 0) found = findFrom(1, current_ - 1);
  if (found == 0) {
    // Nothing starts so: the next character begins a new search.
    clearSearch();
    console_.beep();
    return;
  }
  moveTo(found);
  showSearch();
}

void ListSelection::showSearch() {
  const int width = static_cast<int>(bottomEdge_.size());
  const int shown = std::min(width, static_cast<int>(search_.size()));
  for (int i = 0; i < shown; ++i)
    console_.screen().put(d_.bottom, d_.left + 1 + i, static_cast<std::uint8_t>(search_[static_cast<std::size_t>(i)]),
                          d_.borderAttr);
}

void ListSelection::clearSearch() {
  if (search_.empty()) return;
  const int shown = std::min(static_cast<int>(bottomEdge_.size()), static_cast<int>(search_.size()));
  for (int i = 0; i < shown; ++i) console_.screen().at(d_.bottom, d_.left + 1 + i) = bottomEdge_[static_cast<std::size_t>(i)];
  search_.clear();
}

std::optional<int> ListSelection::step(const KeyEvent& key) {
  if (key.kind == KeyEvent::Kind::Mouse) return std::nullopt;
  if (key.kind == KeyEvent::Kind::Char && key.ch >= 32 && key.ch <= 126) {
    typeAhead(key.ch);
    return std::nullopt;
  }
  clearSearch();
  if (key.kind == KeyEvent::Kind::Char) {
    console_.beep();
    return std::nullopt;
  }
  const int page = std::max(1, rows());
  switch (key.key) {
    case Key::Enter:
      if (count() == 0) break;
      return current_;
    case Key::Esc:
      return kListEsc;
    case Key::Up:
      if (current_ <= 1) break;
      moveTo(current_ - 1);
      return std::nullopt;
    case Key::Down:
      if (current_ >= count()) break;
      moveTo(current_ + 1);
      return std::nullopt;
    case Key::PgUp: moveTo(current_ - page); return std::nullopt;
    case Key::PgDn: moveTo(current_ + page); return std::nullopt;
    case Key::Home: moveTo(1); return std::nullopt;
    case Key::End: moveTo(count()); return std::nullopt;
    case Key::Backspace: return std::nullopt;
    default: break;
  }
  console_.beep();
  return std::nullopt;
}

int ListSelection::run() {
  HiddenCursor hidden(console_);
  for (;;) {
    if (const std::optional<int> result = step(console_.readKey())) return *result;
  }
}

int selectFromList(platform::Console& console, const std::vector<std::string>& entries, int current,
                   const WindowDescriptor& d, std::string_view title, std::uint8_t highlight) {
  ListSelection list(console, entries, current, d, title, highlight);
  return list.run();
}

WindowDescriptor searchListWindow() {
  return windowAt(1, 1, 43, 0).framed(1).titled(1).shadowed(2, 0x08).coloured(0xF0, 0xF8, 0xF8);
}

}  // namespace vellano::screen
