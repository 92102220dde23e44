// The cell buffer: clipping at the edges, colours and row text.
#include "platform/screen_buffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace vellano::platform {
namespace {

std::string row(const ScreenBuffer& s, int r) {
  std::array<char, kCols> scratch{};
  return std::string(s.rowBytes(r, scratch));
}

// Every cell other than the ones listed keeps its blank default.
int changedCells(const ScreenBuffer& s) {
  int n = 0;
  for (const Cell& c : s.cells()) n += (c != Cell{});
  return n;
}

TEST(ScreenBuffer, StartsBlankLightGreyOnBlack) {
  ScreenBuffer s;
  EXPECT_EQ(s.at(1, 1), (Cell{' ', 0x07}));
  EXPECT_EQ(s.at(kRows, kCols), (Cell{' ', 0x07}));
  EXPECT_EQ(row(s, 7), std::string(kCols, ' '));
}

TEST(ScreenBuffer, PutWritesOnlyInsideTheScreen) {
  struct Case {
    int row, col;
    bool written;
  };
  const Case cases[] = {
      {1, 1, true},   {50, 120, true}, {25, 60, true},     {0, 1, false},         {1, 0, false},
      {51, 1, false}, {1, 121, false}, {-1, -1, false},    {INT_MAX, 1, false},   {1, INT_MIN, false},
  };
  for (const Case& c : cases) {
    ScreenBuffer s;
    s.put(c.row, c.col, 'X', 0x1E);
    EXPECT_EQ(changedCells(s), c.written ? 1 : 0) << c.row << "," << c.col;
    if (c.written) {
      EXPECT_EQ(s.at(c.row, c.col), (Cell{'X', 0x1E}));
    }
  }
}

TEST(ScreenBuffer, PutTextIsClippedNotWrapped) {
  struct Case {
    int row, col;
    std::string text;
    std::string expectedRow;  // the row's first and last columns, as "first10|last10"
    int changed;
  };
  const std::string blank10(10, ' ');
  const Case cases[] = {
      {3, 1, "hello", "hello     |" + blank10, 5},
      {3, 116, "abcdefgh", blank10 + "|     abcde", 5},  // right edge: "fgh" dropped
      {3, -2, "abcdef", "def       |" + blank10, 3},     // left of column 1 dropped
      {3, 121, "abc", blank10 + "|" + blank10, 0},
      {3, INT_MIN, "abc", blank10 + "|" + blank10, 0},
      {0, 1, "abc", "", 0},
      {51, 1, "abc", "", 0},
  };
  for (const Case& c : cases) {
    ScreenBuffer s;
    s.putText(c.row, c.col, c.text, 0x70);
    EXPECT_EQ(changedCells(s), c.changed) << c.row << "," << c.col << " " << c.text;
    if (!c.expectedRow.empty()) {
      const std::string r = row(s, c.row);
      EXPECT_EQ(r.substr(0, 10) + "|" + r.substr(kCols - 10), c.expectedRow) << c.col;
      EXPECT_EQ(row(s, c.row + 1), std::string(kCols, ' ')) << "spilled onto the next row";
    }
  }
}

TEST(ScreenBuffer, RecolourKeepsTheCharacter) {
  ScreenBuffer s;
  s.put(4, 9, 0xC4, 0x07);
  s.recolour(4, 9, 0x4F);
  s.recolour(0, 9, 0x4F);
  s.recolour(4, 121, 0x4F);
  EXPECT_EQ(s.at(4, 9), (Cell{0xC4, 0x4F}));
  EXPECT_EQ(changedCells(s), 1);
}

TEST(ScreenBuffer, FillAndRowBytes) {
  ScreenBuffer s;
  s.fill(0xB0, 0x17);
  s.putText(50, 1, "\xDA\xC4", 0x07);
  for (const Cell& c : s.cells()) ASSERT_TRUE(c.ch == 0xB0 || c.ch == 0xDA || c.ch == 0xC4);
  EXPECT_EQ(s.at(17, 33), (Cell{0xB0, 0x17}));
  EXPECT_EQ(row(s, 50), "\xDA\xC4" + std::string(kCols - 2, '\xB0'));
  EXPECT_EQ(row(s, 0), "");
  EXPECT_EQ(row(s, 51), "");
}

}  // namespace
}  // namespace vellano::platform

