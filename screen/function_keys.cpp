// The function-key panel in its two layouts.
#include "screen/function_keys.h"

#include <algorithm>

namespace vellano::screen {

namespace {

using platform::ScreenBuffer;

constexpr int kPanelWidth = 10;  // a label or a note
constexpr int kNoteRow = 22;     // note 1; note 2 on the row below
constexpr int kEscRow = 42;
constexpr int kCellWidth = 13;   // grid: key name (3) + label (10)

constexpr char kVertical = '\xB3';      // │
constexpr char kDoubleVertical = '\xBA';// ║
constexpr char kHorizontal = '\xC4';    // ─
constexpr char kCross = '\xC5';         // ┼

int keyRow(int k) { return kNoteRow + 2 * k; }

std::string fit(std::string_view text, std::size_t width) {
  std::string s(text.substr(0, width));
  s.resize(width, ' ');
  return s;
}

bool blank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\0'; });
}

std::string keyName(int k) {
  std::string name = "F";
  name += static_cast<char>('0' + k);  // keys 1-9
  name += ' ';
  return name;
}

// Grid lines: five 13-character key cells, the F11/F12 cell and two narrow page-key cells,
// then 28 blanks.
std::string gridKeyLine(const char* const names[5], const char* wideName, const char* narrow1,
                        const char* narrow2) {
  std::string line;
  for (int i = 0; i < 5; ++i) {
    line += fit(names[i], kCellWidth);
    line += i < 4 ? kVertical : kDoubleVertical;
  }
  line += fit(wideName, kCellWidth);
  line += kDoubleVertical;
  line += narrow1;
  line += kDoubleVertical;
  line += narrow2;
  line += kDoubleVertical;
  line += std::string(28, ' ');
  return line;
}

std::string gridSeparatorLine() {
  std::string line;
  for (int i = 0; i < 5; ++i) {
    line += std::string(kCellWidth, kHorizontal);
    line += i < 4 ? kCross : kDoubleVertical;
  }
  line += std::string(kCellWidth, kHorizontal);
  line += kDoubleVertical;
  line += "   ";
  line += kDoubleVertical;
  line += "   ";
  line += kDoubleVertical;
  line += std::string(28, ' ');
  return line;
}

int gridCellCol(int cell) { return 1 + cell * (kCellWidth + 1); }
constexpr int kWideCell = 5;  // F11 above, F12 below

// Key k of the grid: F1-F5 on the first line, F6-F9 on the third.
int gridKeyRow(int k) { return k <= 5 ? kGridTopRow : kGridTopRow + 2; }
int gridKeyCol(int k) { return gridCellCol(k <= 5 ? k - 1 : k - 6); }

void drawPanelFrame(ScreenBuffer& s) {
  const std::string blanks(kPanelWidth, ' ');
  s.putText(kNoteRow, kPanelColumn, blanks, kPanelActiveKeyAttr);
  s.putText(kNoteRow + 1, kPanelColumn, blanks, kPanelLabelAttr);
  for (int k = 1; k <= 9; ++k) {
    s.putText(keyRow(k), kPanelColumn, fit(keyName(k), kPanelWidth), kPanelKeyAttr);
    s.putText(keyRow(k) + 1, kPanelColumn, blanks, kPanelLabelAttr);
  }
  s.putText(kEscRow, kPanelColumn, fit("ESC ", kPanelWidth), kPanelKeyAttr);
}

void drawPanelLegend(ScreenBuffer& s, const FunctionKeyLegend& legend) {
  s.putText(kNoteRow, kPanelColumn, legend.note1, kPanelActiveKeyAttr);
  s.putText(kNoteRow + 1, kPanelColumn, legend.note2, kPanelLabelAttr);
  for (int k = 1; k <= 9; ++k) {
    const std::string& label = legend.labels[static_cast<std::size_t>(k - 1)];
    if (blank(label)) continue;
    s.putText(keyRow(k), kPanelColumn, keyName(k), kPanelActiveKeyAttr);
    s.putText(keyRow(k) + 1, kPanelColumn, label, kPanelLabelAttr);
  }
}

void drawGridFrame(ScreenBuffer& s) {
  static const char* const top[5] = {"F1", "F2", "F3", "F4", "F5"};
  static const char* const bottom[5] = {"F6", "F7", "F8", "F9", "ESC"};
  s.putText(kGridTopRow, 1, gridKeyLine(top, "F11", "Pag", "+ -"), kPanelLabelAttr);
  s.putText(kGridTopRow + 1, 1, gridSeparatorLine(), kPanelLabelAttr);
  s.putText(kGridTopRow + 2, 1, gridKeyLine(bottom, "F12", "   ", "   "), kPanelLabelAttr);
  for (int cell = 0; cell <= kWideCell; ++cell) {
    for (int row : {kGridTopRow, kGridTopRow + 2})
      for (int i = 0; i < 3; ++i) s.recolour(row, gridCellCol(cell) + i, kPanelKeyAttr);
  }
}

// The notes have no place of their own in the grid: they go in the label space of the
// F11 and F12 cells, beside the page keys they usually describe.
void drawGridLegend(ScreenBuffer& s, const FunctionKeyLegend& legend) {
  s.putText(kGridTopRow, gridCellCol(kWideCell) + 3, legend.note1, kPanelLabelAttr);
  s.putText(kGridTopRow + 2, gridCellCol(kWideCell) + 3, legend.note2, kPanelLabelAttr);
  for (int k = 1; k <= 9; ++k) {
    const std::string& label = legend.labels[static_cast<std::size_t>(k - 1)];
    if (blank(label)) continue;
    s.putText(gridKeyRow(k), gridKeyCol(k), fit(keyName(k), 3), kPanelActiveKeyAttr);
    s.putText(gridKeyRow(k), gridKeyCol(k) + 3, label, kPanelLabelAttr);
  }
}

}  // namespace

FunctionKeyLegend parseLegend(std::string_view legend) {
  FunctionKeyLegend out;
  std::array<std::string_view, 11> fields{};
  std::size_t start = 0;
  for (std::size_t i = 0; i < fields.size() && start <= legend.size(); ++i) {
    const std::size_t bar = legend.find('|', start);
    const std::size_t end = bar == std::string_view::npos ? legend.size() : bar;
    fields[i] = legend.substr(start, end - start);
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  for (std::size_t k = 0; k < 9; ++k) {
    const std::string_view f = fields[k];
    out.labels[k] = fit(f.size() > 1 ? f.substr(1) : std::string_view{}, kPanelWidth);
  }
  out.note1 = fit(fields[9], kPanelWidth);
  out.note2 = fit(fields[10], kPanelWidth);
  return out;
}

void FunctionKeyPanel::drawFrame(ScreenBuffer& screen) const {
  if (layout_ == FunctionKeyLayout::Grid)
    drawGridFrame(screen);
  else
    drawPanelFrame(screen);
}

void FunctionKeyPanel::drawLegend(ScreenBuffer& screen, std::string_view legend) const {
  const FunctionKeyLegend parsed = parseLegend(legend);
  if (layout_ == FunctionKeyLayout::Grid)
    drawGridLegend(screen, parsed);
  else
    drawPanelLegend(screen, parsed);
}

void FunctionKeyPanel::show(ScreenBuffer& screen, std::string_view legend) const {
  drawFrame(screen);
  drawLegend(screen, legend);
}

}  // namespace vellano::screen
