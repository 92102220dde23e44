// The F24 row: proposed from a liquidation, its hand-over text, the corrections in the
// window (in-process), and the whole road from the situation screen to the PDF of MODUVX.
#include "registers/f24.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/context.h"
#include "screen/print_handover.h"
#include "platform/env_guard.h"
#include "support/run_program.h"
#include "support/files.h"
#include "support/headless_run.h"
#include "support/scripted_session.h"
#include "support/work_folder.h"
#include "registers/liquidation.h"
#include "registers/liquidation_fixture.h"

namespace vellano::registers {
namespace {

TEST(F24Row, ProposedRowAndHandOverText) {
  struct Case {
    std::string name;
    Period period;
    double amount;
    F24Row row;
    std::string paperText;
  };
  const std::vector<Case> cases = {
      {"second quarter with 1,234.56 to pay", Period::quarter(2), 1234.56, {"6032", "00002011", "1234.56", ""},
       "C-6032-00002011-  1234.56-     0.00"},
      {"monthly March", Period::month(3), 10, {"6003", "00002011", "10", ""}, "C-6003-00002011-    10.00-     0.00"},
      {"December", Period::month(12), 0.5, {"6012", "00002011", ".5", ""}, "C-6012-00002011-     0.50-     0.00"},
      {"a credit proposes an empty debit", Period::quarter(4), -200, {"6034", "00002011", "", ""},
       "C-6034-00002011-     0.00-     0.00"},
      {"the year", Period::year(), 99, {"6099", "01012011", "99", ""}, "C-6099-01012011-    99.00-     0.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const F24Row row = proposeF24Row(c.period, c.amount, "11");
    EXPECT_EQ(row, c.row);
    EXPECT_EQ(f24HandOverText('C', row), c.paperText);
  }
  EXPECT_EQ(f24HandOverText('T', {"6032", "00002011", "", "12.3"}), "T-6032-00002011-     0.00-    12.30");
}

TEST(F24Row, AmountsTheMaskCannotHoldAreRefused) {
  struct Case {
    std::string text;
    bool fits;
  };
  const std::vector<Case> cases = {
      {"", true}, {"999999.99", true}, {"1000000", false}, {"999999.999", false},
      {"-99999.99", true}, {"-123456", false}, {"0.5", true},
  };
  for (const Case& c : cases) EXPECT_EQ(fitsF24Mask(c.text), c.fits) << c.text;
}

// The window in-process: the correction refuses an amount too big for the mask, the form kind
// refuses other letters, and ESC leaves without a hand-over.
class F24Window : public vellano::testing::WorkFolder {};

TEST_F(F24Window, CorrectionRefusesAnAmountTooBigAndLeavingWritesNothing) {
  vellano::testing::ScriptedSession s(
      "<F1> \"6003\" <ENTER> <ENTER> \"1234567\" <ENTER> \"250\" <ENTER> <ENTER> "
      "\"x\" <ENTER> \"t\" <ENTER> <SNAP> <ESC>");
  const F24Row proposed = proposeF24Row(Period::quarter(1), -5, "11");
  // Two refusals: the amount too big and the letter "x".
  runF24Window(s.session, proposed);
  EXPECT_EQ(s.backend().beeps(), 2);
  EXPECT_FALSE(std::filesystem::exists("QMENU.DAT"));
}

// From the menu to the PDF: "IVA", F9, the second quarter, the print dialog, the F24 window,
// paper form, "S": QMENU.DAT carries the row, MODUVX runs and its PDF shows the row.
class LiquidationRoad : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    context_.yearSuffix = "11";
    context_.workingDate = liquidation_testing::kFixtureDate;
    context_.company.name = "FERRAMENTA PROVA S.R.L.";
    context_.hostMode = 1;
    records::Catalogue catalogue(context_);
    catalogue.open(records::channel::kCompany);
    records::W_14(catalogue, context_.company);
    catalogue.channel(records::channel::kCompany).write(1);
    liquidation_testing::writeFixtureYear(catalogue);
    writeFile("DATA.DAT", std::string(liquidation_testing::kFixtureDate) + std::string(11, ' '));
  }
  records::Context context_;
};

std::string pdfText(const std::string& file) {
  const std::string out = file + ".txt";
  if (vellano::testing::runProgram({"pdftotext", "-layout", file, out}).status != 0) return {};
  return vellano::testing::readFile(out);
}

TEST_F(LiquidationRoad, QuarterPrintedThenHandedOverToTheFormProgram) {
  const auto r = vellano::testing::runHeadless(
      "VELST10W", {"", "4"}, std::filesystem::current_path(),
      "\"i\" <F9> \"t\" <ENTER> \"2\" <ENTER> <ENTER*6> \"c\" <ENTER> <SNAP> \"s\" <ENTER>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, (std::vector<std::string>{"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER",
                                                  "MODUVX.EXE"}));
  // The F24 window with the proposed row and, after "C", the hand-over text in yellow on red.
  // The print dialog leaves its own final screen first.
  std::size_t d = 0;
  while (d < r.dumps.size() && r.row(d, 31).find("SEZIONE ERARIO") == std::string::npos) ++d;
  ASSERT_LT(d, r.dumps.size());
  EXPECT_EQ(r.row(d, 31).find(" 2. SEZIONE ERARIO            │Codice  │        │ Importo │ Importo │"), 3u);
  EXPECT_EQ(r.row(d, 33).find("│  6032  │00002011│   140.39│ ····.·· │"), 33u);
  EXPECT_EQ(r.row(d, 35).find("Modello F24 Cartaceo / Telematico [C/T]: C"), 4u);
  EXPECT_EQ(r.row(d, 37).find("Procedo [S/N]: N"), 4u);
  EXPECT_EQ(r.row(d, 39).find("C-6032-00002011-   140.39-     0.00"), 4u);
  // The print: the PCL set-up in landscape at pitch 10, then the report as in its golden file.
  const std::string golden =
      vellano::testing::readFile(std::string(VELLANO_SOURCE_DIR) + "/tests/registers/golden/liquidation_q2.txt");
  const std::string laser = readFile("LASER");
  ASSERT_FALSE(golden.empty());
  EXPECT_NE(laser.find("\x1B&l1O"), std::string::npos);
  EXPECT_NE(laser.find("\x1B(s10H\r\n" + golden), std::string::npos);
  // Field 11 of record 1 of the hand-over record.
  const std::string qmenu = readFile("QMENU.DAT");
  ASSERT_GE(qmenu.size(), 111u);
  EXPECT_EQ(qmenu.substr(48, 50), "C-6032-00002011-   140.39-     0.00" + std::string(15, ' '));
  ASSERT_TRUE(std::filesystem::exists("F24.PDF"));
  const std::string text = pdfText("F24.PDF");
  EXPECT_NE(text.find("SEZIONE ERARIO"), std::string::npos);
  EXPECT_NE(text.find("Modello richiesto: cartaceo (C)"), std::string::npos);
  EXPECT_NE(text.find("6032"), std::string::npos);
  EXPECT_NE(text.find("140,39"), std::string::npos);
}

