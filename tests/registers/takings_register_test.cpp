// The corrispettivi register print: the page of a month against golden files, the stored state
// of a definitive print, the refused and abandoned questions, the marks and last page edited
// by hand, and the screen.
#include "registers/takings_register.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/error.h"
#include "register_report_run.h"

namespace vellano::registers {
namespace {

using testing::TakingsDay;

const std::vector<std::string> kLaserCommands = {"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER"};

// INDCOR11.DAT with `lastPage` in its "Ultima Pagina Registro" field, the rest blank.
std::string takingsHeader(const std::string& lastPage) {
  return std::string(15, ' ') + lastPage + std::string(90 - 15 - lastPage.size(), ' ');
}

// Line `row` (1-50) of a screen dump.
std::string dumpRow(const std::string& dump, int row) {
  std::istringstream lines(dump);
  std::string line;
  for (int i = 0; i <= row && std::getline(lines, line);) ++i;
  return line;
}

class TakingsRegisterTest : public testing::RegisterReportTest {
 protected:
  // Runs the menu item on `script`; returns the beeps.
  int runReport(const std::string& script) {
    auto run = start(script);
    printout::PrintOutput output;
    runTakingsRegister(*run->session, output);
    EXPECT_EQ(run->backend->pending(), 0u) << "keys left over";
    dumps_ = run->backend->dumps();
    return run->backend->beeps();
  }
  std::string marks() { return readFile("SDEFCO.DAT").substr(0, 12); }
  std::string lastPageField() { return readFile("INDCOR11.DAT").substr(15, 5); }

