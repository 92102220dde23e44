// Windows: frames of every border style, titles and their cutting, close box, shadows, and the
// screen given back exactly when windows close.
#include "screen/window.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "support/screen_helpers.h"

namespace vellano::screen {
namespace {

using platform::Cell;
using platform::ScreenBuffer;
using testing::cellText;
using testing::fillPattern;

WindowDescriptor box(int top, int left, int bottom, int right) {
  WindowDescriptor d;
  d.top = static_cast<std::uint8_t>(top);
  d.left = static_cast<std::uint8_t>(left);
  d.bottom = static_cast<std::uint8_t>(bottom);
  d.right = static_cast<std::uint8_t>(right);
  d.borderStyle = 1;
  d.shadowAttr = 0x08;
  d.interiorAttr = 0xF0;
  d.borderAttr = 0xF8;
  d.titleAttr = 0xF4;
  return d;
}

bool insideFrame(const WindowDescriptor& d, int r, int c) {
  return r >= d.top && r <= d.bottom && c >= d.left && c <= d.right;
}

TEST(Window, EveryBorderStyleDrawsItsCornersAndEdges) {
  // top-left, bottom-left, top-right, bottom-right, left, right, top, bottom
  const char* const expected[kBorderStyleCount] = {
      "\x20\x20\x20\x20\x20\x20\x20\x20", "\xda\xc0\xbf\xd9\xb3\xb3\xc4\xc4", "\xc9\xc8\xbb\xbc\xba\xba\xcd\xcd",
      "\xd6\xd3\xb7\xbd\xba\xba\xc4\xc4", "\xd5\xd4\xb8\xbe\xb3\xb3\xcd\xcd", "\xd6\xd3\xbf\xd9\xba\xb3\xc4\xc4",
      "\xda\xc0\xb7\xbd\xb3\xba\xc4\xc4", "\xd5\xc0\xb8\xd9\xb3\xb3\xcd\xc4", "\xda\xd4\xbf\xbe\xb3\xb3\xc4\xcd",
      "\xd5\xd4\xbb\xbc\xb3\xba\xcd\xcd", "\xc9\xc8\xb8\xbe\xba\xb3\xcd\xcd", "\xd6\xc8\xb7\xbc\xba\xba\xc4\xcd",
      "\xc9\xd3\xbb\xbd\xba\xba\xcd\xc4", "\xdb\xdb\xdb\xdb\xdb\xdb\xdb\xdb", "\xdc\xdf\xdc\xdf\xdd\xde\xdc\xdf",
      "\xdc\xdf\xdc\xdf\xdb\xdb\xdc\xdf", "\x20\x20\x20\x20\x20\x20\xc4\xc4", "\xb3\xb3\xb3\xb3\xb3\xb3\x20\x20",
      "\x20\x20\x20\x20\x20\x20\xcd\xcd", "\xba\xba\xba\xba\xba\xba\x20\x20",
  };
  for (int style = 0; style < kBorderStyleCount; ++style) {
    SCOPED_TRACE(style);
    ScreenBuffer s;
    s.fill('.', 0x07);
    WindowDescriptor d = box(5, 10, 12, 40);
    d.borderStyle = static_cast<std::uint8_t>(style);
    Window w(s, d, "");
    const std::string e = expected[style];
    const std::pair<int, int> cells[8] = {{5, 10}, {12, 10}, {5, 40}, {12, 40}, {8, 10}, {8, 40}, {5, 25}, {12, 25}};
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(s.at(cells[i].first, cells[i].second).ch, static_cast<std::uint8_t>(e[static_cast<std::size_t>(i)]))
          << "cell " << i;
      EXPECT_EQ(s.at(cells[i].first, cells[i].second).attr, 0xF8) << "cell " << i;
    }
    // Whole edges, not just one cell of each.
    EXPECT_EQ(cellText(s, 5, 11, 29), std::string(29, e[6]));
    EXPECT_EQ(cellText(s, 12, 11, 29), std::string(29, e[7]));
  }
}

TEST(Window, UnknownBorderStyleDrawsBlanks) {
  ScreenBuffer s;
  s.fill('.', 0x07);
  WindowDescriptor d = box(5, 10, 12, 40);
  d.borderStyle = 77;
  Window w(s, d);
  EXPECT_EQ(s.at(5, 10), (Cell{' ', 0xF8}));
  EXPECT_EQ(s.at(12, 40), (Cell{' ', 0xF8}));
}

TEST(Window, InteriorIsClearedAndNothingElseChanges) {
  ScreenBuffer s;
  fillPattern(s);
  const ScreenBuffer before = s;
  const WindowDescriptor d = box(5, 10, 12, 40);
  Window w(s, d);
  for (int r = 1; r <= platform::kRows; ++r)
    for (int c = 1; c <= platform::kCols; ++c) {
      if (r > d.top && r < d.bottom && c > d.left && c < d.right) {
        ASSERT_EQ(s.at(r, c), (Cell{' ', 0xF0})) << r << "," << c;
      } else if (insideFrame(d, r, c)) {
        ASSERT_EQ(s.at(r, c).attr, 0xF8) << r << "," << c;
      } else {
        ASSERT_EQ(s.at(r, c), before.at(r, c)) << r << "," << c;
      }
    }
}

struct TitleCase {
  const char* name;
  int position;
  bool closeBox;
  const char* title;
  int row, col;
  bool vertical;
  const char* shown;  // with the blank on each side, except down a side
};

TEST(Window, TitlesAreCutAndPlaced) {
  // Frame from column 10 to 40, rows 5 to 12: a horizontal title holds 40 - 10 - 5 = 25
  // characters, 21 beside a close box; a vertical one holds 12 - 5 - 1 = 6.
  const char* longTitle = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  const TitleCase cases[] = {
      {"centred, cut to 25", 2, false, longTitle, 5, 12, false, " ABCDEFGHIJKLMNOPQRSTUVWXY "},
      {"centred beside close box, cut to 21", 2, true, longTitle, 5, 14, false, " ABCDEFGHIJKLMNOPQRSTU "},
      {"bottom centre ignores close box", 5, true, longTitle, 12, 12, false, " ABCDEFGHIJKLMNOPQRSTUVWXY "},
      {"centred short", 2, false, "Clienti", 5, 21, false, " Clienti "},
      {"top left", 1, false, "Clienti", 5, 11, false, " Clienti "},
      {"top left moved past close box", 1, true, "Clienti", 5, 13, false, " Clienti "},
      {"top right", 3, false, "Clienti", 5, 31, false, " Clienti "},
      {"bottom left with close box", 4, true, "Clienti", 12, 11, false, " Clienti "},
      {"bottom right", 6, false, "Clienti", 12, 31, false, " Clienti "},
      {"left side, centred in the rows inside", 7, false, "AB", 8, 10, true, "AB"},
      {"right side cut to 6", 8, false, "ABCDEFGHIJ", 6, 40, true, "ABCDEF"},
      {"left side, odd room", 7, false, "ABC", 7, 10, true, "ABC"},
  };
  for (const TitleCase& t : cases) {
    SCOPED_TRACE(t.name);
    ScreenBuffer s;
    WindowDescriptor d = box(5, 10, 12, 40);
    d.titlePosition = static_cast<std::uint8_t>(t.position);
    d.closeBox = t.closeBox ? 1 : 0;
    Window w(s, d, t.title);
    const std::string shown = t.shown;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const int r = t.vertical ? t.row + static_cast<int>(i) : t.row;
      const int c = t.vertical ? t.col : t.col + static_cast<int>(i);
      EXPECT_EQ(s.at(r, c), (Cell{static_cast<std::uint8_t>(shown[i]), 0xF4})) << "at " << r << "," << c;
    }
    if (t.closeBox) {
      // The line after the box gives way to a title that starts there.
      EXPECT_EQ(cellText(s, 5, 10, 4), t.row == 5 && t.col == 13 ? "[\xFE] " : "[\xFE]\xC4");
    }
    if (t.vertical) {
      // The corners stay.
      EXPECT_EQ(s.at(5, t.col).attr, 0xF8);
      EXPECT_EQ(s.at(12, t.col).attr, 0xF8);
    } else {
      // The cells either side of the title keep the frame.
      EXPECT_NE(s.at(t.row, t.col - 1).attr, 0xF4);
      EXPECT_EQ(s.at(t.row, t.col + static_cast<int>(shown.size())).attr, 0xF8);
      EXPECT_EQ(s.at(t.row, 40).ch, t.row == 5 ? 0xBF : 0xD9);
    }
  }
}

