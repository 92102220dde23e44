// The account statement: sections, the pause every 23 lines, totals and SALDO; and a
// cancelled dialog for every report of the folder.
#include "lists/account_statement.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "lists/balance_list.h"
#include "lists/turnover_list.h"
#include "lists_support.h"

namespace vellano::lists {
namespace {

using records::CounterpartyKind;
using records::RegisterKind;
using testing::DataFolder;
using testing::Pay;
using testing::Sale;

std::string text(const char* format, int n) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, n);
  return buffer;
}

// Customer 1 with 30 sales and 20 receipts among other customers' movements; customer 3
// without movements.
void customerYear() {
  DataFolder data;
  data.causal(1, "VENDITA MERCI");
  data.causal(2, "PRESTAZIONI DI SERVIZI");
  data.party(CounterpartyKind::Customer, 1, "ROSSI MARIO SRL", 0, 0, "", "VIA ROMA 1", "MILANO");
  data.party(CounterpartyKind::Customer, 2, "ALTRO CLIENTE");
  data.party(CounterpartyKind::Customer, 3, "SENZA MOVIMENTI", 0, 0, "", "VIA GIUSEPPE GARIBALDI 1234567", "TORINO");
  data.count(CounterpartyKind::Customer, 3);
  std::vector<Sale> sales;
  std::vector<Pay> payments;
  for (int k = 1; k <= 30; ++k) {
    sales.push_back(Sale{"1", text("%d", k), text("%02d0311", k % 28 + 1), {{"20", text("%d", 100 * k)}},
                         k % 2 == 0 ? "1" : "", text("%d", k)});
    if (k % 10 == 0) sales.push_back(Sale{"2", "99", "010311", {{"20", "5"}}, "2", "0"});
  }
  sales.push_back(Sale{"1", "77", "010311", {{"20", "5000"}}, "1", "77", true});
  for (int k = 1; k <= 20; ++k) {
    payments.push_back(Pay{"1", text("%02d0411", k), text("INCASSO FATTURA %d", k), text("%d", 10 * k)});
    if (k == 5) payments.push_back(Pay{"2", "050411", "ALTRO", "1"});
    if (k == 6) payments.push_back(Pay{"8001", "060411", "VERSAMENTO", "2"});
  }
  data.registrations(RegisterKind::Sales, sales, payments);
}

class StatementPrint : public testing::ReportRun {
 protected:
  void print(CounterpartyKind kind, long code, const std::string& script) {
    auto run = start(script);
    printout::PrintOutput output;
    printAccountStatement(*run->session, output, kind, code);
  }
  // The screens dumped while the report ran, 50 rows each after the title line.
  std::vector<std::vector<std::string>> screens() {
    std::vector<std::vector<std::string>> out;
    std::istringstream in(readFile("screens.txt"));
    std::vector<std::string> current;
    for (std::string line; std::getline(in, line);) {
      if (line == "----") {
        out.push_back(current);
        current.clear();
      } else {
        current.push_back(line);
      }
    }
    return out;
  }
};

// Continued at the first pause (the VENDITE heading comes again before the next line), ended
// with ESC at the second: no totals, the printer still reset.
TEST_F(StatementPrint, PausesEveryTwentyThreeLinesAndEscEndsWithoutTotals) {
  customerYear();
  {
    auto run = start("<ENTER*6> <SNAP> <ENTER> <SNAP> <ESC>");
    run->console->screen().putText(1, 1, "MENU", 0x07);  // what the program showed before
    printout::PrintOutput output;
    printAccountStatement(*run->session, output, CounterpartyKind::Customer, 1);
  }
  vellano::testing::expectGolden("lists", "statement_paused.prn", readFile("LASER"));
  // The dialog's final screen, the two pauses, the report's final screen.
  const auto dumps = screens();
  ASSERT_EQ(dumps.size(), 4u);
  const std::string escFine = "ESC Fine" + std::string(112, ' ');
  EXPECT_EQ(dumps[1].at(1).substr(0, 4), "MENU");
  EXPECT_EQ(dumps[1].at(25), escFine);
  EXPECT_EQ(dumps[2].at(25), escFine);
  // The key that continued cleared the screen: the second pause shows nothing else.
  for (int row = 1; row <= 50; ++row) {
    if (row == 25) continue;
    EXPECT_EQ(dumps[2].at(static_cast<std::size_t>(row)), std::string(120, ' ')) << "row " << row;
  }
  EXPECT_EQ(vellano::testing::commandLog(), (std::vector<std::string>{"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER"}));
}

