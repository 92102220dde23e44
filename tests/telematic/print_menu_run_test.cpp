// The menu item "El cli/for Tel (Spesometro).." run through the real print program, headless:
// the file, the copy into the telematic client's folder and the way back to the menu; and a
// file that cannot be written ending in the error box with nothing left under its name.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/dump_text.h"
#include "support/headless_run.h"
#include "telematic/customer_list_file.h"
#include "telematic_support.h"

namespace vellano::telematic {
namespace {

using testing::Reg;

class SpesometroMenuRun : public testing::TelematicTest {
 protected:
  void SetUp() override {
    TelematicTest::SetUp();
    parties(records::CounterpartyKind::Customer, {{1, "ALFA SRL", "", "01234567890"}}, 1);
    parties(records::CounterpartyKind::Supplier, {{2, "BETA SPA", "", "02222222222"}}, 2);
    registrations(records::RegisterKind::Sales,
                  {{"1", "1", "100211", {{"20", "20000"}}}, {"1", "2", "100311", {{"20", "20000"}}}});
    registrations(records::RegisterKind::Purchases, {{"9002", "F7", "050411", {{"10", "40000"}}}});
    intermediary({"RSSMRA70A01H501U", "10", "12345", "010311"});
  }
  vellano::testing::HeadlessRun run(const std::string& script) {
    return vellano::testing::runHeadless("VELST10W", {}, std::filesystem::current_path(), script);
  }
};

TEST_F(SpesometroMenuRun, LetterEWritesTheFileAndCopiesItToTheClientFolder) {
  // E, proceed, snap at the copy question, H (the default), snap back in the menu, leave.
  const auto r = run("\"e\" <CTRL-DEL> \"S\" <ENTER> <SNAP> <ENTER> <SNAP> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, (std::vector<std::string>{"CMD /C DEL ELENCOCF", "CMD /C COPY ELENCOCF C:\\ALBTEL\\ELENCOCF",
                                                  "VELLA10W.EXE "}));
  const std::string file = readFile("ELENCOCF");
  ASSERT_EQ(file.size(), 5 * kListRecordLength);
  const std::vector<std::string> records = testing::recordsOf(file, kListRecordLength);
  EXPECT_EQ(std::string({records[0][0], records[1][0], records[2][0], records[3][0], records[4][0]}), "02229");
  EXPECT_EQ(testing::at(records[3], 1, 55), std::string("2") + "02222222222" + "05042011" + "F7             " + "1" +
                                               "    40000" + "     4000" + "2");
  EXPECT_EQ(readFile("ALBTEL/ELENCOCF"), file);

  ASSERT_GE(r.dumps.size(), 2u);
  const std::string& question = r.dumps[0];
  EXPECT_NE(vellano::testing::dumpLine(question, 1).find(" INVIO TELEMATICO IVA "), std::string::npos);
  EXPECT_EQ(vellano::testing::cells(question, 35, 3, 29), "  CREAZIONE DEL FILE ELENCOCF");
  EXPECT_EQ(vellano::testing::cells(question, 36, 8, 25), "(F9 nome file automatico)");
  EXPECT_EQ(vellano::testing::cells(question, 39, 3, 46), " Procedo con la copia [Si/No/H (c:\\albtel)]: H");
  EXPECT_NE(r.row(1, 21).find("│El cli/for Tel (Spesometro)..│"), std::string::npos);
}

TEST_F(SpesometroMenuRun, UnwritableFileEndsInTheErrorBoxWithoutAFile) {
  writeFile("ELENCOCF", "last year's file");
  std::filesystem::create_directory("ELENCOCF.TMP");  // the temporary name is taken by a folder
  const auto r = run("\"e\" <CTRL-DEL> \"S\" <ENTER> <SNAP> <ENTER>");
  EXPECT_EQ(r.commands, (std::vector<std::string>{"CMD /C DEL ELENCOCF", "VELLA10W.EXE "}));
  EXPECT_FALSE(std::filesystem::exists("ELENCOCF"));
  ASSERT_GE(r.dumps.size(), 1u);
  // The snap shows the error box over the print screen.
  EXPECT_NE(r.row(0, 11).find("│ Errore: 75 "), std::string::npos) << r.dumps[0];
  EXPECT_NE(r.row(0, 13).find("│ File  : ELENCOCF.TMP "), std::string::npos) << r.dumps[0];
}

}  // namespace
}  // namespace vellano::telematic
