// Shared by the screen-library tests: a console fed from a key script, and cell reading.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/console.h"
#include "platform/cp437.h"
#include "platform/headless.h"

namespace vellano::testing {

// A console whose keys come from an in-process script; the backend stays reachable.
class ScriptedConsole {
 public:
  explicit ScriptedConsole(std::string_view script) : ScriptedConsole(platform::scriptedBackend(script)) {}
  explicit ScriptedConsole(std::vector<platform::ScriptItem> items)
      : ScriptedConsole(std::make_unique<platform::HeadlessBackend>(std::move(items))) {}

  platform::Console& console() { return console_; }
  platform::ScreenBuffer& screen() { return console_.screen(); }
  platform::HeadlessBackend& backend() { return *backend_; }

 private:
  explicit ScriptedConsole(std::unique_ptr<platform::HeadlessBackend> b) : backend_(b.get()), console_(std::move(b)) {}
  platform::HeadlessBackend* backend_;
  platform::Console console_;
};

inline platform::ScriptItem keyItem(const platform::KeyEvent& e) {
  platform::ScriptItem item;
  item.event = e;
  return item;
}

// The bytes of `n` cells from (row, col) rightwards.
inline std::string cellText(const platform::ScreenBuffer& s, int row, int col, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += static_cast<char>(s.at(row, col + i).ch);
  return out;
}

// The code page 437 bytes of a text written with its Unicode glyphs.
inline std::string cp437(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) out += static_cast<char>(platform::unicodeToCp437(c).value_or('?'));
  return out;
}

// A screen where every cell differs from its neighbours, so a misplaced restore shows.
inline void fillPattern(platform::ScreenBuffer& s) {
  for (int r = 1; r <= platform::kRows; ++r)
    for (int c = 1; c <= platform::kCols; ++c)
      s.put(r, c, static_cast<std::uint8_t>('!' + (r * 7 + c) % 90), static_cast<std::uint8_t>((r * 16 + c) % 256));
}

}  // namespace vellano::testing