  std::vector<std::string> dumps_;
};

TEST_F(TakingsRegisterTest, MonthPagesMatchTheirGoldenFiles) {
  struct Case {
    std::string golden;
    std::string keys;
    std::string marksAfter;     // SDEFCO bytes 1-12
    std::string lastPageAfter;  // INDCOR "Ultima Pagina Registro"
  };
  const std::vector<Case> cases = {
      // Day 5: 100.00 at 4 % and 50.00 under ventilation, 150.00 in all; page 13 after 12.
      {"takings_march_trial.prn", "<CTRL-DEL> \"3\" <ENTER> <ENTER> <ENTER*6>", "", "   12"},
      // Days 29, 30 and 31 are printed, their blank amounts as 0.
      {"takings_february_trial.prn", "<CTRL-DEL> \"2\" <ENTER> <ENTER> <ENTER*6>", "", "   12"},
      // A month never written: 31 zero lines and zero totals.
      {"takings_july_empty.prn", "<CTRL-DEL> \"7\" <ENTER> <ENTER> <ENTER*6>", "", "   12"},
      // Definitive: 21 hatch lines from column 4, then page 13 and the mark are stored.
      {"takings_march_definitive.prn", "<CTRL-DEL> \"3\" <ENTER> \"d\" <ENTER> <ENTER*6>", "  X         ", " 13  "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden);
    for (const char* file : {"LASER", "SDEFCO.DAT", "CORRIS11.DAT"}) std::filesystem::remove(file);
    writeFile("INDCOR11.DAT", takingsHeader("   12"));
    writeTakings(3, {{5, {"100", "", "", "50"}}, {12, {"", "1234.5", "20", ""}}, {31, {".5", "", "", "999999.99"}}});
    writeTakings(2, {{1, {"", "", "31.2", ""}}, {28, {"10", "", "", ""}}});
    EXPECT_EQ(runReport(c.keys), 0);
    vellano::testing::expectGolden("registers", c.golden, readFile("LASER"));
    EXPECT_EQ(vellano::testing::commandLog(), kLaserCommands);
    EXPECT_EQ(marks(), c.marksAfter);
    EXPECT_EQ(lastPageField(), c.lastPageAfter);
  }
}

TEST_F(TakingsRegisterTest, SecondDefinitivePrintOfAMonthIsRefused) {
  writeFile("INDCOR11.DAT", takingsHeader("   12"));
  writeTakings(3, {{5, {"100", "", "", "50"}}});
  ASSERT_EQ(runReport("<CTRL-DEL> \"3\" <ENTER> \"D\" <ENTER> <ENTER*6>"), 0);
  const std::string printed = readFile("LASER");
  ASSERT_EQ(marks(), "  X         ");

  // March again, and months that do not exist: refused with a beep, the month asked again
  // (the one answer it gets is ESC), nothing printed.
  for (const char* month : {"3", "13", "0"}) {
    SCOPED_TRACE(month);
    EXPECT_EQ(runReport("<CTRL-DEL> \"" + std::string(month) + "\" <ENTER> <SNAP> <ESC>"), 1);
    ASSERT_FALSE(dumps_.empty());
    EXPECT_EQ(dumps_[0].find("Stampa in Prova"), std::string::npos);
    EXPECT_TRUE(vellano::testing::commandLog().empty());
    EXPECT_EQ(readFile("LASER"), printed);
    EXPECT_EQ(marks(), "  X         ");
    EXPECT_EQ(lastPageField(), " 13  ");
  }

  // Another month still prints definitively, on the next page.
  EXPECT_EQ(runReport("<CTRL-DEL> \"4\" <ENTER> \"D\" <ENTER> <ENTER*6>"), 0);
  EXPECT_NE(readFile("LASER").find("Mese APRILE 2011\r\nREGISTRO IVA CORRISPETTIVI"), std::string::npos);
  EXPECT_NE(readFile("LASER").find("Pag.   14 / 2011\r\n"), std::string::npos);
  EXPECT_EQ(marks(), "  XX        ");
  EXPECT_EQ(lastPageField(), " 14  ");
}

// A printer port that takes nothing (a full device): the error surfaces before anything is
// stored, so the month stays open for a print that works.
TEST_F(TakingsRegisterTest, DefinitivePrintThatCannotBeWrittenLocksNothing) {
  env_.set("VELLANO_LPT1", "/dev/full");
  writeFile("INDCOR11.DAT", takingsHeader("   12"));
  writeTakings(3, {{5, {"100", "", "", "50"}}});
  // Laser and Windows printing switched off in the dialog: the printer port.
  auto run = start("<CTRL-DEL> \"3\" <ENTER> \"D\" <ENTER> \"n\" <ENTER*3> \"n\" <ENTER*3>");
  printout::PrintOutput output;
  EXPECT_THROW(runTakingsRegister(*run->session, output), RuntimeError);
  EXPECT_FALSE(output.channel().isOpen());
  EXPECT_EQ(marks(), "");
  EXPECT_EQ(lastPageField(), "   12");
}

TEST_F(TakingsRegisterTest, LeavingOrCancellingPrintsAndWritesNothing) {
  struct Case {
    std::string name;
    std::string keys;
    std::vector<std::string> commands;
  };
  const std::vector<Case> cases = {
      {"ESC at the month", "<ESC>", {}},
      {"ESC at trial/definitive", "<CTRL-DEL> \"3\" <ENTER> <ESC>", {}},
      {"dialog cancelled", "<CTRL-DEL> \"3\" <ENTER> \"D\" <ENTER> <ENTER*5> \"n\" <ENTER>", {"ORBW.EXE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile("INDCOR11.DAT", takingsHeader("   12"));
    EXPECT_EQ(runReport(c.keys), 0);
    EXPECT_FALSE(std::filesystem::exists("LASER"));
    EXPECT_EQ(vellano::testing::commandLog(), c.commands);
    EXPECT_EQ(marks(), "");
    EXPECT_EQ(lastPageField(), "   12");
  }
}

TEST_F(TakingsRegisterTest, AnswersAreCheckedAndUpGoesBackToTheMonth) {
  // "X" is no answer to trial/definitive; Up goes back to the month, changed to April.
  EXPECT_EQ(runReport("<CTRL-DEL> \"3\" <ENTER> <CTRL-DEL> \"X\" <ENTER> <UP> <CTRL-DEL> \"4\" <ENTER> <ENTER> "
                      "<ENTER*6>"),
            1);
  EXPECT_NE(readFile("LASER").find("Mese APRILE 2011\r\n"), std::string::npos);
  EXPECT_EQ(marks(), "");
}

TEST_F(TakingsRegisterTest, MarksAndLastPageAreEditedByHand) {
  struct Case {
    std::string name;
    std::string marksBefore;
    std::string keys;
    int beeps;
    std::string marksAfter;
    std::string lastPageAfter;
  };
  const std::vector<Case> cases = {
      {"March marked, last page 7", "", "<F1> <ENTER*2> \"x\" <ENTER> <ENTER*9> <CTRL-DEL> \"7\" <ENTER> <ESC>", 0,
       "  X         ", " 7   "},
      {"a mark other than X beeps; ESC abandons the marks", "            ", "<F1> \"Y\" <ENTER> <ESC> <ESC>", 1,
       "            ", "   12"},
      {"Up stays on January; Up from the page goes back to December; a bad page beeps and ESC keeps the old one",
       "X          X",
       "<F1> <UP> <CTRL-DEL> <ENTER> <ENTER*11> <UP> <CTRL-DEL> <ENTER> <CTRL-DEL> \"-1\" <ENTER> <ESC> <ESC>", 1,
       "            ", "   12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile("INDCOR11.DAT", takingsHeader("   12"));
    std::filesystem::remove("SDEFCO.DAT");
    if (!c.marksBefore.empty()) writeFile("SDEFCO.DAT", c.marksBefore + std::string(88, ' '));
    EXPECT_EQ(runReport(c.keys), c.beeps);
    EXPECT_EQ(marks(), c.marksAfter);
    EXPECT_EQ(lastPageField(), c.lastPageAfter);
    EXPECT_FALSE(std::filesystem::exists("LASER"));
  }
}

// The header and marks channels are shared with the VAT registers: they get back their stems.
TEST_F(TakingsRegisterTest, RegisterChannelsGetTheirStemsBack) {
  auto run = start("<CTRL-DEL> \"3\" <ENTER> \"D\" <ENTER> <ENTER*6>");
  records::Catalogue& catalogue = *run->catalogue;
  catalogue.setStem(records::channel::kRegisterHeader, "INDVEN");
  catalogue.setStem(records::channel::kRegisterPrint, "SDEFVE");
  printout::PrintOutput output;
  runTakingsRegister(*run->session, output);
  EXPECT_EQ(marks(), "  X         ");
  EXPECT_EQ(catalogue.stem(records::channel::kRegisterHeader), "INDVEN");
  EXPECT_EQ(catalogue.stem(records::channel::kRegisterPrint), "SDEFVE");
  EXPECT_FALSE(catalogue.channel(records::channel::kRegisterHeader).isOpen());
  EXPECT_FALSE(catalogue.channel(records::channel::kRegisterPrint).isOpen());
  EXPECT_EQ(readFile("SDEFVE.DAT"), "");
}

TEST_F(TakingsRegisterTest, ScreenShowsMonthsMarksAndLastPage) {
  writeFile("INDCOR11.DAT", takingsHeader("   12"));
  writeFile("SDEFCO.DAT", "XX" + std::string(98, ' '));
  ASSERT_EQ(runReport("<SNAP> <ESC>"), 0);
  ASSERT_FALSE(dumps_.empty());
  const std::string& d = dumps_[0];
  EXPECT_EQ(dumpRow(d, 1).substr(0, 33), "  STAMPA REGISTRO CORRISPETTIVI  ");
  EXPECT_EQ(dumpRow(d, 3).substr(0, 14), "  DEL MESE: 03");
  EXPECT_EQ(dumpRow(d, 3).find("┌ MESE     DEF ┐"), 62u);
  EXPECT_EQ(dumpRow(d, 4).find("│ GENNAIO   X  │"), 62u);
  EXPECT_EQ(dumpRow(d, 5).find("│ FEBBRAIO  X  │"), 62u);
  EXPECT_EQ(dumpRow(d, 6).find("│ MARZO        │"), 62u);
  EXPECT_EQ(dumpRow(d, 15).find("│ DICEMBRE     │"), 62u);
  EXPECT_EQ(dumpRow(d, 18).find("┌   REGISTRO   ┐"), 62u);
  EXPECT_EQ(dumpRow(d, 19).find("│Ultima  Pagina│"), 62u);
  EXPECT_EQ(dumpRow(d, 21).find("│        12    │"), 62u);
}

// The page lines themselves: the day total is the sum of the four amounts and the totals line
// the sum of the columns, whatever the month's length.
TEST(TakingsPageLines, DayAndGrandTotalsAddTheFourColumns) {
  records::Context context;
  context.yearSuffix = "11";
  records::Takings takings;
  takings.day[0][4] = "100";
  takings.day[3][4] = "50";
  takings.day[1][30] = "0.1";
  takings.day[2][30] = "0.2";
  const std::vector<std::string> lines = takingsPageLines(context, 2, 1, takings);
  ASSERT_EQ(lines.size(), 7u + 31u + 3u);
  EXPECT_EQ(lines[7 + 4], "|    5   |      100.00  |        0.00  |        0.00  |       50.00  |      150.00  |  ");
  EXPECT_EQ(lines[7 + 30], "|   31   |        0.00  |        0.10  |        0.20  |        0.00  |        0.30  |  ");
  EXPECT_EQ(lines[39], "| TOTALI |      100.00  |        0.10  |        0.20  |       50.00  |      150.30  |  ");
}

// The company keeps its field padding: the town field is 30 wide in the short registry record
// (host mode 2) and the company list (mode 6), 20 in the long registry record.
TEST(TakingsPageLines, CompanyLinesKeepTheFieldWidthsOfTheirRecord) {
  struct Case {
    int hostMode;
    std::string companyLine;
  };
  const std::vector<Case> cases = {
      {1, "ROSSI" + std::string(28, ' ') + " VIA ROMA 1" + std::string(10, ' ') + " MILANO" + std::string(14, ' ')},
      {2, "ROSSI" + std::string(28, ' ') + " VIA ROMA 1" + std::string(10, ' ') + " MILANO" + std::string(24, ' ')},
      {6, "ROSSI" + std::string(28, ' ') + " VIA ROMA 1" + std::string(10, ' ') + " MILANO" + std::string(24, ' ')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hostMode);
    records::Context context;
    context.hostMode = c.hostMode;
    context.yearSuffix = "12";
    context.company.name = "ROSSI";
    context.company.address = "VIA ROMA 1";
    context.company.town = "MILANO";
    context.company.vatNumber = "123";
    context.company.fiscalCode = "RSS";
    const std::vector<std::string> lines = takingsPageLines(context, 12, 1, records::Takings{});
    EXPECT_EQ(lines[0], "Mese DICEMBRE 2012");
    EXPECT_EQ(lines[2], c.companyLine);
    EXPECT_EQ(lines[3], "Partita IVA: 123         Codice Fiscale: RSS             ");
  }
}

}  // namespace
}  // namespace vellano::registers
