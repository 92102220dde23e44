// The vertical menu: movement over separators, hot letters, the leaving keys and the drawing.
#include "screen/menu.h"

#include <gtest/gtest.h>

#include "support/screen_helpers.h"

namespace vellano::screen {
namespace {

using testing::cellText;
using testing::ScriptedConsole;

WindowDescriptor menuBox() {
  WindowDescriptor d;
  d.top = 4;
  d.left = 10;
  d.bottom = 12;
  d.right = 40;
  d.borderStyle = 2;
  return d;
}

const MenuColours kColours{0x1F, 0x4E, 0x1C};

// 1 Clienti, 2 separator, 3 Fornitori, 4 Tabella Iva, 5 separator, 6 Stampe--->, 7 separator
std::vector<MenuItem> sampleItems() {
  return {
      {"Clienti", 1, false},     {"", 0, true},           {"Fornitori", 1, false}, {"tabella Iva", 9, false},
      {"", 0, true},             {"Stampe--->", 1, false}, {"", 0, true},
  };
}

struct MenuCase {
  const char* name;
  int current;
  const char* keys;
  int result;
  int currentAfter;
  int beeps;
};

TEST(Menu, KeysMoveChooseAndLeave) {
  const MenuCase cases[] = {
      {"enter keeps the highlighted item", 3, "<ENTER>", 3, 3, 0},
      {"down skips a separator", 1, "<DOWN> <ENTER>", 3, 3, 0},
      {"down from a separator", 2, "<DOWN> <ENTER>", 3, 3, 0},
      {"down from the last separator wraps", 7, "<DOWN> <ENTER>", 1, 1, 0},
      {"up from a separator", 5, "<UP> <ENTER>", 4, 4, 0},
      {"up from the first wraps to the last selectable", 1, "<UP> <ENTER>", 6, 6, 0},
      {"end and page down go to the last selectable", 1, "<END> <ENTER>", 6, 6, 0},
      {"page down", 3, "<PGDN> <ENTER>", 6, 6, 0},
      {"home and page up go to the first selectable", 6, "<HOME> <ENTER>", 1, 1, 0},
      {"page up", 6, "<PGUP> <ENTER>", 1, 1, 0},
      {"hot letter in lower case", 1, "\"f\"", 3, 3, 0},
      {"hot letter in capitals", 1, "\"S\"", 6, 6, 0},
      {"hot letter inside the text", 1, "\"i\"", 4, 4, 0},
      {"unknown letter beeps", 1, "\"q\" <ENTER>", 1, 1, 1},
      {"enter on a separator beeps", 2, "<ENTER> <DOWN> <ENTER>", 3, 3, 1},
      {"out-of-range current starts on the first selectable", 40, "<ENTER>", 1, 1, 0},
      {"esc keeps the position reached", 1, "<DOWN> <DOWN> <ESC>", kMenuEsc, 4, 0},
      {"left", 3, "<LEFT>", kMenuLeft, 3, 0},
      {"right", 3, "<RIGHT>", kMenuRight, 3, 0},
      {"alt-x", 3, "<ALT-X>", kMenuAltX, 3, 0},
      {"other keys beep", 1, "<F5> <TAB> <ENTER>", 1, 1, 2},
  };
  for (const MenuCase& k : cases) {
    SCOPED_TRACE(k.name);
    ScriptedConsole sc(k.keys);
    int current = k.current;
    EXPECT_EQ(runMenu(sc.console(), menuBox(), sampleItems(), kColours, current), k.result);
    EXPECT_EQ(current, k.currentAfter);
    EXPECT_EQ(sc.console().beepCount(), k.beeps);
  }
}

TEST(Menu, FirstHotLetterMatchWins) {
  const std::vector<MenuItem> items = {
      {"Uno", 1, false}, {"", 0, true}, {"Ultimo", 1, false}, {"Usa", 1, false},
  };
  ScriptedConsole sc("\"u\"");
  int current = 4;
  EXPECT_EQ(runMenu(sc.console(), menuBox(), items, kColours, current), 1);
}

TEST(Menu, HotLetterOfASeparatorIsNotChosen) {
  const std::vector<MenuItem> items = {{"Alfa", 1, false}, {"Xsep", 1, true}, {"Beta", 1, false}};
  ScriptedConsole sc("\"x\" <ENTER>");
  int current = 1;
  EXPECT_EQ(runMenu(sc.console(), menuBox(), items, kColours, current), 1);
  EXPECT_EQ(sc.console().beepCount(), 1);
}

TEST(Menu, NothingSelectableReturnsAtOnce) {
  const std::vector<std::vector<MenuItem>> lists = {{}, {{"", 0, true}, {"---", 0, true}}};
  for (const auto& items : lists) {
    ScriptedConsole sc("");  // reading a key would throw
    int current = 1;
    EXPECT_EQ(runMenu(sc.console(), menuBox(), items, kColours, current), kMenuNothingSelectable);
  }
}

TEST(Menu, DrawsRowsHighlightHotLettersAndSeparators) {
  // The screen is checked as presented while the menu waits for its last key.
  ScriptedConsole sc("<DOWN> <ENTER>");
  int current = 1;
  ASSERT_EQ(runMenu(sc.console(), menuBox(), sampleItems(), kColours, current), 3);
  const platform::ScreenBuffer& s = sc.backend().lastScreen();
  const int width = 29;  // columns 11-39
  EXPECT_EQ(cellText(s, 5, 11, width), "Clienti" + std::string(width - 7, ' '));
  EXPECT_EQ(cellText(s, 6, 11, width), std::string(25, '\xC4') + std::string(width - 25, ' '));
  EXPECT_EQ(cellText(s, 10, 11, width), "Stampe--->" + std::string(width - 10, ' '));
  // Item 3 highlighted over the whole row, its hot letter in the hot foreground.
  EXPECT_EQ(s.at(7, 11).attr, 0x4C);
  EXPECT_EQ(s.at(7, 12).attr, 0x4E);
  EXPECT_EQ(s.at(7, 39).attr, 0x4E);
  // Item 1 back to normal; item 4's hot letter is its ninth character.
  EXPECT_EQ(s.at(5, 11).attr, 0x1C);
  EXPECT_EQ(s.at(5, 12).attr, 0x1F);
  EXPECT_EQ(s.at(8, 19).attr, 0x1C);
  EXPECT_EQ(s.at(8, 18).attr, 0x1F);
  EXPECT_EQ(s.at(6, 11).attr, 0x1F);
  // Nothing is written on the frame.
  EXPECT_EQ(s.at(5, 10).attr, 0x07);
  EXPECT_EQ(s.at(5, 40).attr, 0x07);
}

TEST(Menu, ItemsBeyondTheWindowAreNotDrawnOverItsFrame) {
  WindowDescriptor d = menuBox();
  d.bottom = 7;  // rows 5 and 6 inside
  ScriptedConsole sc("<END> <ENTER>");
  int current = 1;
  EXPECT_EQ(runMenu(sc.console(), d, sampleItems(), kColours, current), 6);
  EXPECT_EQ(cellText(sc.screen(), 7, 11, 3), "   ");
  EXPECT_EQ(sc.screen().at(7, 11).attr, 0x07);
  EXPECT_EQ(sc.screen().at(10, 11).attr, 0x07);
}

}  // namespace
}  // namespace vellano::screen
