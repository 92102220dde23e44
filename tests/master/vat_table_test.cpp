// The VAT code table: its record, where each position sits on screen, and the editor run
// for real through the main menu ("t").
#include "master/vat_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "causals_support.h"
#include "support/work_folder.h"
#include "support/headless_run.h"

namespace vellano::master {
namespace {

using master::testing::columns;
using master::testing::recordOf;

class VatTableRun : public vellano::testing::WorkFolder {
 protected:
  vellano::testing::HeadlessRun run(const std::string& script) {
    return vellano::testing::runHeadless("VELLA10W", {}, std::filesystem::current_path(), script);
  }
  // A stored position: the five fields (35 bytes, blank-padded), then `rest` in the reserved area.
  static std::string row(const std::string& fields, char rest = ' ') {
    return fields + std::string(35 - fields.size(), ' ') + std::string(165, rest);
  }
};

TEST(VatCell, PositionsFillTheLeftHalfThenTheRight) {
  struct Case {
    int position, row, base;
  };
  for (const Case& c : {Case{1, 2, 1}, Case{20, 21, 1}, Case{21, 2, 41}, Case{40, 21, 41}}) {
    EXPECT_EQ(vatCell(c.position).row, c.row) << c.position;
    EXPECT_EQ(vatCell(c.position).base, c.base) << c.position;
  }
}

TEST_F(VatTableRun, RecordFieldsAndReservedAreaOnWrite) {
  writeFile("TABIVA.DAT", std::string(600, 'Z'));
  records::Context context;
  records::Catalogue catalogue(context);
  records::VatCode vat;
  vat.code = "IVA22";
  vat.rateText = "22";
  vat.ventilationText = "100";
  vat.compensationText = "4.5";
  vat.note = "Ordinaria";
  records::writeVatCode(catalogue, 2, vat);
  catalogue.closeAll();
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 2), row("IVA2222 1004.5 Ordinaria"));
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 1), std::string(200, 'Z'));

  records::VatCode back = records::readVatCode(catalogue, 2);
  EXPECT_EQ(back.code, "IVA22");
  EXPECT_FLOAT_EQ(back.rate, 22);
  EXPECT_FLOAT_EQ(back.ventilation, 100);
  EXPECT_FLOAT_EQ(back.compensation, 4.5f);
  EXPECT_EQ(back.note, "Ordinaria");

  // Never written, and a blank rate: blank fields, values 0.
  records::VatCode never = records::readVatCode(catalogue, 9);
  EXPECT_TRUE(never.blank());
  EXPECT_EQ(never.rate, 0);
  writeFile("TABIVA.DAT", row("ESE     50     Esente"));
  records::VatCode exempt = records::readVatCode(catalogue, 1);
  EXPECT_EQ(exempt.rateText, "");
  EXPECT_EQ(exempt.rate, 0);
  EXPECT_FLOAT_EQ(exempt.ventilation, 50);
}

TEST_F(VatTableRun, Position21IsEditedOnRow2RightHalfAndPosition20OnRow21Left) {
  auto r = run("\"t\" <ENTER*95> \"P20\" <ENTER*5> \"IVA22\" <ENTER> \"22\" <ENTER> \"100\" <ENTER> \"4.5\" <ENTER> "
               "\"Ordinaria\" <ENTER> <SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(columns(r.row(0, 1), 2, 79),
            "Cod. │Al.│%Ve│%Com│Note                │Cod. │Al.│%Ve│%Com│Note                ");
  EXPECT_EQ(columns(r.row(0, 2), 41, 40), "│IVA22│22 │100│ 4.5│Ordinaria           ");
  EXPECT_EQ(columns(r.row(0, 21), 2, 5), "P20  ");
  EXPECT_EQ(columns(r.row(0, 3), 42, 39), "·····│···│···│··.·│····················");
  EXPECT_NE(r.row(0, 23).find(" GESTIONE CAUSALI "), std::string::npos);
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 21), row("IVA2222 1004.5 Ordinaria"));
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 20), row("P20"));
}

// A zero or blank %Ve and %Com show through their masks like every other number.
TEST_F(VatTableRun, ZeroPercentagesShowThroughTheirMasks) {
  // Position 1 is the one being edited; the others show what is stored.
  writeFile("TABIVA.DAT", row("IVA2222 1004.5 Ordinaria") + row("ESE  0  0  0   Esente") + row("N2"));
  auto r = run("\"t\" <SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(columns(r.row(0, 3), 2, 39), "ESE  │0  │  0│ 0.0│Esente              ");
  EXPECT_EQ(columns(r.row(0, 4), 2, 39), "N2   │   │  0│ 0.0│                    ");
  EXPECT_EQ(columns(r.row(0, 2), 12, 8), "100│ 4.5");
  // A position never written keeps its dotted areas.
  EXPECT_EQ(columns(r.row(0, 5), 2, 39), "·····│···│···│··.·│····················");
}

TEST_F(VatTableRun, EscInMidRowLeavesThatRecordUnchanged) {
  const std::string first = row("OLD1 20 50 1.5 Prima", 'R');
  const std::string second = row("OLD2 10    2.0 Seconda", 'R');
  writeFile("TABIVA.DAT", first + second);
  auto r = run("\"t\" \"NEW1\" <ENTER*5> \"NEW2\" <ENTER> \"99\" <ENTER> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  // Position 1 was completed: written with the reserved area blanked.
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 1), row("NEW1 20 50 1.5 Prima"));
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 2), second);
}

TEST_F(VatTableRun, UpGoesBackOneFieldOrToThePreviousPositionsCode) {
  // Up from Al. returns to Cod. of the same position; Up from Cod. to the previous position.
  auto r = run("\"t\" \"A\" <ENTER*5> \"B\" <ENTER> <UP> \"C\" <ENTER*5> <UP> \"D\" <ENTER*5> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 1), row("A"));
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 2), row("D"));
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 3), "");
}

TEST_F(VatTableRun, CompletingPosition40WrapsToPosition1) {
  auto r = run("\"t\" <ENTER*200> \"WRAP\" <ENTER> \"4\" <ENTER*4> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(readFile("TABIVA.DAT").size(), 40u * 200u);
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 1), row("WRAP 4"));
  EXPECT_EQ(recordOf("TABIVA.DAT", 200, 40), row(""));
}

TEST_F(VatTableRun, CompleteTablesShowTheReferenceDocumentInstead) {
  writeFile("PARAM.DAT", "NS");
  writeFile("TABIVA.DAT", row("KEEP"));
  auto r = run("\"t\" <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, std::vector<std::string>{"CMD /C NOTEPAD2.EXE IVAT.TXT"});
  EXPECT_EQ(readFile("TABIVA.DAT"), row("KEEP"));
  // The installation's document is put into a folder that lacks it.
  const std::string installed = readFile(std::string(VELLANO_BIN_DIR) + "/IVAT.TXT");
  ASSERT_FALSE(installed.empty());
  EXPECT_EQ(readFile("IVAT.TXT"), installed);
}

TEST_F(VatTableRun, AnExistingReferenceDocumentIsKept) {
  writeFile("PARAM.DAT", "NS");
  writeFile("IVAT.TXT", "our own notes");
  auto r = run("\"t\" <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, std::vector<std::string>{"CMD /C NOTEPAD2.EXE IVAT.TXT"});
  EXPECT_EQ(readFile("IVAT.TXT"), "our own notes");
}

}  // namespace
}  // namespace vellano::master
