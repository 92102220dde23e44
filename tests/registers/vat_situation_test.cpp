// The VAT situation: its monthly VAT, and the "IVA" screen of the print program run headless
// on the fixture year, with the opening position and the interest typed on it.
#include "registers/vat_situation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/context.h"
#include "support/files.h"
#include "support/headless_run.h"
#include "support/work_folder.h"
#include "registers/liquidation_fixture.h"

namespace vellano::registers {
namespace {

using liquidation_testing::registration;

TEST(VatSituation, MonthlyVatLeavesNonDeductibleOutAndKeepsAnnulled) {
  const std::array<double, 13> vat = monthlyVat({
      registration("120511", {{"I20", "100", ""}, {"20", "100", ""}}),
      registration("~30511", {{"10", "100", ""}}),
      registration("010611", {{"4", "50", "2"}}),
      registration("      ", {{"20", "1000", ""}}),
  });
  EXPECT_DOUBLE_EQ(vat[5], 30);  // 20 of the deductible line + 10 of the annulled one
  EXPECT_DOUBLE_EQ(vat[6], 2);
  double total = 0;
  for (double v : vat) total += v;
  EXPECT_DOUBLE_EQ(total, 32);  // the registration without a date has no month
}

TEST(VatSituation, RunningBalanceQuartersAndAmountsToPay) {
  SituationInput in;
  in.opening = -100;  // a debit at the start of the year
  in.sales[1] = 300;
  in.purchases[2] = 50;
  in.paid[1] = 200;
  in.interestPercent = 1.0f;
  const VatSituation s = computeSituation(in);
  struct Expected {
    int month;
    double balance, difference, interest, toPay;
  };
  const std::vector<Expected> months = {
      {1, -400, -300, 4, 404},
      {2, -350, 50, 3.5, 353.5},
      {3, -350, 0, 0, 0},  // nothing moved: nothing to pay
  };
  for (const Expected& e : months) {
    SCOPED_TRACE(e.month);
    const SituationRow& row = s.months[static_cast<std::size_t>(e.month)];
    EXPECT_DOUBLE_EQ(row.balance, e.balance);
    EXPECT_DOUBLE_EQ(row.difference, e.difference);
    EXPECT_DOUBLE_EQ(row.interest, e.interest);
    EXPECT_DOUBLE_EQ(row.toPay, e.toPay);
  }
  const SituationRow& q1 = s.quarters[1];
  EXPECT_DOUBLE_EQ(q1.purchases, 50);
  EXPECT_DOUBLE_EQ(q1.sales, 300);
  EXPECT_DOUBLE_EQ(q1.balance, -350);
  EXPECT_DOUBLE_EQ(q1.paid, 200);
  EXPECT_DOUBLE_EQ(q1.interest, 7.5);
  EXPECT_DOUBLE_EQ(q1.toPay, 357.5);
  EXPECT_DOUBLE_EQ(s.quarters[2].toPay, 0);
  EXPECT_DOUBLE_EQ(s.quarters[2].balance, -350);
}

class VatSituationScreen : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    context_.yearSuffix = "11";
    context_.workingDate = liquidation_testing::kFixtureDate;
    records::Catalogue catalogue(context_);
    liquidation_testing::writeFixtureYear(catalogue);
    writeFile("DATA.DAT", std::string(liquidation_testing::kFixtureDate) + std::string(11, ' '));
  }
  vellano::testing::HeadlessRun run(const std::string& script) {
    return vellano::testing::runHeadless("VELST10W", {"", "4"}, std::filesystem::current_path(), script);
  }
  static std::string golden(const std::string& name) {
    return vellano::testing::readFile(std::string(VELLANO_SOURCE_DIR) + "/tests/registers/golden/" + name);
  }
  records::Context context_;
};

// Quarter rows 5-8 and month rows 11-22 of the fixture year, as the screen shows them.
TEST_F(VatSituationScreen, FixtureYearRowsMatchTheirGoldenFile) {
  const auto r = run("\"i\" <SNAP> <ESC> <ESC>");
  ASSERT_FALSE(r.dumps.empty());
  std::string rows;
  for (int row = 5; row <= 8; ++row) rows += r.row(0, row) + "\n";
  for (int row = 11; row <= 22; ++row) rows += r.row(0, row) + "\n";
  const std::string expected = golden("vat_situation_rows.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(r.row(0, 4).rfind(" Tri│ACQUISTI  │VENDITE   │V│SALDO     │DIFFERENZA   IVA VERSATA   INTERESSI     DA VERSARE ", 0), 0u);
  EXPECT_EQ(r.row(0, 10).rfind(" Mes│ACQUISTI  │VENDITE   │V│SALDO     │DIFFERENZA   IVA VERSATA   INTERESSI     DA VERSARE ", 0), 0u);
  EXPECT_NE(r.row(0, 2).find("C    Importo     150.00   % Interessi   1.00"), std::string::npos);
  EXPECT_NE(r.row(0, 40).find("   Per creare il Modello 'F24' e' necessario stampare la Liquidazione IVA (tasto F9)."),
            std::string::npos);
}

// The letter and the opening amount, then the interest: both go to CDIVA record 1 and the
// screen is recomputed from them. A letter other than C or D is refused.
TEST_F(VatSituationScreen, OpeningPositionAndInterestAreWrittenAndShown) {
  const auto r = run("\"i\" \"x\" <ENTER> \"d\" <ENTER> \"500\" <ENTER> <F2> \"2\" <ENTER> <SNAP> <ESC> <ESC>");
  ASSERT_FALSE(r.dumps.empty());
  const std::string cdiva = readFile("CDIVA11.DAT");
  ASSERT_GE(cdiva.size(), 21u);
  EXPECT_EQ(cdiva.substr(0, 11), "D500       ");
  EXPECT_EQ(cdiva.substr(16, 5), "2    ");
  EXPECT_NE(r.row(0, 2).find("D    Importo     500.00   % Interessi   2.00"), std::string::npos);
  // January: 0 + (-500) - 10 = -510, a debit with 2 % interest.
  EXPECT_EQ(r.row(0, 11).substr(0, 91),
            " GEN                 10.00 D    -510.00     -10.00                      10.20        520.20");
}

// ESC in the amount leaves the record as it was.
TEST_F(VatSituationScreen, EscInTheAmountWritesNothing) {
  const std::string before = readFile("CDIVA11.DAT");
  const auto r = run("\"i\" \"d\" <ENTER> \"500\" <ESC> <ESC> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(readFile("CDIVA11.DAT"), before);
}

}  // namespace
}  // namespace vellano::registers
