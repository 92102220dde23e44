// The ventilation of takings: the computation, its input read from the files, and the
// CALCOLI screen of a real run.
#include "entry/ventilation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "records/registration_files.h"
#include "records/text.h"
#include "support/work_folder.h"
#include "master/causals_support.h"
#include "support/headless_run.h"

namespace vellano::entry {
namespace {

using master::testing::columns;

// 1000.00 at 10 % and 3000.00 at 20 % bought up to March, 2000.00 ventilated in March.
VentilationInput marchExample() {
  VentilationInput in;
  in.addPurchase(2, 10, 1000.00);
  in.addPurchase(3, 20, 3000.00);
  in.v[3] = 2000.00f;
  return in;
}

TEST(VentilationComputation, SplitsMarchTakingsByProgressivePurchases) {
  const VentilationTables t = computeVentilation(marchExample());
  EXPECT_FLOAT_EQ(t.pm[3], 4000.0f);
  EXPECT_FLOAT_EQ(t.pp[3][10], 1000.0f);
  EXPECT_FLOAT_EQ(t.pp[3][20], 3000.0f);
  EXPECT_FLOAT_EQ(t.k[3], 0.5f);
  struct Case {
    int rate;
    float l, vat, taxable;
  };
  for (const Case& c : {Case{10, 500.00f, 45.45f, 454.55f}, Case{20, 1500.00f, 250.00f, 1250.00f}}) {
    SCOPED_TRACE(c.rate);
    EXPECT_FLOAT_EQ(t.l[3][c.rate], c.l);
    EXPECT_FLOAT_EQ(t.i[3][c.rate], c.vat);
    EXPECT_NEAR(t.taxable(3, c.rate), c.taxable, 0.001);
  }
  EXPECT_FLOAT_EQ(t.monthVat[3], 295.45f);
  EXPECT_FLOAT_EQ(t.vatYear[10], 45.45f);
  EXPECT_FLOAT_EQ(t.l[3][4], 0.0f);  // nothing bought at 4 % and no stock: no share
}

TEST(VentilationComputation, MonthsWithoutVentilationKeepThePreviousCoefficient) {
  VentilationInput in = marchExample();
  in.previousCoefficient = 0.25f;
  in.v[5] = 400.0f;
  in.addPurchase(5, 20, 4000.0);  // PM(5) = 8000: K = 0.05
  const VentilationTables t = computeVentilation(in);
  EXPECT_FLOAT_EQ(t.k[0], 0.25f);
  EXPECT_FLOAT_EQ(t.k[1], 0.25f);  // no ventilation yet: K(0) carried
  EXPECT_FLOAT_EQ(t.k[2], 0.25f);
  EXPECT_FLOAT_EQ(t.k[3], 0.5f);
  EXPECT_FLOAT_EQ(t.k[4], 0.5f);   // April: no ventilation, March's coefficient
  EXPECT_FLOAT_EQ(t.k[5], 0.05f);
  EXPECT_FLOAT_EQ(t.k[12], 0.05f);
  EXPECT_FLOAT_EQ(t.l[4][20], 0.0f);  // and no ventilated takings in April
  EXPECT_FLOAT_EQ(t.l[5][20], 350.0f);  // 0.05 × 7000
}

TEST(VentilationComputation, WithoutPurchasesTheStockIsTheBaseAndKZeroTheCoefficient) {
  VentilationInput in;
  in.previousCoefficient = 0.1f;
  in.stock4 = 1040.0f;
  in.stock10 = 0;
  in.stock20 = 6000.0f;
  in.v[1] = 500.0f;
  in.addPurchase(1, 22, 0);  // a rate with nothing bought gives nothing
  const VentilationTables t = computeVentilation(in);
  EXPECT_FLOAT_EQ(t.k[1], 0.1f);
  EXPECT_FLOAT_EQ(t.l[1][4], 104.0f);
  EXPECT_FLOAT_EQ(t.i[1][4], 4.0f);
  EXPECT_FLOAT_EQ(t.l[1][10], 0.0f);
  EXPECT_FLOAT_EQ(t.l[1][20], 600.0f);
  EXPECT_FLOAT_EQ(t.i[1][20], 100.0f);
  EXPECT_FLOAT_EQ(t.l[1][22], 0.0f);
}

TEST(VentilationComputation, TakingsTotalsLeaveTheVentilationColumnOut) {
  VentilationInput in;
  in.c4[1] = 10;
  in.c10[1] = 20;
  in.c20[1] = 30;
  in.v[1] = 40;
  in.c20[2] = 5;
  const VentilationTables t = computeVentilation(in);
  EXPECT_FLOAT_EQ(t.total[1], 60.0f);
  EXPECT_FLOAT_EQ(t.totalYear, 65.0f);
  EXPECT_FLOAT_EQ(t.v, 40.0f);
}

TEST(VentilationComputation, PurchasesOutsideTheTablesAreLeftOut) {
  VentilationInput in;
  in.addPurchase(0, 20, 100);
  in.addPurchase(13, 20, 100);
  in.addPurchase(3, 101, 100);
  in.addPurchase(3, -4, 100);
  const VentilationTables t = computeVentilation(in);
  EXPECT_FLOAT_EQ(t.mYear, 0.0f);
}

// ---- From the files ----

std::string causalRecord(char ventilation) {
  std::string r = records::fitLeft("Merci", 30) + "E" + std::string(1, ventilation);
  r.resize(500, ' ');
  return r;
}

// A purchase registration with one or two lines (causal, rate, imponibile).
std::string purchase(std::string_view date, int causal1, std::string_view taxable1, int causal2 = 0,
                     std::string_view taxable2 = "") {
  records::Record record(records::registration_layout::kLength);
  records::Registration r;
  r.date = date;
  r.counterparty = "9001";
  r.lines[0].causalText = std::to_string(causal1);
  r.lines[0].rateText = "10";
  r.lines[0].taxableText = taxable1;
  if (causal2 > 0) {
    r.lines[1].causalText = std::to_string(causal2);
    r.lines[1].rateText = "I20";
    r.lines[1].taxableText = taxable2;
  }
  records::packRegistration(r, record);
  return record.bytes();
}

std::string purchaseHeader(int count, std::string_view k0, std::string_view stock10) {
  records::Record record(records::header_layout::kLength);
  records::RegisterHeader h;
  h.count = count;
  h.stockPercent = k0;
  h.stock10 = stock10;
  records::packHeader(h, record);
  return record.bytes();
}

// CORRIS record of a month with one ventilation amount on day `day`.
std::string ventilationMonth(int day, std::string_view amount) {
  std::string r(records::kTakingsLength, ' ');
  r.replace(records::takingsField(3, day).offset, amount.size(), amount);
  return r;
}

class VentilationFiles : public vellano::testing::WorkFolder {};

TEST_F(VentilationFiles, AnnulledPurchasesAndCausalsWithoutVentilationAreLeftOut) {
  writeFile("CAUCON.DAT", causalRecord('S') + causalRecord('N'));
  writeFile("INDACQ11.DAT", purchaseHeader(4, " .25", "800"));
  writeFile("ACQUIS11.DAT", purchase("100211", 1, "909.09", 2, "2500") +  // 1000.00 counted, the "N" line not
                                purchase("~50311", 1, "5000") +           // annulled
                                purchase("200311", 2, "100") +           // causal "N"
                                purchase("010411", 1, "100", 1, "10"));   // 110.00 + 12.00 at 20 %
  writeFile("CORRIS11.DAT", std::string(records::kTakingsLength * 2, ' ') + ventilationMonth(5, "1500.50"));
  records::Context context;
  context.yearSuffix = "11";
  records::Catalogue catalogue(context);
  const VentilationInput in = readVentilationInput(catalogue);
  EXPECT_FLOAT_EQ(in.previousCoefficient, 0.25f);
  EXPECT_FLOAT_EQ(in.stock10, 800.0f);
  EXPECT_FLOAT_EQ(in.v[3], 1500.5f);
  EXPECT_FLOAT_EQ(in.v[1], 0.0f);
  EXPECT_FLOAT_EQ(in.p[2][10], 1000.0f);
  EXPECT_FLOAT_EQ(in.p[2][20], 0.0f);
  EXPECT_FLOAT_EQ(in.p[3][10], 0.0f);
  EXPECT_FLOAT_EQ(in.p[4][10], 110.0f);
  EXPECT_FLOAT_EQ(in.p[4][20], 12.0f);  // "I20": the rate after the letter
}

// ---- The CALCOLI screen ----

class CalcoliRun : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    writeFile("DATA.DAT", "150311" + std::string(11, ' '));
    writeFile("CAUCON.DAT", causalRecord('S'));
    writeFile("INDEX.DAT", " 1   ");
    writeFile("INDACQ11.DAT", purchaseHeader(2, "", ""));
    // 909.09 + 90.91 = 1000.00 at 10 % in February, 2500 + 500 = 3000.00 at 20 % in March.
    std::string second = purchase("100311", 1, "2500");
    records::Record record(std::move(second));
    record.set(records::registration_layout::rate(0), "20");
    writeFile("ACQUIS11.DAT", purchase("100211", 1, "909.09") + record.bytes());
    writeFile("CORRIS11.DAT", std::string(records::kTakingsLength * 2, ' ') + ventilationMonth(1, "2000"));
  }
};

