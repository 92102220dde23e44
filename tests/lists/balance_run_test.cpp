// The balance reports through the real programs: F8 and F7 of the causal screen hand over to
// VELST10W, which prints the balance or writes the export file and starts VELLA10W again;
// the "3." request prints the cash and bank balance. Prints and files are compared byte for
// byte with the golden files of the fixture.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "balance_fixture.h"
#include "support/dump_text.h"
#include "support/headless_run.h"

namespace vellano::lists {
namespace {

using testing::kExportName;
using vellano::testing::HeadlessRun;

constexpr const char* kPrinted = "CMD /C PRFILE32.EXE /q LASER";
const std::string kDefaultCopy = std::string("CMD /C COPY ") + kExportName + " C:\\TRIBUTEK\\FISCALI\\EXTIMPORT\\2012\\";

// A hand-over record for terminal 7 carrying `request`.
std::string handOverWith(const std::string& request) {
  return "X001  " + std::string(27, '.') + " 0" + "010111" + request + std::string(68, 'y');
}

class BalanceRun : public testing::BalanceFolder {
 protected:
  HeadlessRun run(const std::string& program, const std::string& script) {
    catalogue().closeAll();
    return vellano::testing::runHeadless(program, {"/M", "7"}, std::filesystem::current_path(), script);
  }
  static std::string cells(const HeadlessRun& r, std::size_t dump, int row, int col, int n) {
    return vellano::testing::cells(r.row(dump, row), col, n);
  }
};

TEST_F(BalanceRun, F8OnTheCausalScreenPrintsTheBalanceAndGoesBackToTheEntryProgram) {
  // Causal screen, F8, the dialog confirmed as offered, then the entry program again.
  HeadlessRun r = run("VELLA10W", "\"u\" <F8> <ENTER*6> <SNAP>");
  EXPECT_EQ(readFile("LASER"), golden("balance.prn"));
  EXPECT_EQ(r.commands, (std::vector<std::string>{"VELST10W.EXE /M 7", "ORBW.EXE", "CMD /C DEL LASER", kPrinted,
                                                  "VELLA10W.EXE /M 7"}));
  // The dialog program's last screen comes first, then the snap in the entry program.
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.title(1).find(" ] .VELLA10W. [7]"), std::string::npos);
  EXPECT_NE(r.row(1, 26).find("│Stampe--->...............│"), std::string::npos);
}

TEST_F(BalanceRun, CancelledDialogPrintsNothing) {
  HeadlessRun r = run("VELLA10W", "\"u\" <F8> <ENTER*5> \"n\" <ENTER> <SNAP>");
  EXPECT_FALSE(std::filesystem::exists("LASER"));
  EXPECT_EQ(r.commands, (std::vector<std::string>{"VELST10W.EXE /M 7", "ORBW.EXE", "VELLA10W.EXE /M 7"}));
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.title(1).find(".VELLA10W."), std::string::npos);
}

TEST_F(BalanceRun, F7WritesTheExportFileShowsItAndCopiesItOnS) {
  writeFile(kExportName, std::string(500, 'x'));  // an older, longer file goes entirely
  HeadlessRun r = run("VELLA10W", "\"u\" <F7> <SNAP> \"s\" <ENTER> <SNAP>");
  EXPECT_EQ(readFile(kExportName), golden(kExportName));
  EXPECT_EQ(r.commands, (std::vector<std::string>{"VELST10W.EXE /M 7", std::string("CMD /C DEL ") + kExportName,
                                                  std::string("CMD /C NOTEPAD2.EXE ") + kExportName, kDefaultCopy,
                                                  "VELLA10W.EXE /M 7"}));
  EXPECT_EQ(readFile(std::string("TRIBUTEK/FISCALI/EXTIMPORT/2012/") + kExportName), golden(kExportName));

  ASSERT_GE(r.dumps.size(), 2u);
  const std::string fileLine = std::string("Il file ") + kExportName + " sara' copiato nella cartella:";
  EXPECT_EQ(cells(r, 0, 15, 37, static_cast<int>(fileLine.size())), fileLine);
  EXPECT_EQ(cells(r, 0, 17, 37, 50), records::fitLeft("C:\\TRIBUTEK\\FISCALI\\EXTIMPORT\\2012\\", 50));
  EXPECT_EQ(cells(r, 0, 20, 37, 16), "Procedo [S/N]: N");
  EXPECT_NE(r.dumps[0].find("CREAZIONE FILE X UNICO (TRIBUTEK)"), std::string::npos);
  EXPECT_NE(r.title(1).find(".VELLA10W."), std::string::npos);
}

