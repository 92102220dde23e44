// The liquidation: the computation on small inputs (a table of cases), and the print of one
// quarter of the fixture year against its golden file.
#include "registers/liquidation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/context.h"
#include "records/numbers.h"
#include "printout/print_channel.h"
#include "registers/liquidation_dialog.h"
#include "support/files.h"
#include "support/work_folder.h"
#include "registers/liquidation_fixture.h"

namespace vellano::registers {
namespace {

using liquidation_testing::registration;

// A line of the final block: label, four blanks, the amount through the mask, "    |".
std::string finalLine(const std::string& label, double amount) {
  return label + "    " + records::printUsing("###,###.##", amount) + "    |";
}

struct Case {
  std::string name;
  std::function<void(LiquidationInput&)> fill;
  Period period;
  double purchasesVat, salesVat, takingsVat;
  double balance, interest, amountToPay;
  std::vector<std::string> printed;     // lines the print must hold
  std::vector<std::string> notPrinted;  // label starts it must not hold
};

bool holds(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}
bool startsSome(const std::vector<std::string>& lines, const std::string& start) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

TEST(Liquidation, ComputesEachCase) {
  const std::vector<Case> cases = {
      {"a quarter with only purchases is a credit with nothing to pay",
       [](LiquidationInput& in) { in.purchases = {registration("050411", {{"20", "1000", ""}})}; },
       Period::quarter(2), 200, 0, 0, -200, 0, -200,
       {finalLine("|IVA SU ACQUISTI...........................|", 200),
        finalLine("|IMPOSTA A CREDITO.........................|", -200)},
       {"|IMPOSTA DA VERSARE", "|IMPOSTA A DEBITO", "VERSAMENTO ESEGUITO"}},
      {"interest 1.00 on a debit of 1,000.00",
       [](LiquidationInput& in) {
         in.sales = {registration("100511", {{"20", "5000", ""}})};
         in.interestPercent = 1.0f;
       },
       Period::quarter(2), 0, 1000, 0, 1000, 10, 1010,
       {finalLine("|IMPOSTA A DEBITO..........................|", 1000),
        finalLine("|INTERESSI.................................|", 10),
        finalLine("|IMPOSTA DA VERSARE........................|", 1010),
        "VERSAMENTO ESEGUITO IL _____/_____/__________   A MEZZO F24 _________________"},
       {}},
      {"a credit earns no interest",
       [](LiquidationInput& in) {
         in.purchases = {registration("050411", {{"20", "1000", ""}})};
         in.interestPercent = 1.0f;
       },
       Period::quarter(2), 200, 0, 0, -200, 0, -200, {}, {"|INTERESSI", "|IMPOSTA DA VERSARE"}},
      {"agricultural balance of 0.50 is neither debit nor credit",
       [](LiquidationInput& in) {
         in.codes[1].code = "AG10";
         in.codes[1].rateText = "10";
         in.codes[1].compensation = 9.5f;
         in.sales = {registration("100511", {{"10", "100", "1"}})};
         in.purchases = {registration("100511", {{"20", "50", ""}})};
       },
       Period::quarter(2), 10, 10, 0, 0, 0, 0,
       {"|    LIQUIDAZIONE ARTICOLO 34  REGIME SPECIALE AGRICOLTURA    |",
        "|          " + records::printUsing("###,###.##", 9.5) + "          |      9.5% di     100.00      |",
        finalLine("|IVA DETRAIBILE REGIME SPECIALE AGRICOLTURA|", 9.5)},
       {"|IMPOSTA A DEBITO", "|IMPOSTA A CREDITO", "|IVA SU ACQUISTI", "VERSAMENTO ESEGUITO"}},
      {"takings of 104.00 at 4 % are 100.00 and 4.00",
       [](LiquidationInput& in) { in.takings[6][0][4] = 104.0; },
       Period::quarter(2), 0, 0, 4, 4, 0, 4,
       {"|    4|  4%|          |          |          |          |    100.00|      4.00|",
        "Totale     :      0.00       0.00       0.00       0.00     100.00       4.00",
        finalLine("|IVA SU CORRISPETTVI.......................|", 4)},
       {}},
      {"an I20 purchase line counts at 20 with its full VAT",
       [](LiquidationInput& in) { in.purchases = {registration("120511", {{"I20", "100", ""}})}; },
       Period::quarter(2), 20, 0, 0, -20, 0, -20,
       {"|   20| 20%|    100.00|     20.00|          |          |          |          |"}, {}},
      {"a code row takes the code's rate after its I and prints one cell more",
       [](LiquidationInput& in) {
         in.codes[3].code = "ND20";
         in.codes[3].rateText = "I20";
         in.purchases = {registration("120511", {{"I20", "150", "3"}})};
       },
       Period::quarter(2), 30, 0, 0, -30, 0, -30,
       {"|ND20 | 20%|    150.00|     30.00|          |          |          |          |          |          |"}, {}},
      {"an annulled registration in the period still counts",
       [](LiquidationInput& in) { in.sales = {registration("~40511", {{"20", "100", ""}})}; },
       Period::quarter(2), 0, 20, 0, 20, 0, 20, {finalLine("|IVA SU VENDITE............................|", 20)}, {}},
      {"exempt lines go to the exempt row",
       [](LiquidationInput& in) { in.sales = {registration("100511", {{"E15", "300", ""}})}; },
       Period::quarter(2), 0, 0, 0, 0, 0, 0,
       {"|Esente    |          |          |    300.00|          |          |          |"}, {"|IMPOSTA A"}},
      {"one month takes that month only",
       [](LiquidationInput& in) {
         in.sales = {registration("100311", {{"20", "100", ""}}), registration("100411", {{"20", "1000", ""}})};
       },
       Period::month(3), 0, 20, 0, 20, 0, 20, {}, {}},
      {"a quarter takes its three months",
       [](LiquidationInput& in) {
         in.sales = {registration("100311", {{"20", "100", ""}}), registration("100411", {{"20", "1000", ""}}),
                     registration("300611", {{"10", "10", ""}}), registration("010711", {{"20", "5", ""}})};
       },
       Period::quarter(2), 0, 201, 0, 201, 0, 201, {}, {}},
      {"the year takes every month",
       [](LiquidationInput& in) {
         in.sales = {registration("100311", {{"20", "100", ""}}), registration("101211", {{"20", "1000", ""}})};
         in.takings[1][2][0] = 12.0;
         in.takings[12][2][30] = 12.0;
       },
       Period::year(), 0, 220, 4, 224, 0, 224, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LiquidationInput in;
    c.fill(in);
    const Liquidation l = liquidate(in, c.period);
    EXPECT_DOUBLE_EQ(l.purchasesVat, c.purchasesVat);
    EXPECT_DOUBLE_EQ(l.salesVat, c.salesVat);
    EXPECT_DOUBLE_EQ(l.takingsVat, c.takingsVat);
    EXPECT_DOUBLE_EQ(l.balance, c.balance);
    EXPECT_DOUBLE_EQ(l.interest, c.interest);
    EXPECT_DOUBLE_EQ(l.amountToPay, c.amountToPay);
    const std::vector<std::string> lines = liquidationLines(l, "DITTA", "11");
    for (const std::string& line : c.printed) EXPECT_TRUE(holds(lines, line)) << "missing: " << line;
    for (const std::string& start : c.notPrinted) EXPECT_FALSE(startsSome(lines, start)) << "printed: " << start;
  }
}

TEST(Liquidation, PeriodHeadings) {
  struct HeadingCase {
    Period period;
    std::string heading;
  };
  const std::vector<HeadingCase> cases = {
      {Period::quarter(2), "PROSPETTO LIQUIDAZIONE PERIODICA IVA 2 Trimestre  2011"},
      {Period::month(3), "PROSPETTO LIQUIDAZIONE PERIODICA IVA Mese di MARZO 2011"},
      {Period::year(), "PROSPETTO LIQUIDAZIONE PERIODICA IVA Anno 2011"},
  };
  for (const HeadingCase& c : cases) {
    const std::vector<std::string> lines = liquidationLines(liquidate(LiquidationInput{}, c.period), "DITTA", "11");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "DITTA");
    EXPECT_EQ(lines[1], c.heading);
  }
}

TEST(Liquidation, RegistrationMonthReadsCharactersThreeAndFour) {
  EXPECT_EQ(registrationMonth("140511"), 5);
  EXPECT_EQ(registrationMonth("~40511"), 5);
  EXPECT_EQ(registrationMonth("141311"), 0);
  EXPECT_EQ(registrationMonth(""), 0);
  EXPECT_EQ(registrationMonth("14 511"), 0);
}

class LiquidationPrint : public vellano::testing::WorkFolder {
 protected:
  // Every file of the folder with its bytes.
  static std::map<std::string, std::string> folderBytes() {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator("."))
      files[entry.path().filename().string()] = readFile(entry.path());
    return files;
  }
};

// One printed quarter of the fixture year, byte for byte.
TEST_F(LiquidationPrint, SecondQuarterOfTheFixtureYearMatchesItsGoldenFile) {
  records::Context context;
  context.yearSuffix = "11";
  context.workingDate = liquidation_testing::kFixtureDate;
  context.company.name = "FERRAMENTA PROVA S.R.L.";
  records::Catalogue catalogue(context);
  liquidation_testing::writeFixtureYear(catalogue);

  const std::map<std::string, std::string> before = folderBytes();
  const LiquidationInput input = readLiquidationInput(catalogue);
  const Liquidation liquidation = liquidate(input, Period::quarter(2));
  {
    printout::PrintChannel channel;
    channel.open("LASER");
    printLiquidation(channel, liquidation, context);
  }
  const std::string golden =
      vellano::testing::readFile(std::string(VELLANO_SOURCE_DIR) + "/tests/registers/golden/liquidation_q2.txt");
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(readFile("LASER"), golden);
  EXPECT_DOUBLE_EQ(liquidation.amountToPay, 140.39);

  // The annual communication's entry point prints the year the same way and ends on the form feed.
  printout::PrintChannel channel;
  channel.open("YEAR");
  const Liquidation year = printYearLiquidation(catalogue, channel);
  channel.close();
  const std::string printed = readFile("YEAR");
  EXPECT_EQ(printed.back(), '\x0C');
  EXPECT_NE(printed.find("PROSPETTO LIQUIDAZIONE PERIODICA IVA Anno 2011\r\n"), std::string::npos);
  EXPECT_EQ(year.period.kind, 'A');
  // A liquidation changes no file: only the two print files are new.
  std::map<std::string, std::string> after = folderBytes();
  after.erase("LASER");
  after.erase("YEAR");
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace vellano::registers
