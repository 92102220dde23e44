// The function-key panel: the column of key names at the right of the screen, or the
// three-line grid across the bottom that some installations choose instead.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/screen_buffer.h"

namespace vellano::screen {

// Legend of the main menus: every key blank.
inline constexpr std::string_view kMainMenuLegend =
    "1          |2          |3          |4          |5          |6          |7          |8          |9          |          |          ";

// One legend text, 11 fields separated by "|": fields 1-9 are the key digit followed by a
// 10-character label (all blanks: key not offered), fields 10 and 11 are 10-character notes.
struct FunctionKeyLegend {
  std::array<std::string, 9> labels;  // each exactly 10 characters
  std::string note1;                  // field 10, 10 characters
  std::string note2;                  // field 11, 10 characters
};
// Missing fields read as blanks; longer fields are cut.
FunctionKeyLegend parseLegend(std::string_view legend);

enum class FunctionKeyLayout : std::uint8_t {
  Panel,  // column 91, rows 22-42
  Grid,   // three 120-character lines, chosen by the host settings
};

inline constexpr int kPanelColumn = 91;
inline constexpr int kGridTopRow = 48;  // rows 48-50; column 93 of row 50 stays free for the mouse

inline constexpr std::uint8_t kPanelKeyAttr = 0x95;    // magenta on light blue
inline constexpr std::uint8_t kPanelActiveKeyAttr = 0x9E;  // yellow on light blue
inline constexpr std::uint8_t kPanelLabelAttr = 0x8E;      // yellow on dark grey

class FunctionKeyPanel {
 public:
  explicit FunctionKeyPanel(FunctionKeyLayout layout = FunctionKeyLayout::Panel) : layout_(layout) {}

  FunctionKeyLayout layout() const { return layout_; }

  // The keys with no legend: every name in magenta, every label row blank.
  void drawFrame(platform::ScreenBuffer& screen) const;
  // The notes and the offered keys of one legend, over what drawFrame left.
  void drawLegend(platform::ScreenBuffer& screen, std::string_view legend) const;
  // Both steps: what a screen calls to show its legend.
  void show(platform::ScreenBuffer& screen, std::string_view legend) const;

 private:
  FunctionKeyLayout layout_;
};

}  // namespace vellano::screen
