// The two menu items run through the real print program, headless, with the print dialog
// confirmed: the same pages as the in-process runs, and the program hands back to the entry
// program afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "register_report_run.h"
#include "support/headless_run.h"

namespace vellano::registers {
namespace {

class PrintMenuRuns : public testing::RegisterReportTest {
 protected:
  vellano::testing::HeadlessRun run(const std::string& script) {
    return vellano::testing::runHeadless("VELST10W", {}, std::filesystem::current_path(), script);
  }
};

TEST_F(PrintMenuRuns, TakingsRegisterItemPrintsTheMonth) {
  writeFile("INDCOR11.DAT", std::string(15, ' ') + "   12" + std::string(70, ' '));
  writeTakings(3, {{5, {"100", "", "", "50"}}, {12, {"", "1234.5", "20", ""}}, {31, {".5", "", "", "999999.99"}}});
  const auto r = run("\"c\" <CTRL-DEL> \"3\" <ENTER> <SNAP> <ENTER> <ENTER*6> <SNAP> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, (std::vector<std::string>{"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER",
                                                  "VELLA10W.EXE "}));
  vellano::testing::expectGolden("registers", "takings_march_trial.prn", readFile("LASER"));
  // The snap at the question, the dialog's last screen, the snap back in the print menu.
  ASSERT_GE(r.dumps.size(), 3u);
  EXPECT_NE(r.row(0, 16).find("Stampa in Prova / Definitiva [P/D]: P"), std::string::npos);
  EXPECT_NE(r.row(2, 13).find("│STAMPA registro Corrispettivi│"), std::string::npos);
}

TEST_F(PrintMenuRuns, RegisterHeadersItemPrintsTheSheets) {
  const auto r = run("\"n\" \"1\" <ENTER> \"1\" <ENTER> <ENTER*6> <SNAP> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, (std::vector<std::string>{"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER",
                                                  "VELLA10W.EXE "}));
  vellano::testing::expectGolden("registers", "headers_1_to_1.prn", readFile("LASER"));
  // The dialog's last screen, then the snap back in the print menu.
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.row(1, 18).find("│iNtestazione registri........│"), std::string::npos);
}

}  // namespace
}  // namespace vellano::registers