// A supplier: its sales and purchases under 9000 + code, its purchase payments by the plain
// code. The payments add up to a negative total: not printed, yet it enters the SALDO.
TEST_F(StatementPrint, NegativeTotalIsLeftOutButEntersTheSaldo) {
  {
    DataFolder data;
    data.causal(1, "VENDITA MERCI");
    data.causal(2, "ACQUISTO MERCI");
    data.party(CounterpartyKind::Supplier, 1, "FORNITURE ALFA SRL", 0, 0, "", "VIA DEL LAVORO 10", "BOLOGNA");
    data.count(CounterpartyKind::Supplier, 1);
    data.registrations(RegisterKind::Sales, {Sale{"9001", "5", "200311", {{"10", "100"}}, "1", "12"},
                                             Sale{"1", "6", "210311", {{"10", "100"}}, "1", "13"}},
                       {Pay{"1", "220311", "INCASSO CLIENTE 1", "110"}});
    data.registrations(RegisterKind::Purchases, {Sale{"9001", "F12", "100311", {{"20", "1000"}, {"E15", "20"}}, "2", "7"}},
                       {Pay{"1", "150311", "BONIFICO", "1500"}, Pay{"2", "160311", "ALTRO", "99"},
                        Pay{"1", "170311", "STORNO BONIFICO", "-1700"}});
  }
  print(CounterpartyKind::Supplier, 1, "\"n\" <ENTER*3> \"n\" <ENTER*3>");
  vellano::testing::expectGolden("lists", "statement_supplier.prn", readFile("LPT1.PRN"));
}

// Without movements, or for a code beyond the count, only the heading.
TEST_F(StatementPrint, WithoutMovementsOnlyTheHeading) {
  struct Case {
    long code;
    const char* golden;
  };
  customerYear();
  for (const Case& c : {Case{3, "statement_no_movements.prn"}, Case{4, "statement_unknown_code.prn"}}) {
    SCOPED_TRACE(c.code);
    print(CounterpartyKind::Customer, c.code, "<ENTER*6>");
    vellano::testing::expectGolden("lists", c.golden, readFile("LASER"));
  }
}

// A cancelled dialog prints nothing, whichever report asked.
TEST_F(StatementPrint, CancelledDialogPrintsNothing) {
  customerYear();
  const std::vector<std::pair<const char*, std::function<void(screen::Session&, printout::PrintOutput&)>>> reports = {
      {"statement", [](screen::Session& s, printout::PrintOutput& o) {
         printAccountStatement(s, o, CounterpartyKind::Customer, 1);
       }},
      {"balance list", [](screen::Session& s, printout::PrintOutput& o) {
         s.catalogue.setStem(records::channel::kBalances, "PSALCL");
         printBalanceList(s, o, CounterpartyKind::Customer);
       }},
      {"turnover list", [](screen::Session& s, printout::PrintOutput& o) {
         printTurnoverList(s, o, CounterpartyKind::Customer);
       }},
  };
  for (const auto& [name, report] : reports) {
    SCOPED_TRACE(name);
    auto run = start("<ENTER*5> \"n\" <ENTER>");
    printout::PrintOutput output;
    report(*run->session, output);
    EXPECT_FALSE(std::filesystem::exists("LASER"));
    EXPECT_FALSE(std::filesystem::exists("LPT1.PRN"));
    EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{"ORBW.EXE"});
    std::filesystem::remove("commands.txt");
  }
}

}  // namespace
}  // namespace vellano::lists