// What the copy prompt does with each answer, and where an edited folder lands through the
// drive mapping.
TEST_F(BalanceRun, CopyPromptAnswers) {
  const std::filesystem::path elsewhere = std::filesystem::current_path() / "elsewhere";
  struct Case {
    std::string keys;
    std::string command;  // the COPY logged, "" for none
    std::string landed;   // host path of the copy, "" for none
  };
  const std::vector<Case> cases = {
      {"\"n\" <ENTER>", "", ""},
      {"<ESC>", "", ""},
      {"\"x\" <ENTER>", "", ""},  // beeps, copies nothing
      {"<UP> <CTRL-DEL> \"D:\\\\IMPORT\\\\\" <ENTER> \"s\" <ENTER>",
       std::string("CMD /C COPY ") + kExportName + " D:\\IMPORT\\", (elsewhere / "IMPORT" / kExportName).string()},
      // Blanks are taken out; a folder named without its closing backslash is still a folder.
      {"<UP> <CTRL-DEL> \"C:\\\\TRIB 2012\" <ENTER> \"s\" <ENTER>", std::string("CMD /C COPY ") + kExportName + " C:\\TRIB2012",
       std::string("TRIB2012/") + kExportName},
      // ESC in the folder keeps the proposed one.
      {"<UP> \"Z\" <ESC> \"s\" <ENTER>", kDefaultCopy, std::string("TRIBUTEK/FISCALI/EXTIMPORT/2012/") + kExportName},
  };
  setenv("VELLANO_DRIVE_D", elsewhere.c_str(), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    std::filesystem::remove_all("TRIBUTEK");
    std::filesystem::remove_all("TRIB2012");
    std::filesystem::remove_all(elsewhere);
    HeadlessRun r = run("VELLA10W", "\"u\" <F7> " + c.keys);
    std::vector<std::string> copies;
    for (const std::string& line : r.commands)
      if (line.rfind("CMD /C COPY", 0) == 0) copies.push_back(line);
    EXPECT_EQ(copies, c.command.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.command});
    if (!c.landed.empty()) {
      EXPECT_EQ(readFile(c.landed), golden(kExportName));
    }
    // No folder is made for an answer that copies nothing.
    EXPECT_EQ(std::filesystem::exists("TRIBUTEK"), c.landed.rfind("TRIBUTEK", 0) == 0);
    EXPECT_EQ(r.commands.back(), "VELLA10W.EXE /M 7");
  }
  unsetenv("VELLANO_DRIVE_D");
}

TEST_F(BalanceRun, FailedCopyIsReportedOnScreen) {
  writeFile("TRIBUTEK", "a file where the folder should be");
  HeadlessRun r = run("VELLA10W", "\"u\" <F7> \"s\" <ENTER> <SNAP> <ENTER>");
  ASSERT_FALSE(r.dumps.empty());
  EXPECT_EQ(cells(r, 0, 22, 37, 18), "Copia non riuscita");
  EXPECT_EQ(r.commands.back(), "VELLA10W.EXE /M 7");
}

TEST_F(BalanceRun, CompanyWithoutFiscalCodeAndVatNumberGetsAMessageNotAFile) {
  company("", "");
  HeadlessRun r = run("VELLA10W", "\"u\" <F7> <SNAP> <ENTER>");
  ASSERT_FALSE(r.dumps.empty());
  EXPECT_EQ(cells(r, 0, 15, 37, 40), "Codice fiscale e partita IVA della ditta");
  EXPECT_FALSE(std::filesystem::exists("BIL-.TXT"));
  EXPECT_EQ(r.commands, (std::vector<std::string>{"VELST10W.EXE /M 7", "VELLA10W.EXE /M 7"}));
}

TEST_F(BalanceRun, CashAndBankRequestPrintsTheAccountsAndGoesBack) {
  writeFile("QMENU.DAT", handOverWith("3."));
  HeadlessRun r = run("VELST10W", "<ENTER*6>");
  EXPECT_EQ(readFile("LASER"), golden("cash_banks.prn"));
  EXPECT_EQ(r.commands, (std::vector<std::string>{"ORBW.EXE", "CMD /C DEL LASER", kPrinted, "VELLA10W.EXE /M 7"}));
}

// From the print menu both items run and come back to the menu, not to the entry program.
TEST_F(BalanceRun, MenuItemsReturnToThePrintMenu) {
  HeadlessRun r = run("VELST10W", "\"b\" <ENTER*6> \"u\" \"n\" <ENTER> <SNAP> <ESC>");
  EXPECT_EQ(readFile("LASER"), golden("balance.prn"));
  EXPECT_EQ(readFile(kExportName), golden(kExportName));
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.title(1).find(".VELST10W."), std::string::npos);
  EXPECT_NE(r.row(1, 22).find("│creazione file per mod. Unico│"), std::string::npos);
  EXPECT_EQ(r.commands, (std::vector<std::string>{"ORBW.EXE", "CMD /C DEL LASER", kPrinted,
                                                  std::string("CMD /C DEL ") + kExportName,
                                                  std::string("CMD /C NOTEPAD2.EXE ") + kExportName,
                                                  "VELLA10W.EXE /M 7"}));
}

}  // namespace
}  // namespace vellano::lists
