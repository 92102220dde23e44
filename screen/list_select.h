// The list-selection window behind every search list: scrolling, movement keys and the
// type-ahead search shown on the bottom frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screen/window.h"
#include "platform/console.h"

namespace vellano::screen {

inline constexpr int kListEsc = -1;

// One open list. The constructor opens the window (a right edge of 0 makes it as wide as the
// longest entry plus a blank each side) and draws the visible entries; the destructor closes
// it and restores the screen under it. The entries are read in place and must outlive it.
class ListSelection {
 public:
  ListSelection(platform::Console& console, const std::vector<std::string>& entries, int current,
                const WindowDescriptor& d, std::string_view title, std::uint8_t highlight);
  ListSelection(const ListSelection&) = delete;
  ListSelection& operator=(const ListSelection&) = delete;

  // Applies one key. Returns the result once the list is done: the entry number (from 1) on
  // Enter, kListEsc on ESC.
  std::optional<int> step(const platform::KeyEvent& key);
  // Reads keys until step() gives a result.
  int run();

  int current() const { return current_; }
  int firstVisible() const { return first_; }
  const std::string& searchText() const { return search_; }
  const WindowDescriptor& descriptor() const { return d_; }

 private:
  static WindowDescriptor widened(const WindowDescriptor& d, const std::vector<std::string>& entries);
  int count() const { return static_cast<int>(entries_.size()); }
  int rows() const { return d_.bottom - d_.top - 1; }
  void drawEntry(int n);
  void drawAll();
  void moveTo(int n);
  void typeAhead(std::uint8_t ch);
  int findFrom(int from, int to) const;
  void showSearch();
  void clearSearch();

  platform::Console& console_;
  const std::vector<std::string>& entries_;
  std::vector<std::string> upper_;  // entries in capitals, made once per list
  WindowDescriptor d_;
  Window window_;
  std::uint8_t highlight_;
  int current_ = 0;  // 0 only when the list is empty
  int first_ = 1;    // entry on the first row
  std::string search_;
  std::vector<platform::Cell> bottomEdge_;  // the bottom frame as opened, under the search text
};

// The search-list window of the master data and the registers: single frame, title top-left,
// shadow 2 in colour 8, black on white, top-left corner (1,1), bottom row 43, as wide as the
// entries; the highlight white on red.
WindowDescriptor searchListWindow();
inline constexpr std::uint8_t kSearchHighlight = 0x4F;

// Opens the list, reads keys until Enter or ESC and closes it: the chosen entry number (from 1)
// or kListEsc.
int selectFromList(platform::Console& console, const std::vector<std::string>& entries, int current,
                   const WindowDescriptor& d, std::string_view title, std::uint8_t highlight);

}  // namespace vellano::screen
