// The register through the real programs, headless: from the entry program's "Stampe" to the
// print menu, and from F8 of the registration screen, back to the entry program.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "register_fixture.h"
#include "support/headless_run.h"

namespace vellano::registers {
namespace {

class RegisterProgramRun : public testing::RegisterFolder {
 protected:
  // The fixture, the working date and the company record of host mode `hostMode` (1: the long
  // registry record, 2: the short one).
  void writeFolder(int hostMode) {
    writeFixture();
    writeFile("DATA.DAT", "150311" + std::string(11, ' '));
    context_.hostMode = hostMode;
    catalogue().open(records::channel::kCompany);
    records::W_14(catalogue(), context_.company);
    catalogue().channel(records::channel::kCompany).write(1);
    catalogue().closeAll();
  }
  vellano::testing::HeadlessRun run(const std::vector<std::string>& args, const std::string& script) {
    return vellano::testing::runHeadless("VELLA10W", args, std::filesystem::current_path(), script);
  }
  static std::string golden(const std::string& name) {
    return readFile(std::filesystem::path(VELLANO_SOURCE_DIR) / "tests/registers/golden" / name);
  }
};

TEST_F(RegisterProgramRun, SalesRegisterFromThePrintMenu) {
  writeFolder(1);
  // "Stampe", "STAMPA registro Vendite", March as offered, the print dialog confirmed; back in
  // the print menu ESC starts the entry program again, and ESC there ends it.
  auto r = run({"", "1"}, "\"s\" \"v\" <ENTER*7> <ENTER*6> <SNAP> <ESC> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, (std::vector<std::string>{"VELST10W.EXE 1", "ORBW.EXE", "CMD /C DEL LASER",
                                                  "CMD /C PRFILE32.EXE /q LASER", "VELLA10W.EXE 1"}));
  EXPECT_EQ(readFile("LASER"), golden("trial_march.prn"));
  // Dump 0 is the dialog's last screen, dump 1 the snap.
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.title(1).find(".VELST10W."), std::string::npos);
  EXPECT_NE(r.row(1, 11).find("STAMPA registro Vendite"), std::string::npos) << "back in the print menu";
}

TEST_F(RegisterProgramRun, QuestionsShowTheMarksAndLastPageOfTheChosenRegister) {
  writeFolder(1);
  writeFile("SDEFVE.DAT", "X X" + std::string(97, ' '));
  // At the month question of the sales register, then ESC back to the print menu and out.
  auto r = run({"", "1"}, "\"s\" \"v\" <SNAP> <ESC> <ESC> <ESC>");
  EXPECT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_NE(r.row(0, 3).find("DEL MESE (0 = Dalla Data / Alla Data): 03"), std::string::npos) << r.row(0, 3);
  EXPECT_EQ(r.row(0, 3).find("┌ MESE     DEF ┐"), 62u) << r.row(0, 3);
  EXPECT_EQ(r.row(0, 4).find("│ GENNAIO   X  │"), 62u) << r.row(0, 4);
  EXPECT_EQ(r.row(0, 5).find("│ FEBBRAIO     │"), 62u) << r.row(0, 5);
  EXPECT_EQ(r.row(0, 6).find("│ MARZO     X  │"), 62u) << r.row(0, 6);
  EXPECT_EQ(r.row(0, 18).find("┌   REGISTRO   ┐"), 62u) << r.row(0, 18);
  EXPECT_EQ(r.row(0, 19).find("│Ultima  Pagina│"), 62u) << r.row(0, 19);
  EXPECT_EQ(r.row(0, 21).find("│        12    │"), 62u) << r.row(0, 21);
}

TEST_F(RegisterProgramRun, SalesRegisterFromF8GoesBackToTheEntryProgram) {
  writeFolder(2);
  auto r = run({"/M", "7"}, "\"v\" <F8> <ENTER*7> <ENTER*6> <SNAP> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, (std::vector<std::string>{"VELST10W.EXE /M 7", "ORBW.EXE", "CMD /C DEL LASER",
                                                  "CMD /C PRFILE32.EXE /q LASER", "VELLA10W.EXE /M 7",
                                                  "CMD /C START AVVIOW.EXE"}));
  // The short company record keeps 30 characters of town.
  std::string expected = golden("trial_march.prn");
  const std::string longTown = "10100 TORINO TO      P.IVA";
  const std::string shortTown = "10100 TORINO TO                P.IVA";
  ASSERT_NE(expected.find(longTown), std::string::npos);
  expected.replace(expected.find(longTown), longTown.size(), shortTown);
  EXPECT_EQ(readFile("LASER"), expected);
  // The snap after the print (after the dialog's last screen): the entry program's main menu.
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.title(1).find(".VELLA10W."), std::string::npos) << r.title(1);
  EXPECT_NE(r.dumps[1].find("Stampe--->"), std::string::npos);
}

}  // namespace
}  // namespace vellano::registers
