// Register page headers: the sheets against golden files, the two questions, the end of print on
// a laser file and on the printer port.
#include "registers/register_headers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "register_report_run.h"

namespace vellano::registers {
namespace {

const std::vector<std::string> kLaserCommands = {"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER"};

std::string dumpRow(const std::string& dump, int row) {
  std::istringstream lines(dump);
  std::string line;
  for (int i = 0; i <= row && std::getline(lines, line);) ++i;
  return line;
}

class RegisterHeadersTest : public testing::RegisterReportTest {
 protected:
  int runReport(const std::string& script) {
    std::filesystem::remove("LASER");
    std::filesystem::remove("LPT1.PRN");
    auto run = start(script);
    printout::PrintOutput output;
    runRegisterHeaders(*run->session, output);
    EXPECT_EQ(run->backend->pending(), 0u) << "keys left over";
    dumps_ = run->backend->dumps();
    return run->backend->beeps();
  }
  std::vector<std::string> dumps_;
};

TEST_F(RegisterHeadersTest, SheetsMatchTheirGoldenFiles) {
  struct Case {
    std::string golden;
    std::string keys;
    int beeps;
  };
  const std::vector<Case> cases = {
      // One sheet: the heading, 50 + 1 empty lines and the declaration of 1 page.
      {"headers_1_to_1.prn", "\"1\" <ENTER> \"1\" <ENTER> <ENTER*6>", 0},
      // Empty answers and 0 count as sheet 1.
      {"headers_1_to_1.prn", "<ENTER> \"0\" <ENTER> <ENTER*6>", 0},
      // From 5 to 3: nothing but the end of print.
      {"headers_5_to_3.prn", "\"5\" <ENTER> \"3\" <ENTER> <ENTER*6>", 0},
      // Two sheets: the second starts with an empty line and carries the declaration. A
      // negative and a fractional sheet are refused first.
      {"headers_9_to_10.prn", "\"-9\" <ENTER> <CTRL-DEL> \"9\" <ENTER> \"1.5\" <ENTER> <CTRL-DEL> \"10\" <ENTER> <ENTER*6>",
       2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden + " " + c.keys);
    EXPECT_EQ(runReport(c.keys), c.beeps);
    vellano::testing::expectGolden("registers", c.golden, readFile("LASER"));
    EXPECT_EQ(vellano::testing::commandLog(), kLaserCommands);
  }
}

TEST_F(RegisterHeadersTest, PrinterPortEndsCondensedPrintInsteadOfTheLaserReset) {
  // Laser and Windows switched off in the dialog: the printer port at 15 characters per inch.
  EXPECT_EQ(runReport("\"2\" <ENTER> \"2\" <ENTER> \"n\" <ENTER*3> \"n\" <ENTER*3>"), 0);
  const std::string printed = readFile("LPT1.PRN");
  EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{"ORBW.EXE"});
  ASSERT_GE(printed.size(), 3u);
  EXPECT_EQ(printed.substr(0, 1), "\x0F");
  EXPECT_EQ(printed.substr(printed.size() - 3), "\x0C\x12\x12");  // the report's, then the end of print's
  EXPECT_EQ(printed.find('\x1B'), std::string::npos);
  EXPECT_NE(printed.find("NUMERO  1 \r\n"), std::string::npos);
}

TEST_F(RegisterHeadersTest, LeavingOrCancellingPrintsNothing) {
  struct Case {
    std::string name;
    std::string keys;
    std::vector<std::string> commands;
  };
  const std::vector<Case> cases = {
      {"ESC at the first sheet", "<ESC>", {}},
      {"ESC at the last sheet", "\"1\" <ENTER> <ESC>", {}},
      {"dialog cancelled", "\"1\" <ENTER> \"2\" <ENTER> <ENTER*5> \"n\" <ENTER>", {"ORBW.EXE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(runReport(c.keys), 0);
    EXPECT_FALSE(std::filesystem::exists("LASER"));
    EXPECT_EQ(vellano::testing::commandLog(), c.commands);
  }
}

TEST_F(RegisterHeadersTest, UpGoesBackToTheFirstSheetAndNumbersAreShownAgain) {
  // 4, then back from the last sheet to make it 0, shown again as sheet 1.
  EXPECT_EQ(runReport("\"4\" <ENTER> \"12\" <UP> <CTRL-DEL> \"0\" <ENTER> <SNAP> <ESC>"), 0);
  ASSERT_FALSE(dumps_.empty());
  const std::string& d = dumps_[0];
  EXPECT_EQ(dumpRow(d, 9).find(" INTESTAZIONE REGISTRI "), 9u);
  EXPECT_EQ(dumpRow(d, 11).find("STAMPO DAL FOGLIO NUMERO:   1"), 10u);
  EXPECT_EQ(dumpRow(d, 13).find("        AL FOGLIO NUMERO: ···"), 10u);
  EXPECT_FALSE(std::filesystem::exists("LASER"));
}

}  // namespace
}  // namespace vellano::registers