using Strip = std::pair<std::pair<int, int>, std::pair<int, int>>;  // rows from-to, columns from-to

TEST(Window, ShadowsOneToFourRecolourCellsAndKeepTheirCharacters) {
  // Frame rows 10-15, columns 20-50.
  struct Case {
    int position;
    Strip vertical, horizontal;
  };
  const Case cases[] = {
      {1, {{11, 16}, {19, 19}}, {{16, 16}, {20, 49}}},
      {2, {{11, 16}, {51, 51}}, {{16, 16}, {21, 50}}},
      {3, {{9, 14}, {19, 19}}, {{9, 9}, {19, 48}}},
      {4, {{9, 14}, {51, 51}}, {{9, 9}, {22, 51}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.position);
    ScreenBuffer s;
    fillPattern(s);
    const ScreenBuffer before = s;
    WindowDescriptor d = box(10, 20, 15, 50);
    d.shadowPosition = static_cast<std::uint8_t>(k.position);
    Window w(s, d);
    std::set<std::pair<int, int>> shadow;
    for (const Strip& strip : {k.vertical, k.horizontal})
      for (int r = strip.first.first; r <= strip.first.second; ++r)
        for (int c = strip.second.first; c <= strip.second.second; ++c) shadow.insert({r, c});
    for (int r = 1; r <= platform::kRows; ++r)
      for (int c = 1; c <= platform::kCols; ++c) {
        if (insideFrame(d, r, c)) continue;
        const Cell expected = shadow.count({r, c}) ? Cell{before.at(r, c).ch, 0x08} : before.at(r, c);
        ASSERT_EQ(s.at(r, c), expected) << r << "," << c;
      }
  }
}

TEST(Window, ShadowsFiveToEightAreBlockColumnsBesideTheFrame) {
  // Frame rows 10-15, columns 20-50: lower half block, full blocks, upper half block.
  struct Case {
    int position;
    int col, firstRow, lastRow;
  };
  const Case cases[] = {{5, 19, 10, 16}, {6, 51, 10, 16}, {7, 19, 9, 15}, {8, 51, 9, 15}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.position);
    ScreenBuffer s;
    fillPattern(s);
    const ScreenBuffer before = s;
    WindowDescriptor d = box(10, 20, 15, 50);
    d.shadowPosition = static_cast<std::uint8_t>(k.position);
    Window w(s, d);
    for (int r = 1; r <= platform::kRows; ++r)
      for (int c = 1; c <= platform::kCols; ++c) {
        if (insideFrame(d, r, c)) continue;
        Cell expected = before.at(r, c);
        if (c == k.col && r >= k.firstRow && r <= k.lastRow)
          expected = Cell{static_cast<std::uint8_t>(r == k.firstRow ? 0xDC : r == k.lastRow ? 0xDF : 0xDB), 0x08};
        ASSERT_EQ(s.at(r, c), expected) << r << "," << c;
      }
  }
}

