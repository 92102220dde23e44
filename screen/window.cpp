// Pop-up windows: border styles, title placement, shadows, and the save/restore of the screen.
#include "screen/window.h"

#include <algorithm>
#include <string>

namespace vellano::screen {

namespace {

using platform::ScreenBuffer;

// Order of each entry: top-left, bottom-left, top-right, bottom-right, left side, right side,
// top edge, bottom edge.
constexpr std::array<BorderStyle, kBorderStyleCount> kStyles{{
    {0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20},
    {0xDA, 0xC0, 0xBF, 0xD9, 0xB3, 0xB3, 0xC4, 0xC4},
    {0xC9, 0xC8, 0xBB, 0xBC, 0xBA, 0xBA, 0xCD, 0xCD},
    {0xD6, 0xD3, 0xB7, 0xBD, 0xBA, 0xBA, 0xC4, 0xC4},
    {0xD5, 0xD4, 0xB8, 0xBE, 0xB3, 0xB3, 0xCD, 0xCD},
    {0xD6, 0xD3, 0xBF, 0xD9, 0xBA, 0xB3, 0xC4, 0xC4},
    {0xDA, 0xC0, 0xB7, 0xBD, 0xB3, 0xBA, 0xC4, 0xC4},
    {0xD5, 0xC0, 0xB8, 0xD9, 0xB3, 0xB3, 0xCD, 0xC4},
    {0xDA, 0xD4, 0xBF, 0xBE, 0xB3, 0xB3, 0xC4, 0xCD},
    {0xD5, 0xD4, 0xBB, 0xBC, 0xB3, 0xBA, 0xCD, 0xCD},
    {0xC9, 0xC8, 0xB8, 0xBE, 0xBA, 0xB3, 0xCD, 0xCD},
    {0xD6, 0xC8, 0xB7, 0xBC, 0xBA, 0xBA, 0xC4, 0xCD},
    {0xC9, 0xD3, 0xBB, 0xBD, 0xBA, 0xBA, 0xCD, 0xC4},
    {0xDB, 0xDB, 0xDB, 0xDB, 0xDB, 0xDB, 0xDB, 0xDB},
    {0xDC, 0xDF, 0xDC, 0xDF, 0xDD, 0xDE, 0xDC, 0xDF},
    {0xDC, 0xDF, 0xDC, 0xDF, 0xDB, 0xDB, 0xDC, 0xDF},
    {0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0xC4, 0xC4},
    {0xB3, 0xB3, 0xB3, 0xB3, 0xB3, 0xB3, 0x20, 0x20},
    {0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0xCD, 0xCD},
    {0xBA, 0xBA, 0xBA, 0xBA, 0xBA, 0xBA, 0x20, 0x20},
}};

// " " + text + " ", cut to `maximum` characters first (none when negative).
std::string paddedTitle(std::string_view title, int maximum) {
  const std::string_view cut = title.substr(0, static_cast<std::size_t>(std::max(0, maximum)));
  std::string out;
  out.reserve(cut.size() + 2);
  out.push_back(' ');
  out.append(cut);
  out.push_back(' ');
  return out;
}

constexpr std::uint8_t kCloseSquare = 0xFE;
constexpr std::uint8_t kHorizontal = 0xC4;
constexpr std::uint8_t kLowerHalf = 0xDC;
constexpr std::uint8_t kFullBlock = 0xDB;
constexpr std::uint8_t kUpperHalf = 0xDF;

// The frame's edges and corners cell by cell, its sides and the interior between them as one
// run of cells built once and copied onto every inner row.
void drawFrameAndInterior(ScreenBuffer& s, const WindowDescriptor& d) {
  const BorderStyle& b = borderStyle(d.borderStyle);
  const int top = d.top, left = d.left, bottom = d.bottom, right = d.right;
  const std::uint8_t a = d.borderAttr;
  s.fill(top, left + 1, right - left - 1, b.topEdge, a);
  s.fill(bottom, left + 1, right - left - 1, b.bottomEdge, a);
  if (right > left) {
    std::array<platform::Cell, 256> run;  // a descriptor's columns never pass 255
    const auto width = static_cast<std::size_t>(right - left + 1);
    platform::fillCells({run.data(), width}, platform::Cell{' ', d.interiorAttr});
    run[0] = platform::Cell{b.leftSide, a};
    run[width - 1] = platform::Cell{b.rightSide, a};
    s.putRows(top + 1, bottom - 1, left, std::span<const platform::Cell>(run.data(), width));
  } else {
    for (int r = top + 1; r <= bottom - 1; ++r) {
      s.put(r, left, b.leftSide, a);
      s.put(r, right, b.rightSide, a);
    }
  }
  s.put(top, left, b.topLeft, a);
  s.put(bottom, left, b.bottomLeft, a);
  s.put(top, right, b.topRight, a);
  s.put(bottom, right, b.bottomRight, a);
}

void drawCloseBox(ScreenBuffer& s, const WindowDescriptor& d) {
  const std::uint8_t box[] = {'[', kCloseSquare, ']', kHorizontal};
  for (int i = 0; i < 4; ++i) s.put(d.top, d.left + i, box[i], d.borderAttr);
}

void drawTitle(ScreenBuffer& s, const WindowDescriptor& d, std::string_view title) {
  if (d.titlePosition < 1 || d.titlePosition > 8) return;
  const TitlePlacement t = placeTitle(d, title);
  for (std::size_t i = 0; i < t.text.size(); ++i) {
    const int offset = static_cast<int>(i);
    const auto ch = static_cast<std::uint8_t>(t.text[i]);
    if (t.vertical)
      s.put(t.row + offset, t.col, ch, d.titleAttr);
    else
      s.put(t.row, t.col + offset, ch, d.titleAttr);
  }
}

void recolourColumn(ScreenBuffer& s, int col, int fromRow, int toRow, std::uint8_t a) {
  for (int r = fromRow; r <= toRow; ++r) s.recolour(r, col, a);
}

void recolourRow(ScreenBuffer& s, int row, int fromCol, int toCol, std::uint8_t a) {
  s.recolour(row, fromCol, toCol - fromCol + 1, a);
}

// A block shadow is one column beside the frame: a lower half block where it starts, full
// blocks along the side and an upper half block where it ends, so it looks shifted by half a
// row. Positions 5 and 6 fall below-left and below-right (rows top .. bottom + 1, as the
// re-coloured shadows 1 and 2); 7 and 8 fall above-left and above-right (rows top - 1 .. bottom,
// as 3 and 4). The cells take the shadow attribute whole.
void drawBlockShadow(ScreenBuffer& s, const WindowDescriptor& d) {
  const int col = (d.shadowPosition == 5 || d.shadowPosition == 7) ? d.left - 1 : d.right + 1;
  const int first = d.shadowPosition <= 6 ? d.top : d.top - 1;
  const int last = d.shadowPosition <= 6 ? d.bottom + 1 : d.bottom;
  if (last <= first) return;
  s.put(first, col, kLowerHalf, d.shadowAttr);
  for (int r = first + 1; r < last; ++r) s.put(r, col, kFullBlock, d.shadowAttr);
  s.put(last, col, kUpperHalf, d.shadowAttr);
}

void drawShadow(ScreenBuffer& s, const WindowDescriptor& d) {
  const int top = d.top, left = d.left, bottom = d.bottom, right = d.right;
  const std::uint8_t a = d.shadowAttr;
  switch (d.shadowPosition) {
    case 1:
      recolourColumn(s, left - 1, top + 1, bottom + 1, a);
      recolourRow(s, bottom + 1, left, right - 1, a);
      break;
    case 2:
      recolourColumn(s, right + 1, top + 1, bottom + 1, a);
      recolourRow(s, bottom + 1, left + 1, right, a);
      break;
    case 3:
      recolourColumn(s, left - 1, top - 1, bottom - 1, a);
      recolourRow(s, top - 1, left - 1, right - 2, a);
      break;
    case 4:
      recolourColumn(s, right + 1, top - 1, bottom - 1, a);
      recolourRow(s, top - 1, left + 2, right + 1, a);
      break;
    case 5:
    case 6:
    case 7:
    case 8:
      drawBlockShadow(s, d);
      break;
    default:
      break;
  }
}

}  // namespace

const BorderStyle& borderStyle(int index) {
  if (index < 0 || index >= kBorderStyleCount) return kStyles[0];
  return kStyles[static_cast<std::size_t>(index)];
}

TitlePlacement placeTitle(const WindowDescriptor& d, std::string_view title) {
  const int top = d.top, left = d.left, bottom = d.bottom, right = d.right;
  const int pos = d.titlePosition;
  TitlePlacement t;
  if (pos == 7 || pos == 8) {
    // Down a side the title goes without the blanks: cut to the rows inside the frame and
    // centred among them, it never reaches the corners.
    const int rows = bottom - top - 1;
    t.text = std::string(title.substr(0, static_cast<std::size_t>(std::max(0, rows))));
    const int length = static_cast<int>(t.text.size());
    t.vertical = true;
    t.col = pos == 7 ? left : right;
    t.row = top + 1 + (rows - length) / 2;
    return t;
  }
  const bool onTop = pos >= 1 && pos <= 3;
  int maximum = right - left - 5;
  if (d.closeBox != 0 && onTop) maximum -= 4;
  t.text = paddedTitle(title, maximum);
  const int length = static_cast<int>(t.text.size());
  switch (pos) {
    case 1: case 4: t.col = left + 1; break;
    case 2: case 5: t.col = left + (right - left - 5 + 6 - length) / 2; break;
    default: t.col = right - length; break;
  }
  t.row = onTop ? top : bottom;
  if (d.closeBox != 0 && onTop && t.col <= left + 2) t.col = left + 3;
  return t;
}

void drawWindow(ScreenBuffer& screen, const WindowDescriptor& d, std::string_view title) {
  drawFrameAndInterior(screen, d);
  if (d.closeBox != 0) drawCloseBox(screen, d);
  drawTitle(screen, d, title);
  drawShadow(screen, d);
}

Window::Window(ScreenBuffer& screen, const WindowDescriptor& d, std::string_view title)
    : screen_(screen), descriptor_(d),
      saved_(screen.cells()) {
  drawWindow(screen_, descriptor_, title);
}

Window::~Window() { screen_.cells() = saved_; }

}  // namespace vellano::screen