// Without the form program beside the print program (an incomplete installation) the
// hand-over says that no form was made, and waits for a key before the program ends.
TEST_F(LiquidationRoad, MissingFormProgramIsSaid) {
  const auto r = vellano::testing::runHeadless(
      "VELST10W", {"", "4"}, std::filesystem::current_path(),
      "\"i\" <F9> \"t\" <ENTER> \"2\" <ENTER> <ENTER*6> \"c\" <ENTER> \"s\" <ENTER> <SNAP> <ENTER>",
      /*alone=*/true, {"orbw", "pcl2pdf"});
  EXPECT_EQ(r.status, 0);
  ASSERT_FALSE(r.commands.empty());
  EXPECT_EQ(r.commands.back(), "MODUVX.EXE");
  // The F24 window, the row handed over and the message in its place (the program's last
  // screen follows).
  bool said = false;
  for (std::size_t d = 0; d < r.dumps.size(); ++d) {
    said = said || r.row(d, 39).find("Modello F24 non creato: manca il programma MODUVX. Premere un tasto.") == 4u;
  }
  EXPECT_TRUE(said);
  EXPECT_EQ(readFile("QMENU.DAT").substr(48, 6), "C-6032");
  EXPECT_FALSE(std::filesystem::exists("F24.PDF"));
}

// F8 before any liquidation shows an empty row; ESC leaves back to the situation screen.
TEST_F(LiquidationRoad, F8WithoutALiquidationShowsAnEmptyRow) {
  const auto r = vellano::testing::runHeadless("VELST10W", {"", "4"}, std::filesystem::current_path(),
                                               "\"i\" <F8> <SNAP> <ESC> <SNAP> <ESC> <ESC>");
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_EQ(r.row(0, 33).find("│  ····  │········│ ····.·· │ ····.·· │"), 33u);
  EXPECT_NE(r.row(1, 2).find("% Interessi"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("F24.PDF"));
}

}  // namespace
}  // namespace vellano::registers

namespace vellano::registers {
namespace {

// A month out of range is asked again; after the print, ESC in the F24 window goes back to
// the situation screen, where F8 shows the row of that liquidation.
TEST_F(LiquidationRoad, MonthlyLiquidationThenF8ShowsItsRow) {
  const auto r = vellano::testing::runHeadless(
      "VELST10W", {"", "4"}, std::filesystem::current_path(),
      "\"i\" <F9> \"m\" <ENTER> \"13\" <ENTER> \"3\" <ENTER> <ENTER*6> <ESC> <F8> <SNAP> <ESC> <ESC> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(readFile("LASER").find("PROSPETTO LIQUIDAZIONE PERIODICA IVA Mese di MARZO 2011\r\n"), std::string::npos);
  std::size_t d = 0;
  while (d < r.dumps.size() && r.row(d, 31).find("SEZIONE ERARIO") == std::string::npos) ++d;
  ASSERT_LT(d, r.dumps.size());
  // March: nothing bought or sold, so no debit.
  EXPECT_EQ(r.row(d, 33).find("│  6003  │00002011│ ····.·· │ ····.·· │"), 33u);
  EXPECT_FALSE(std::filesystem::exists("F24.PDF"));
}

// ESC in the questions, or a cancel in the print dialog: nothing is printed, no F24 follows.
TEST_F(LiquidationRoad, CancelledDialogPrintsNothing) {
  for (const std::string keys : {"\"i\" <F9> <ESC> <ESC> <ESC>", "\"i\" <F9> \"a\" <ENTER> <ESC> <ESC> <ESC>"}) {
    SCOPED_TRACE(keys);
    std::filesystem::remove("LASER");
    const auto r = vellano::testing::runHeadless("VELST10W", {"", "4"}, std::filesystem::current_path(), keys);
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(std::filesystem::exists("LASER"));
    for (const std::string& command : r.commands) EXPECT_TRUE(command == "ORBW.EXE" || command == "VELLA10W.EXE 4") << command;
  }
}

}  // namespace
}  // namespace vellano::registers
