// The function-key panel: legend parsing, the column at 91 and the three-line grid.
#include "screen/function_keys.h"

#include <gtest/gtest.h>

#include "support/screen_helpers.h"

namespace vellano::screen {
namespace {

using platform::Cell;
using platform::ScreenBuffer;
using testing::cellText;
using testing::cp437;

const char* const kLegend =
    "1          |2Pagamenti |3Protocollo|4Ord Protoc|5          |6          |7          |8St Registr|9Ricerca   |"
    "Pag+-     |          ";

TEST(FunctionKeys, ParsesLabelsAndNotes) {
  struct Case {
    const char* name;
    const char* legend;
    int key;            // 1-9, or 10/11 for the notes
    const char* field;  // always 10 characters
  };
  const Case cases[] = {
      {"offered key", kLegend, 2, "Pagamenti "},
      {"blank key", kLegend, 1, "          "},
      {"last key", kLegend, 9, "Ricerca   "},
      {"first note", kLegend, 10, "Pag+-     "},
      {"second note", "1|2|3|4|5|6|7|8|9|8000+Codic|Cassa/Banc", 11, "Cassa/Banc"},
      {"short label padded", "1|2Ok", 2, "Ok        "},
      {"long label cut", "1|2Troppo lunga davvero", 2, "Troppo lun"},
      {"missing fields are blank", "1abc", 9, "          "},
      {"missing notes are blank", "1abc", 11, "          "},
      {"empty legend", "", 1, "          "},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const FunctionKeyLegend l = parseLegend(k.legend);
    const std::string& got = k.key <= 9 ? l.labels[static_cast<std::size_t>(k.key - 1)] : k.key == 10 ? l.note1 : l.note2;
    EXPECT_EQ(got, k.field);
  }
}

TEST(FunctionKeys, PanelShowsOfferedKeysInYellow) {
  ScreenBuffer s;
  FunctionKeyPanel(FunctionKeyLayout::Panel).show(s, kLegend);
  // Notes on rows 22 and 23.
  EXPECT_EQ(cellText(s, 22, 91, 10), "Pag+-     ");
  EXPECT_EQ(s.at(22, 91).attr, 0x9E);
  EXPECT_EQ(cellText(s, 23, 91, 10), std::string(10, ' '));
  EXPECT_EQ(s.at(23, 100).attr, 0x8E);
  // F1 not offered: magenta name, blank label row.
  EXPECT_EQ(cellText(s, 24, 91, 3), "F1 ");
  EXPECT_EQ(s.at(24, 91).attr, 0x95);
  EXPECT_EQ(cellText(s, 25, 91, 10), std::string(10, ' '));
  EXPECT_EQ(s.at(25, 91).attr, 0x8E);
  // F2 offered: yellow name on light blue, label on dark grey.
  EXPECT_EQ(cellText(s, 26, 91, 3), "F2 ");
  EXPECT_EQ(s.at(26, 91).attr, 0x9E);
  EXPECT_EQ(s.at(26, 93).attr, 0x9E);
  EXPECT_EQ(cellText(s, 27, 91, 10), "Pagamenti ");
  EXPECT_EQ(s.at(27, 91).attr, 0x8E);
  EXPECT_EQ(cellText(s, 40, 91, 3), "F9 ");
  EXPECT_EQ(cellText(s, 41, 91, 10), "Ricerca   ");
  EXPECT_EQ(s.at(38, 91).attr, 0x9E);  // F8 offered
  EXPECT_EQ(s.at(32, 91).attr, 0x95);  // F5 not offered
  EXPECT_EQ(cellText(s, 42, 91, 4), "ESC ");
  EXPECT_EQ(s.at(42, 91).attr, 0x95);
  // Nothing left of the panel, nothing below it.
  EXPECT_EQ(s.at(26, 90), (Cell{}));
  EXPECT_EQ(s.at(43, 91), (Cell{}));
}

TEST(FunctionKeys, NewLegendClearsTheOldOne) {
  ScreenBuffer s;
  const FunctionKeyPanel panel;
  panel.show(s, kLegend);
  panel.show(s, "1Aiuto     |2          ");
  EXPECT_EQ(cellText(s, 25, 91, 10), "Aiuto     ");
  EXPECT_EQ(cellText(s, 27, 91, 10), std::string(10, ' '));
  EXPECT_EQ(s.at(26, 91).attr, 0x95);
  EXPECT_EQ(cellText(s, 22, 91, 10), std::string(10, ' '));
}

TEST(FunctionKeys, GridHasThreeLinesOf120Characters) {
  ScreenBuffer s;
  FunctionKeyPanel(FunctionKeyLayout::Grid).drawFrame(s);
  const std::string blanks28(28, ' ');
  EXPECT_EQ(cellText(s, 48, 1, 120),
            cp437(U"F1           │F2           │F3           │F4           │F5           ║F11          ║Pag║+ -║") +
                blanks28);
  const std::string dash13(13, '\xC4');
  EXPECT_EQ(cellText(s, 49, 1, 120), dash13 + "\xC5" + dash13 + "\xC5" + dash13 + "\xC5" + dash13 + "\xC5" + dash13 +
                                         "\xBA" + dash13 + "\xBA   \xBA   \xBA" + blanks28);
  EXPECT_EQ(cellText(s, 50, 1, 120),
            cp437(U"F6           │F7           │F8           │F9           │ESC          ║F12          ║   ║   ║") +
                blanks28);
  EXPECT_EQ(s.at(48, 1).attr, 0x95);
  EXPECT_EQ(s.at(48, 4).attr, 0x8E);
  EXPECT_EQ(s.at(47, 1), (Cell{}));
}

TEST(FunctionKeys, GridLegendFillsTheKeyCells) {
  ScreenBuffer s;
  FunctionKeyPanel(FunctionKeyLayout::Grid).show(s, kLegend);
  EXPECT_EQ(cellText(s, 48, 15, 13), "F2 Pagamenti ");  // F2: second cell of the first line
  EXPECT_EQ(s.at(48, 15).attr, 0x9E);
  EXPECT_EQ(s.at(48, 18).attr, 0x8E);
  EXPECT_EQ(cellText(s, 48, 1, 13), "F1           ");
  EXPECT_EQ(s.at(48, 1).attr, 0x95);
  EXPECT_EQ(cellText(s, 50, 43, 13), "F9 Ricerca   ");  // F9: fourth cell of the third line
  EXPECT_EQ(cellText(s, 50, 29, 13), "F8 St Registr");
  EXPECT_EQ(cellText(s, 48, 71, 13), "F11Pag+-     ");  // first note beside F11
  EXPECT_EQ(s.at(48, 14).ch, 0xB3);                   // separators untouched
  EXPECT_EQ(s.at(50, 70).ch, 0xBA);
}

}  // namespace
}  // namespace vellano::screen