TEST_F(CalcoliRun, ShowsTheMarchVentilationAndCarriesTheCoefficient) {
  auto r = vellano::testing::runHeadless("VELLA10W", {}, std::filesystem::current_path(),
                                         "\"r\" <F9> <SNAP> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  // Takings: March row (row 4) with the ventilation and K, April (row 5) with K carried.
  EXPECT_EQ(columns(r.row(0, 4), 1, 2), " 3");
  EXPECT_EQ(columns(r.row(0, 4), 48, 10), "  2,000.00");
  EXPECT_EQ(columns(r.row(0, 4), 59, 14), "  0.5000000000");
  EXPECT_EQ(columns(r.row(0, 5), 59, 14), "  0.5000000000");
  EXPECT_EQ(columns(r.row(0, 3), 59, 14), std::string(14, ' '));  // no K before March
  EXPECT_EQ(columns(r.row(0, 14), 48, 10), "  2,000.00");
  // Purchases: March (row 20) P and PP at 10 % and 20 %, month total and progressive.
  EXPECT_EQ(columns(r.row(0, 19), 26, 10), "  1,000.00");  // P(2, 10)
  EXPECT_EQ(columns(r.row(0, 20), 26, 10), std::string(10, ' '));  // nothing at 10 % in March
  EXPECT_EQ(columns(r.row(0, 20), 37, 10), "  1,000.00");  // PP(3, 10)
  EXPECT_EQ(columns(r.row(0, 20), 48, 10), "  3,000.00");
  EXPECT_EQ(columns(r.row(0, 20), 70, 10), "  3,000.00");
  EXPECT_EQ(columns(r.row(0, 20), 81, 10), "  4,000.00");
  // VAT: March (row 34) taxable and VAT at 10 % and 20 %, and the month's VAT.
  EXPECT_EQ(columns(r.row(0, 34), 26, 21), "    454.55      45.45");
  EXPECT_EQ(columns(r.row(0, 34), 48, 21), "  1,250.00     250.00");
  EXPECT_EQ(columns(r.row(0, 34), 70, 10), "    295.45");
  EXPECT_EQ(columns(r.row(0, 44), 70, 10), "    295.45");
  EXPECT_EQ(columns(r.row(0, 1), 1, 3), "Me│");
  EXPECT_EQ(columns(r.row(0, 44), 82, 7), "CALCOLI");
}

TEST_F(CalcoliRun, F9WritesTheStockAndCoefficientIntoThePurchaseHeader) {
  auto r = vellano::testing::runHeadless(
      "VELLA10W", {}, std::filesystem::current_path(),
      "\"r\" <F9> <F9> \"100\" <ENTER> \"200.5\" <ENTER> \"300\" <ENTER> \".125\" <ENTER> <SNAP> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  const std::string header = master::testing::recordOf("INDACQ11.DAT", 90, 1);
  EXPECT_EQ(header.substr(45, 45), records::fitLeft(".125", 15) + records::fitLeft("100", 10) +
                                       records::fitLeft("200.5", 10) + records::fitLeft("300", 10));
  EXPECT_EQ(header.substr(0, 5), " 2   ");  // the count stays
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(columns(r.row(0, 16), 4, 10), "    100.00");
  EXPECT_EQ(columns(r.row(0, 16), 26, 10), "    200.50");
  EXPECT_EQ(columns(r.row(0, 16), 70, 16), "%   0.1250000000");
}

TEST_F(CalcoliRun, EscDuringTheStockEditWritesNothing) {
  const std::string before = readFile("INDACQ11.DAT");
  auto r = vellano::testing::runHeadless("VELLA10W", {}, std::filesystem::current_path(),
                                         "\"r\" <F9> <F9> \"100\" <ENTER> <ESC> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(readFile("INDACQ11.DAT"), before);
}

}  // namespace
}  // namespace vellano::entry
