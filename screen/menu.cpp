// The vertical menu: drawing the rows and the keys that move, choose or leave.
#include "screen/menu.h"

#include "screen/hidden_cursor.h"

namespace vellano::screen {

namespace {

using platform::Key;
using platform::KeyEvent;

constexpr std::uint8_t kLine = 0xC4;
constexpr int kSeparatorWidth = 25;

std::uint8_t upperAscii(std::uint8_t c) { return (c >= 'a' && c <= 'z') ? static_cast<std::uint8_t>(c - 32) : c; }

class MenuRun {
 public:
  MenuRun(platform::Console& console, const WindowDescriptor& d, const std::vector<MenuItem>& items,
          const MenuColours& colours)
      : console_(console), d_(d), items_(items), colours_(colours) {}

  int count() const { return static_cast<int>(items_.size()); }
  bool selectable(int n) const { return n >= 1 && n <= count() && !items_[static_cast<std::size_t>(n - 1)].separator; }

  int firstSelectable() const {
    for (int n = 1; n <= count(); ++n)
      if (selectable(n)) return n;
    return 0;
  }
  int lastSelectable() const {
    for (int n = count(); n >= 1; --n)
      if (selectable(n)) return n;
    return 0;
  }
  // The next selectable item in `step` direction, wrapping round the ends.
  int neighbour(int from, int step) const {
    int n = from;
    for (int i = 0; i < count(); ++i) {
      n += step;
      if (n < 1) n = count();
      if (n > count()) n = 1;
      if (selectable(n)) return n;
    }
    return from;
  }
  // The first selectable item whose hot letter is `c` in either case, or 0.
  int hotItem(std::uint8_t c) const {
    for (int n = 1; n <= count(); ++n) {
      const MenuItem& item = items_[static_cast<std::size_t>(n - 1)];
      if (item.separator || item.hotPosition < 1 || item.hotPosition > static_cast<int>(item.text.size())) continue;
      const auto hot = static_cast<std::uint8_t>(item.text[static_cast<std::size_t>(item.hotPosition - 1)]);
      if (upperAscii(hot) == upperAscii(c)) return n;
    }
    return 0;
  }

  void drawRow(int n, bool highlighted) {
    const int width = d_.right - d_.left - 1;
    const int row = d_.top + n;
    // Items the window has no row for are not drawn over its frame.
    if (width <= 0 || row >= d_.bottom) return;
    const int col = d_.left + 1;
    const MenuItem& item = items_[static_cast<std::size_t>(n - 1)];
    const std::uint8_t attr = highlighted ? colours_.selected : colours_.normal;
    for (int i = 0; i < width; ++i) {
      std::uint8_t ch = ' ';
      if (item.separator) {
        const int lineWidth = item.text.empty() ? kSeparatorWidth : static_cast<int>(item.text.size());
        if (i < lineWidth) ch = kLine;
      } else if (i < static_cast<int>(item.text.size())) {
        ch = static_cast<std::uint8_t>(item.text[static_cast<std::size_t>(i)]);
      }
      console_.screen().put(row, col + i, ch, attr);
    }
    if (!item.separator && item.hotPosition >= 1 && item.hotPosition <= width &&
        item.hotPosition <= static_cast<int>(item.text.size())) {
      const auto hotAttr = static_cast<std::uint8_t>((attr & 0xF0) | (colours_.hot & 0x0F));
      console_.screen().recolour(row, col + item.hotPosition - 1, hotAttr);
    }
  }

  void drawAll(int current) {
    for (int n = 1; n <= count(); ++n) drawRow(n, n == current);
  }

  void move(int& current, int to) {
    if (to == current || to == 0) return;
    drawRow(current, false);
    current = to;
    drawRow(current, true);
  }

  int run(int& current) {
    if (firstSelectable() == 0) return kMenuNothingSelectable;
    if (current < 1 || current > count()) current = firstSelectable();
    drawAll(current);
    for (;;) {
      const KeyEvent k = console_.readKey();
      if (k.kind == KeyEvent::Kind::Mouse) continue;
      if (k.kind == KeyEvent::Kind::Char) {
        const int hot = hotItem(k.ch);
        if (hot == 0) {
          console_.beep();
          continue;
        }
        move(current, hot);
        return current;
      }
      switch (k.key) {
        case Key::Up: move(current, neighbour(current, -1)); break;
        case Key::Down: move(current, neighbour(current, +1)); break;
        case Key::Home: case Key::PgUp: move(current, firstSelectable()); break;
        case Key::End: case Key::PgDn: move(current, lastSelectable()); break;
        case Key::Enter:
          // A separator can be highlighted on entry, but never chosen.
          if (selectable(current)) return current;
          console_.beep();
          break;
        case Key::Esc: return kMenuEsc;
        case Key::Left: return kMenuLeft;
        case Key::Right: return kMenuRight;
        case Key::AltX: return kMenuAltX;
        default: console_.beep(); break;
      }
    }
  }

 private:
  platform::Console& console_;
  const WindowDescriptor& d_;
  const std::vector<MenuItem>& items_;
  const MenuColours& colours_;
};

}  // namespace

int runMenu(platform::Console& console, const WindowDescriptor& d, const std::vector<MenuItem>& items,
            const MenuColours& colours, int& current) {
  HiddenCursor hidden(console);
  MenuRun menu(console, d, items, colours);
  return menu.run(current);
}

}  // namespace vellano::screen
