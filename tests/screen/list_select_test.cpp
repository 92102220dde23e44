// The list-selection window: width from the entries, movement and scrolling, type-ahead search
// with wrap-around, and the screen given back on close.
#include "screen/list_select.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/screen_helpers.h"

namespace vellano::screen {
namespace {

using platform::Key;
using platform::KeyEvent;
using testing::cellText;
using testing::fillPattern;
using testing::ScriptedConsole;

constexpr std::uint8_t kHighlight = 0x4F;

// As the master-data search lists open it.
WindowDescriptor searchBox(int bottom = 43) {
  WindowDescriptor d;
  d.top = 1;
  d.left = 1;
  d.bottom = static_cast<std::uint8_t>(bottom);
  d.right = 0;
  d.borderStyle = 1;
  d.titlePosition = 1;
  d.shadowPosition = 2;
  d.shadowAttr = 0x08;
  d.interiorAttr = 0xF0;
  d.borderAttr = 0xF8;
  d.titleAttr = 0xF8;
  return d;
}

const std::vector<std::string> kNames = {"Rossi Mario", "Bianchi Luca", "Verdi Anna",
                                         "Bianco Carlo", "Neri Paolo",   "Zeta Spa"};

std::vector<std::string> numbered(int count) {
  std::vector<std::string> out;
  char buf[16];
  for (int i = 1; i <= count; ++i) {
    std::snprintf(buf, sizeof buf, "Voce %04d", i);
    out.emplace_back(buf);
  }
  return out;
}

struct ListCase {
  const char* name;
  int current;
  const char* keys;
  int result;
  int beeps;
};

TEST(ListSelect, KeysAndTypeAhead) {
  const ListCase cases[] = {
      {"enter chooses the highlighted entry", 2, "<ENTER>", 2, 0},
      {"down twice", 1, "<DOWN> <DOWN> <ENTER>", 3, 0},
      {"up at the first entry beeps", 1, "<UP> <ENTER>", 1, 1},
      {"down at the last entry beeps", 6, "<DOWN> <ENTER>", 6, 1},
      {"end", 1, "<END> <ENTER>", 6, 0},
      {"home", 5, "<HOME> <ENTER>", 1, 0},
      {"page keys stop at the ends", 3, "<PGDN> <PGUP> <PGDN> <ENTER>", 6, 0},
      {"current out of range is clamped", 99, "<ENTER>", 6, 0},
      {"esc", 3, "<DOWN> <ESC>", kListEsc, 0},
      {"first letter, any case", 1, "\"b\" <ENTER>", 2, 0},
      {"search text grows", 1, "\"bianco\" <ENTER>", 4, 0},
      {"search starts at the highlighted entry", 4, "\"bian\" <ENTER>", 4, 0},
      {"search wraps from the last entry to the first", 6, "\"r\" <ENTER>", 1, 0},
      {"search wraps to an earlier entry", 4, "\"v\" <ENTER>", 3, 0},
      {"no match beeps and the next letter starts anew", 1, "\"x\" \"n\" <ENTER>", 5, 1},
      {"a failed longer search starts anew", 1, "\"bx\" \"v\" <ENTER>", 3, 1},
      {"backspace clears the search", 1, "\"bi\" <BS> \"n\" <ENTER>", 5, 0},
      {"without backspace the search would fail", 1, "\"bin\" <ENTER>", 2, 1},
      {"movement clears the search", 1, "\"b\" <DOWN> \"v\" <ENTER>", 3, 0},
      {"other keys beep and clear the search", 1, "\"b\" <F5> \"z\" <ENTER>", 6, 1},
  };
  for (const ListCase& k : cases) {
    SCOPED_TRACE(k.name);
    ScriptedConsole sc(k.keys);
    EXPECT_EQ(selectFromList(sc.console(), kNames, k.current, searchBox(), "Clienti", kHighlight), k.result);
    EXPECT_EQ(sc.console().beepCount(), k.beeps);
  }
}

TEST(ListSelect, RightEdgeZeroFitsTheWidestEntry) {
  ScriptedConsole sc("");
  ListSelection list(sc.console(), kNames, 1, searchBox(), "Clienti", kHighlight);
  // "Bianchi Luca" and "Bianco Carlo" are 12 wide: right = 1 + (12 + 2) + 1.
  EXPECT_EQ(list.descriptor().right, 16);
  const platform::ScreenBuffer& s = sc.screen();
  EXPECT_EQ(s.at(1, 16).ch, 0xBF);
  EXPECT_EQ(s.at(43, 16).ch, 0xD9);
  EXPECT_EQ(cellText(s, 2, 2, 14), " Rossi Mario  ");
  EXPECT_EQ(cellText(s, 3, 2, 14), " Bianchi Luca ");
  EXPECT_EQ(cellText(s, 8, 2, 14), std::string(14, ' '));  // below the last entry
  for (int c = 2; c <= 15; ++c) {
    EXPECT_EQ(s.at(2, c).attr, kHighlight);
    EXPECT_EQ(s.at(3, c).attr, 0xF0);
  }
}

TEST(ListSelect, SearchTextShowsOnTheBottomFrame) {
  ScriptedConsole sc("");
  ListSelection list(sc.console(), kNames, 1, searchBox(), "Clienti", kHighlight);
  const platform::ScreenBuffer& s = sc.screen();
  list.step(KeyEvent::character('b'));
  list.step(KeyEvent::character('i'));
  EXPECT_EQ(list.current(), 2);
  EXPECT_EQ(list.searchText(), "bi");
  EXPECT_EQ(cellText(s, 43, 1, 4), "\xC0" "bi\xC4");
  EXPECT_EQ(s.at(43, 2).attr, 0xF8);
  // The highlight moved: only the old and the new row changed colour.
  EXPECT_EQ(s.at(2, 5).attr, 0xF0);
  EXPECT_EQ(s.at(3, 5).attr, kHighlight);
  list.step(KeyEvent::extended(Key::Backspace));
  EXPECT_EQ(list.searchText(), "");
  EXPECT_EQ(cellText(s, 43, 1, 4), "\xC0\xC4\xC4\xC4");
  EXPECT_EQ(s.at(43, 2).attr, 0xF8);
  // A failed search is wiped from the frame too.
  list.step(KeyEvent::character('q'));
  EXPECT_EQ(cellText(s, 43, 2, 1), "\xC4");
  EXPECT_EQ(list.current(), 2);
}

TEST(ListSelect, ScrollsToKeepTheHighlightVisible) {
  const std::vector<std::string> entries = numbered(100);
  ScriptedConsole sc("");
  ListSelection list(sc.console(), entries, 1, searchBox(12), "Voci", kHighlight);  // 10 rows: 2-11
  const platform::ScreenBuffer& s = sc.screen();
  struct Step {
    KeyEvent key;
    int current, first;
  };
  const Step steps[] = {
      {KeyEvent::extended(Key::PgDn), 11, 2},  {KeyEvent::extended(Key::End), 100, 91},
      {KeyEvent::extended(Key::PgUp), 90, 90}, {KeyEvent::extended(Key::Up), 89, 89},
      {KeyEvent::extended(Key::Home), 1, 1},   {KeyEvent::character('5'), 1, 1},
  };
  for (const Step& st : steps) {
    list.step(st.key);
    EXPECT_EQ(list.current(), st.current);
    EXPECT_EQ(list.firstVisible(), st.first);
    const int row = 2 + st.current - st.first;
    EXPECT_EQ(s.at(row, 3).attr, kHighlight);
    EXPECT_EQ(cellText(s, row, 3, 9), entries[static_cast<std::size_t>(st.current - 1)]);
    EXPECT_EQ(cellText(s, 2, 3, 9), entries[static_cast<std::size_t>(st.first - 1)]);
  }
}

TEST(ListSelect, TypeAheadReachesTheEndOfALongList) {
  const std::vector<std::string> entries = numbered(9999);
  ScriptedConsole sc("\"voce 9999\" <ENTER>");
  EXPECT_EQ(selectFromList(sc.console(), entries, 1, searchBox(), "Voci", kHighlight), 9999);
  ScriptedConsole again("\"voce 5\" <DOWN> <ENTER>");
  EXPECT_EQ(selectFromList(again.console(), entries, 9000, searchBox(), "Voci", kHighlight), 5001);
}

TEST(ListSelect, EmptyListOnlyLeavesWithEsc) {
  const std::vector<std::string> none;
  ScriptedConsole sc("<ENTER> \"a\" <DOWN> <END> <PGDN> <ESC>");
  EXPECT_EQ(selectFromList(sc.console(), none, 1, searchBox(), "Vuota", kHighlight), kListEsc);
  EXPECT_EQ(sc.console().beepCount(), 3);
}

TEST(ListSelect, ClosingRestoresTheScreen) {
  for (const char* keys : {"<ENTER>", "<ESC>", "\"b\" <ENTER>"}) {
    SCOPED_TRACE(keys);
    ScriptedConsole sc(keys);
    fillPattern(sc.screen());
    const platform::ScreenBuffer before = sc.screen();
    selectFromList(sc.console(), kNames, 1, searchBox(), "Clienti", kHighlight);
    EXPECT_EQ(sc.screen(), before);
  }
}

TEST(ListSelect, WindowsPastTheScreenEdgesAreSafe) {
  // Entries wider than the screen, a bottom beyond row 50, a window with no rows at all.
  const std::vector<std::string> wide = {std::string(400, 'W'), "x"};
  struct Case {
    int top, left, bottom;
  };
  for (const Case& k : {Case{1, 100, 80}, Case{45, 1, 255}, Case{10, 10, 11}, Case{10, 10, 10}}) {
    SCOPED_TRACE(k.top * 1000 + k.bottom);
    ScriptedConsole sc("\"x\" <END> <PGUP> <ENTER>");
    WindowDescriptor d = searchBox();
    d.top = static_cast<std::uint8_t>(k.top);
    d.left = static_cast<std::uint8_t>(k.left);
    d.bottom = static_cast<std::uint8_t>(k.bottom);
    EXPECT_EQ(selectFromList(sc.console(), wide, 1, d, std::string(300, 'T'), kHighlight), 1);
  }
}

}  // namespace
}  // namespace vellano::screen