namespace vellano::platform {
namespace {

// Spans along a row are clipped to it once; every cell outside the span keeps its default.
TEST(ScreenBuffer, SpansAreClippedToTheirRow) {
  struct Case {
    int row, col, count;
    int firstCol, cells;  // what is written
  } cases[] = {
      {3, 10, 5, 10, 5},        {3, 118, 10, 118, 3},       {3, -4, 8, 1, 3},
      {3, 1, 120, 1, 120},      {3, 121, 5, 0, 0},          {0, 1, 5, 0, 0},
      {51, 1, 5, 0, 0},         {3, 5, 0, 0, 0},            {3, 5, -3, 0, 0},
      {3, INT_MIN, 5, 0, 0},    {3, INT_MAX, 5, 0, 0},      {3, 1, INT_MAX, 1, 120},
  };
  for (const Case& c : cases) {
    for (int kind = 0; kind < 3; ++kind) {
      ScreenBuffer s;
      if (kind == 0) s.fill(c.row, c.col, c.count, 'x', 0x1E);
      if (kind == 1) s.recolour(c.row, c.col, c.count, 0x1E);
      if (kind == 2 && c.count >= 0 && c.count <= 200) s.putText(c.row, c.col, std::string(static_cast<std::size_t>(c.count), 'x'), 0x1E);
      if (kind == 2 && (c.count < 0 || c.count > 200)) continue;
      SCOPED_TRACE(testing::Message() << "row " << c.row << " col " << c.col << " count " << c.count << " kind " << kind);
      EXPECT_EQ(changedCells(s), c.cells);
      for (int k = 0; k < c.cells; ++k) {
        const Cell& cell = s.at(c.row, c.firstCol + k);
        EXPECT_EQ(cell.attr, 0x1E);
        EXPECT_EQ(cell.ch, kind == 1 ? ' ' : 'x');
      }
    }
  }
}

TEST(ScreenBuffer, RectangleFillStaysInsideItsColumns) {
  ScreenBuffer s;
  s.fill(2, 3, 60, 119, '.', 0x30);  // rows past the bottom are dropped
  EXPECT_EQ(changedCells(s), 49 * 117);
  EXPECT_EQ(s.at(2, 2), Cell{});
  EXPECT_EQ(s.at(2, 120), Cell{});
  EXPECT_EQ(s.at(50, 3), (Cell{'.', 0x30}));
  EXPECT_EQ(s.at(50, 119), (Cell{'.', 0x30}));
  ScreenBuffer t;
  t.fill(5, 10, 4, 20, '.', 0x30);  // bottom above top: nothing
  EXPECT_EQ(changedCells(t), 0);
}

// A run copied onto rows matches the same cells put one at a time: clipped at every edge, and
// whole rows (copied in doubling blocks) for every count of rows.
TEST(ScreenBuffer, RunsOnRowsMatchCellByCellPuts) {
  struct Case {
    int top, bottom, col, length;
  } cases[] = {
      {3, 7, 10, 20},   {3, 3, 10, 20},   {-2, 4, 5, 9},    {47, 60, 5, 9},   {3, 7, -5, 12},
      {3, 7, 110, 20},  {3, 7, 121, 5},   {3, 7, 1, 0},     {7, 3, 1, 120},   {1, 1, 1, 120},
      {1, 2, 1, 120},   {2, 4, 1, 120},   {2, 49, 1, 120},  {1, 50, 1, 120},  {0, 51, 0, 122},
      {2, 9, 1, 119},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rows " << c.top << "-" << c.bottom << " col " << c.col << " length " << c.length);
    std::vector<Cell> run;
    for (int k = 0; k < c.length; ++k)
      run.push_back(Cell{static_cast<std::uint8_t>('A' + k % 26), static_cast<std::uint8_t>(k % 7 + 1)});
    ScreenBuffer expected;
    for (int r = c.top; r <= c.bottom; ++r)
      for (int k = 0; k < c.length; ++k) expected.put(r, c.col + k, run[static_cast<std::size_t>(k)].ch, run[static_cast<std::size_t>(k)].attr);
    ScreenBuffer s;
    s.putRows(c.top, c.bottom, c.col, run);
    EXPECT_TRUE(s == expected);
  }
}

}  // namespace
}  // namespace vellano::platform
