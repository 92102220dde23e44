// The field editor: preparation, exit keys under the key mask and page-key modes, editing
// keys, numeric rules and the redisplay on exit.
#include "screen/field_editor.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/screen_helpers.h"

namespace vellano::screen {
namespace {

using platform::Key;
using platform::KeyEvent;
using testing::cellText;
using testing::keyItem;
using testing::ScriptedConsole;

constexpr int kRow = 10;
constexpr int kCol = 20;
constexpr std::uint8_t kEditing = 0x1E;
constexpr std::uint8_t kNormal = 0x70;

struct EditCase {
  const char* name;
  int length;
  const char* initial;
  const char* keys;
  const char* text;   // returned
  int code;
  int beeps;
  const char* shown;  // the field on screen after exit
  const char* mask = nullptr;
  int pageMode = 0;
  bool capitals = false;
};

void runCases(const std::vector<EditCase>& cases) {
  for (const EditCase& k : cases) {
    SCOPED_TRACE(k.name);
    ScriptedConsole sc(k.keys);
    sc.console().setCursor(kRow, kCol);
    FieldEditor editor(sc.console());
    editor.setColours(kEditing, kNormal);
    if (k.mask) editor.setKeyMask(k.mask);
    editor.setPageKeyMode(k.pageMode);
    editor.setCapitals(k.capitals);
    const FieldResult r = editor.edit(k.length, k.initial);
    EXPECT_EQ(r.text, k.text);
    EXPECT_EQ(r.exitCode, k.code);
    EXPECT_EQ(sc.console().beepCount(), k.beeps);
    const std::string shown = k.shown;
    EXPECT_EQ(cellText(sc.screen(), kRow, kCol, static_cast<int>(shown.size())), shown);
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) EXPECT_EQ(sc.screen().at(kRow, kCol + i).attr, kNormal);
    EXPECT_EQ(sc.backend().pending(), 0u) << "keys left over";
  }
}

TEST(FieldEditor, NumericFields) {
  runCases({
      {"zero starts empty, 12.5 shown through ######.#", 8, "0", "\"12.5\" <ENTER>", "12.5    ", 0, 0, "    12.5"},
      {"leading zero not shown but returned", 6, "010111", "<ENTER>", "010111", 0, 0, " 10111"},
      {"minus in position 2 beeps", 6, "", "\"5-\" <ENTER>", "5     ", 0, 1, "     5"},
      {"minus in position 1 accepted, negative shown blank", 6, "", "\"-5\" <ENTER>", "-5    ", 0, 0, "      "},
      {"plus refused without page keys", 6, "", "\"+1\" <ENTER>", "1     ", 0, 1, "     1"},
      {"letters refused", 6, "", "\"1a\" <ENTER>", "1     ", 0, 1, "     1"},
      {"second point refused", 8, "", "\"1.2.3\" <ENTER>", "1.23    ", 0, 1, "    1.23"},
      {"removed point may be typed again", 8, "", "\"1.2\" <BS> <BS> \".5\" <ENTER>", "1.5     ", 0, 0, "     1.5"},
      {"point without decimals shows none", 6, "", "\"12.\" <ENTER>", "12.   ", 0, 0, "    12"},
      {"value below one", 6, "", "\".5\" <ENTER>", ".5    ", 0, 0, "   0.5"},
      {"nothing may go in front of a minus", 6, "-5", "<INS> \"1\" <ENTER>", "-5    ", 0, 1, "      "},
      {"initial zero with decimals starts empty", 6, "0.00", "<ENTER>", "", 0, 0, "      "},
      {"esc still redisplays", 6, "", "\"7\" <ESC>", "7     ", 10, 0, "     7"},
  });
}

TEST(FieldEditor, ExitKeysFollowMaskAndPageKeyMode) {
  runCases({
      {"F5 beeps and F4 ends under the default mask", -10, "abc", "<F5> <F4>", "abc       ", 4, 1, "abc       "},
      {"F1 shares code 1 with Up", -3, "a", "<F1>", "a  ", 1, 0, "a  "},
      {"Up allowed by default", -3, "a", "<UP>", "a  ", 1, 0, "a  "},
      {"Up refused by the mask", -3, "a", "<UP> <ENTER>", "a  ", 0, 1, "a  ", "01110011111"},
      {"F10 by default", -3, "a", "<F10>", "a  ", 10, 0, "a  "},
      {"F6 refused by default", -3, "a", "<F6> <F7>", "a  ", 7, 1, "a  "},
      {"short mask refuses the rest", -3, "a", "<F9> <F2>", "a  ", 2, 1, "a  ", "11"},
      {"esc ends whatever the mask", -3, "a", "<F10> <ESC>", "a  ", 10, 1, "a  ", "00000000000"},
      {"down ends like enter", -3, "a", "<DOWN>", "a  ", 0, 0, "a  "},
      {"tab", -3, "a", "<TAB>", "a  ", 13, 0, "a  "},
      {"plus ends a numeric field in page mode 1", 6, "12", "\"+\"", "12    ", 14, 0, "    12", nullptr, 1},
      {"minus ends in page mode 1", 6, "12", "\"-\"", "12    ", 13, 0, "    12", nullptr, 1},
      {"PgUp in page mode 1", -3, "a", "<PGUP>", "a  ", 11, 0, "a  ", nullptr, 1},
      {"PgDn in page mode 1", -3, "a", "<PGDN>", "a  ", 12, 0, "a  ", nullptr, 1},
      {"PgUp refused without page keys", -3, "a", "<PGUP> <ENTER>", "a  ", 0, 1, "a  "},
      {"F11 refused in page mode 1", -3, "a", "<F11> <ENTER>", "a  ", 0, 1, "a  ", nullptr, 1},
      {"F11 in page mode 2", -3, "a", "<F11>", "a  ", 11, 0, "a  ", nullptr, 2},
      {"F12 in page mode 2", -3, "a", "<F12>", "a  ", 12, 0, "a  ", nullptr, 2},
      {"PgDn refused in page mode 2", -3, "a", "<PGDN> <ENTER>", "a  ", 0, 1, "a  ", nullptr, 2},
      {"plus is a character in page mode 2", -3, "", "\"+\" <ENTER>", "+  ", 0, 0, "+  ", nullptr, 2},
      {"mask position 11 refuses PgUp", -3, "a", "<PGUP> <PGDN>", "a  ", 12, 1, "a  ", "11110011110", 1},
  });
}

TEST(FieldEditor, EditingKeys) {
  runCases({
      {"typing overwrites from position 1", -5, "abc", "\"X\" <ENTER>", "Xbc  ", 0, 0, "Xbc  "},
      {"insert", -5, "abc", "<INS> \"X\" <ENTER>", "Xabc ", 0, 0, "Xabc "},
      {"another extended key ends insert mode", -5, "abc", "<INS> \"X\" <RIGHT> \"Y\" <ENTER>", "XaYc ", 0, 0, "XaYc "},
      {"backspace keeps insert mode", -5, "abc", "<INS> \"X\" <BS> \"Y\" <ENTER>", "Yabc ", 0, 0, "Yabc "},
      {"end appends", -5, "abc", "<END> \"d\" <ENTER>", "abcd ", 0, 0, "abcd "},
      {"home", -5, "abc", "<END> <HOME> \"Z\" <ENTER>", "Zbc  ", 0, 0, "Zbc  "},
      {"ctrl-end goes to position 1", -5, "abc", "<END> <CTRL-END> \"Z\" <ENTER>", "Zbc  ", 0, 0, "Zbc  "},
      {"overwrite beyond the field beeps", -3, "abc", "<END> \"d\" <ENTER>", "abc", 0, 1, "abc"},
      {"insert into a full field beeps", -3, "abc", "<INS> \"d\" <ENTER>", "abc", 0, 1, "abc"},
      {"left at position 1 beeps", -5, "abc", "<LEFT> <ENTER>", "abc  ", 0, 1, "abc  "},
      {"left then type", -5, "abc", "<END> <LEFT> \"Z\" <ENTER>", "abZ  ", 0, 0, "abZ  "},
      {"right stops after the last character", -5, "ab", "<RIGHT> <RIGHT> <RIGHT> \"c\" <ENTER>", "abc  ", 0, 1,
       "abc  "},
      {"delete under the cursor", -5, "abc", "<RIGHT> <DEL> <ENTER>", "ac   ", 0, 0, "ac   "},
      {"delete of a single character empties", -5, "a", "<DEL> <ENTER>", "", 0, 0, "     "},
      {"delete beyond the end beeps", -5, "abc", "<END> <DEL> <ENTER>", "abc  ", 0, 1, "abc  "},
      {"backspace", -5, "abc", "<END> <BS> <ENTER>", "ab   ", 0, 0, "ab   "},
      {"backspace at position 1 deletes", -5, "abc", "<BS> <ENTER>", "bc   ", 0, 0, "bc   "},
      {"backspace of a single character empties", -5, "a", "<END> <BS> \"z\" <ENTER>", "z    ", 0, 0, "z    "},
      {"ctrl-del empties", -5, "abc", "<END> <CTRL-DEL> \"z\" <ENTER>", "z    ", 0, 0, "z    "},
      {"capitals", -5, "", "\"ab1\" <ENTER>", "AB1  ", 0, 0, "AB1  ", nullptr, 0, true},
      {"text trimmed and cut", -4, "  abcdef  ", "<ENTER>", "abcd", 0, 0, "abcd"},
      {"blank text returns empty", -4, "    ", "\"  \" <ENTER>", "", 0, 0, "    "},
      {"length 0 takes the initial length", 0, "abc", "\"x\" <ENTER>", "xbc", 0, 0, "xbc"},
      {"length 0 and no text: one character", 0, "", "\"xy\" <ENTER>", "x", 0, 1, "x"},
  });
}

TEST(FieldEditor, ShowsDotsAndCursorWhileEditing) {
  ScriptedConsole sc("\"ab\" <ENTER>");
  sc.console().setCursor(kRow, kCol);
  FieldEditor editor(sc.console());
  editor.setColours(kEditing, kNormal);
  editor.edit(-5, "");
  // As presented before Enter was read.
  const platform::ScreenBuffer& s = sc.backend().lastScreen();
  EXPECT_EQ(cellText(s, kRow, kCol, 5), "ab\xFA\xFA\xFA");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(s.at(kRow, kCol + i).attr, kEditing);
  EXPECT_EQ(s.at(kRow, kCol + 5).attr, 0x07);
  EXPECT_EQ(sc.backend().lastCursor().row, kRow);
  EXPECT_EQ(sc.backend().lastCursor().col, kCol + 2);
  EXPECT_TRUE(sc.backend().lastCursor().visible);
}

TEST(FieldEditor, EscParksTheCursorAtTheOrigin) {
  struct Case {
    const char* keys;
    int row, col;
  };
  for (const Case& k : {Case{"\"ab\" <ESC>", 1, 1}, Case{"\"ab\" <ENTER>", kRow, kCol + 2}}) {
    SCOPED_TRACE(k.keys);
    ScriptedConsole sc(k.keys);
    sc.console().setCursor(kRow, kCol);
    FieldEditor editor(sc.console());
    editor.edit(-5, "");
    EXPECT_EQ(sc.console().cursor().row, k.row);
    EXPECT_EQ(sc.console().cursor().col, k.col);
  }
}

TEST(FieldEditor, RefusedControlCodesBeep) {
  std::vector<platform::ScriptItem> items;
  for (std::uint8_t c : {7, 10, 11, 12, 29, 30, 31, 0}) items.push_back(keyItem(KeyEvent::character(c)));
  items.push_back(keyItem(KeyEvent::character('a')));
  items.push_back(keyItem(KeyEvent::character(1)));  // not in the refused set
  items.push_back(keyItem(KeyEvent::extended(Key::Enter)));
  ScriptedConsole sc(std::move(items));
  FieldEditor editor(sc.console());
  const FieldResult r = editor.edit(-4, "");
  EXPECT_EQ(r.text, std::string("a\x01  "));
  EXPECT_EQ(sc.console().beepCount(), 8);
}

TEST(FieldEditor, CtrlWithDeleteEmptiesWhicheverCtrl) {
  for (std::uint8_t ctrl : {platform::kLeftCtrl, platform::kRightCtrl}) {
    ScriptedConsole sc(std::vector<platform::ScriptItem>{keyItem(KeyEvent::extended(Key::Del, ctrl)),
                                                         keyItem(KeyEvent::extended(Key::Enter))});
    FieldEditor editor(sc.console());
    EXPECT_EQ(editor.edit(-4, "abc").text, "");
  }
}

TEST(FieldEditor, NulInitialTextIsEmpty) {
  ScriptedConsole sc("\"x\" <ENTER>");
  FieldEditor editor(sc.console());
  EXPECT_EQ(editor.edit(-4, std::string(4, '\0')).text, "x   ");
}

TEST(FieldEditor, MouseEventShowsPositionAndLeavesTheField) {
  for (int displayRow : {0, 48}) {
    SCOPED_TRACE(displayRow);
    ScriptedConsole sc("\"ab\" <MOUSE 5 107> \"c\" <ENTER>");
    FieldEditor editor(sc.console());
    if (displayRow) editor.setMouseRow(displayRow);
    const int row = displayRow ? displayRow : 50;
    EXPECT_EQ(editor.edit(-5, "").text, "abc  ");
    EXPECT_EQ(cellText(sc.screen(), row, 93, 6), " 5-107");
    for (int i = 0; i < 6; ++i) EXPECT_EQ(sc.screen().at(row, 93 + i).attr, 0x87);
    EXPECT_EQ(sc.console().beepCount(), 0);
  }
}

TEST(FieldEditor, CapitalsServeOneCallWhileMaskAndPageModeStay) {
  ScriptedConsole sc("\"ab\" <ENTER> \"ab\" <ENTER> <PGDN>");
  FieldEditor editor(sc.console());
  editor.setCapitals(true);
  editor.setPageKeyMode(1);
  EXPECT_EQ(editor.edit(-2, "").text, "AB");
  EXPECT_FALSE(editor.capitals());
  EXPECT_EQ(editor.edit(-2, "").text, "ab");
  EXPECT_EQ(editor.edit(-2, "").exitCode, kExitPageDown);
}

TEST(FieldEditor, NamesTheModifierOfTheLastKey) {
  struct Case {
    std::uint8_t modifiers;
    const char* name;
  };
  const Case cases[] = {
      {0, ""},
      {platform::kLeftAlt, "LALT"},
      {platform::kRightCtrl, "RCTRL"},
      {platform::kLeftCtrl, "LCTRL"},
      {platform::kShift, "SHIFT"},
      {platform::kRightAlt, "RALT"},
      {platform::kShift | platform::kLeftAlt, "LALT"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ScriptedConsole sc(std::vector<platform::ScriptItem>{keyItem(KeyEvent::extended(Key::Enter, k.modifiers))});
    FieldEditor editor(sc.console());
    editor.edit(-2, "");
    EXPECT_EQ(editor.lastModifier(), k.name);
  }
}

TEST(FieldEditor, FieldsAtTheRightEdgeStayOnScreen) {
  ScriptedConsole sc("\"abcdefgh\" <ENTER>");
  sc.console().setCursor(50, 115);
  FieldEditor editor(sc.console());
  EXPECT_EQ(editor.edit(-30, "").text, "abcdefgh" + std::string(22, ' '));
  EXPECT_EQ(cellText(sc.screen(), 50, 115, 6), "abcdef");
  EXPECT_LE(sc.console().cursor().col, platform::kCols);
}

TEST(FieldEditor, OutOfRangeLengthsAreHeldToSixteenBits) {
  for (int length : {INT_MIN, INT_MAX, -32768}) {
    SCOPED_TRACE(length);
    ScriptedConsole sc("\"12\" <ENTER>");  // numeric or text, digits fit both
    FieldEditor editor(sc.console());
    const FieldResult r = editor.edit(length, "");
    EXPECT_EQ(r.text.size(), length > 0 ? 32767u : 32768u);
    EXPECT_EQ(r.text.substr(0, 3), "12 ");
  }
}

}  // namespace
}  // namespace vellano::screen