TEST(Window, ClosingRestoresTheScreenExactlyAlsoWhenNested) {
  ScreenBuffer s;
  fillPattern(s);
  const ScreenBuffer original = s;
  {
    WindowDescriptor outer = box(3, 5, 30, 80);
    outer.shadowPosition = 2;
    outer.titlePosition = 2;
    Window a(s, outer, "Esterna");
    const ScreenBuffer withOuter = s;
    EXPECT_NE(withOuter, original);
    {
      WindowDescriptor inner = box(10, 60, 40, 110);  // overlaps the outer window and its shadow
      inner.shadowPosition = 6;
      inner.closeBox = 1;
      Window b(s, inner, "Interna");
      EXPECT_NE(s, withOuter);
    }
    EXPECT_EQ(s, withOuter);
  }
  EXPECT_EQ(s, original);
}

TEST(Window, WindowsAtOrBeyondTheEdgesStayInsideTheBuffer) {
  const std::string longTitle(300, 'T');
  struct Case {
    const char* name;
    int top, left, bottom, right;
  };
  const Case cases[] = {
      {"full screen", 1, 1, 50, 120},      {"past every edge", 0, 0, 255, 255}, {"bottom-right corner", 45, 100, 60, 140},
      {"single cell", 50, 120, 50, 120},   {"upside down", 40, 100, 10, 20},    {"zero everything", 0, 0, 0, 0},
  };
  for (const Case& k : cases) {
    for (int shadow = 0; shadow <= 8; ++shadow)
      for (int title = 0; title <= 8; ++title) {
        SCOPED_TRACE(std::string(k.name) + " shadow " + std::to_string(shadow) + " title " + std::to_string(title));
        ScreenBuffer s;
        fillPattern(s);
        const ScreenBuffer original = s;
        WindowDescriptor d = box(k.top, k.left, k.bottom, k.right);
        d.shadowPosition = static_cast<std::uint8_t>(shadow);
        d.titlePosition = static_cast<std::uint8_t>(title);
        d.closeBox = 1;
        {
          Window w(s, d, longTitle);
        }
        ASSERT_EQ(s, original);
      }
  }
  // The full-screen window draws its four corners on the screen's own corners.
  ScreenBuffer s;
  Window w(s, box(1, 1, 50, 120));
  EXPECT_EQ(s.at(1, 1).ch, 0xDA);
  EXPECT_EQ(s.at(50, 1).ch, 0xC0);
  EXPECT_EQ(s.at(1, 120).ch, 0xBF);
  EXPECT_EQ(s.at(50, 120).ch, 0xD9);
}

}  // namespace
}  // namespace vellano::screen
