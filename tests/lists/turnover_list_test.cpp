// The turnover list: the totals per counterparty, and the whole print of a small year
// compared byte for byte with its golden file.
#include "lists/turnover_list.h"

#include <gtest/gtest.h>

#include "lists_support.h"

namespace vellano::lists {
namespace {

using records::CounterpartyKind;
using records::RegisterKind;
using testing::DataFolder;
using testing::Line;
using testing::Sale;

records::Registration registration(const std::string& counterparty, std::vector<Line> lines, bool annulled = false) {
  records::Registration r;
  r.date = annulled ? "~40311" : "140311";
  r.counterparty = counterparty;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    r.lines[k].rateText = lines[k].rate;
    r.lines[k].taxableText = lines[k].taxable;
    records::computeLine(r.lines[k]);
  }
  return r;
}

TEST(SumTurnover, EachRegistrationCountsOnceAndEachLineInItsColumn) {
  struct Case {
    const char* name;
    records::Registration registration;
    long code;  // where it counts; 0: nowhere
    Turnover expected;
  };
  const Case cases[] = {
      {"rates and a non-deductible rate", registration("2", {{"20", "1000"}, {"I10", "50.5"}}), 2,
       {1, 1050.5, 0, 205.05}},
      {"every line at rate 0 is exempt", registration("2", {{"E10", "300"}, {"N15", "200"}, {"0", "12.5"}}), 2,
       {1, 0, 512.5, 0}},
      {"all lines empty still count the registration", registration("3", {}), 3, {1, 0, 0, 0}},
      {"a rate with no taxable amount adds nothing", registration("3", {{"20", ""}}), 3, {1, 0, 0, 0}},
      {"a supplier's 9000 + code counts for the code", registration("9003", {{"4", "100"}}), 3, {1, 100, 0, 4}},
      {"an annulled registration counts nowhere", registration("2", {{"20", "100"}}, true), 0, {}},
      {"a code beyond the count counts nowhere", registration("4", {{"20", "100"}}), 0, {}},
      {"code 0 counts nowhere", registration("", {{"20", "100"}}), 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Turnover> totals = sumTurnover(std::span(&c.registration, 1), 3);
    ASSERT_EQ(totals.size(), 4u);
    for (long code = 1; code <= 3; ++code) {
      const Turnover want = code == c.code ? c.expected : Turnover{};
      const Turnover& got = totals[static_cast<std::size_t>(code)];
      EXPECT_EQ(got.registrations, want.registrations) << "code " << code;
      EXPECT_DOUBLE_EQ(got.taxable, want.taxable) << "code " << code;
      EXPECT_DOUBLE_EQ(got.exempt, want.exempt) << "code " << code;
      EXPECT_DOUBLE_EQ(got.vat, want.vat) << "code " << code;
    }
  }
}

class TurnoverPrint : public testing::ReportRun {};

TEST_F(TurnoverPrint, CustomerListOnTheLaserFile) {
  testing::turnoverCustomerYear();
  auto run = start("<ENTER*6>");
  printout::PrintOutput output;
  printTurnoverList(*run->session, output, CounterpartyKind::Customer);
  vellano::testing::expectGolden("lists", "turnover_customers.prn", readFile("LASER"));
  EXPECT_EQ(vellano::testing::commandLog(), (std::vector<std::string>{"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER"}));
}

// Suppliers over the purchases, on the printer port: condensed print instead of PCL.
TEST_F(TurnoverPrint, SupplierListOnThePrinterPort) {
  {
    DataFolder data;
    data.party(CounterpartyKind::Supplier, 1, "FORNITURE ALFA SRL", 0, 0, "02222222222");
    data.party(CounterpartyKind::Supplier, 2, "BETA SNC", 0, 0, "03333333333");
    data.count(CounterpartyKind::Supplier, 2);
    data.registrations(RegisterKind::Purchases, {
        Sale{"9002", "A1", "010311", {{"20", "200"}, {"E15", "20"}}, "", "1"},
        Sale{"9002", "A2", "020311", {{"10", "1234567.89"}}, "", "2"},
    });
  }
  auto run = start("\"n\" <ENTER*3> \"n\" <ENTER*3>");
  printout::PrintOutput output;
  printTurnoverList(*run->session, output, CounterpartyKind::Supplier);
  vellano::testing::expectGolden("lists", "turnover_suppliers.prn", readFile("LPT1.PRN"));
  EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{"ORBW.EXE"});
}

}  // namespace
}  // namespace vellano::lists
