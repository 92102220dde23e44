// The lists through the real programs, headless: F8 and F9 on the customer screen hand over
// to the print program, which prints and starts the entry program again on that screen; the
// print menu's "elenco cLienti".
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lists_support.h"
#include "support/headless_run.h"

namespace vellano::lists {
namespace {

using records::CounterpartyKind;
using records::RegisterKind;
using vellano::testing::HeadlessRun;
using vellano::testing::runHeadless;

class ListsThroughThePrograms : public vellano::testing::WorkFolder {
 protected:
  HeadlessRun run(const std::string& program, const std::vector<std::string>& args, const std::string& script) {
    return runHeadless(program, args, std::filesystem::current_path(), script);
  }
  static bool hasLine(const std::string& print, const std::string& line) {
    return print.find(line + "\r\n") != std::string::npos;
  }
  // The commands up to and including the first start of the entry program.
  static std::vector<std::string> untilEntry(const std::vector<std::string>& commands) {
    auto end = std::find(commands.begin(), commands.end(), "VELLA10W.EXE /M 1");
    return {commands.begin(), end == commands.end() ? end : end + 1};
  }

  // Two customers with balances; customer 1 with two sales, one receipt and a causal.
  void customers() {
    testing::DataFolder data({"/M", "1"});
    data.causal(1, "VENDITA MERCI");
    data.party(CounterpartyKind::Customer, 1, "ROSSI MARIO SRL", 1464, 200, "", "VIA ROMA 1", "MILANO");
    data.party(CounterpartyKind::Customer, 2, "BIANCHI SPA", 50, 50);
    data.count(CounterpartyKind::Customer, 2);
    data.registrations(RegisterKind::Sales,
                       {testing::Sale{"1", "15", "100311", {{"20", "1000"}}, "1", "1"},
                        testing::Sale{"1", "16", "110311", {{"10", "200"}}, "", "2"}},
                       {testing::Pay{"1", "120311", "ACCONTO", "200"}});
  }
};

TEST_F(ListsThroughThePrograms, F8OnTheCustomerScreenPrintsTheBalanceListAndComesBack) {
  customers();
  auto r = run("VELLA10W", {"/M", "1"}, "\"c\" <F8> <ENTER*6> <SNAP> <ESC> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(untilEntry(r.commands),
            (std::vector<std::string>{"VELST10W.EXE /M 1", "ORBW.EXE", "CMD /C DEL LASER",
                                      "CMD /C PRFILE32.EXE /q LASER", "VELLA10W.EXE /M 1"}));
  const std::string print = readFile("LASER");
  EXPECT_TRUE(hasLine(print, " LISTA  con Saldo diverso da 0 (zero)"));
  EXPECT_TRUE(hasLine(print, "|   1 ROSSI MARIO SRL               |   1,464.00|     200.00|   1,264.00|D"));
  EXPECT_EQ(print.find("BIANCHI"), std::string::npos);  // its balance is zero
  // The entry program started again opens the customer screen at once (the dialog's final
  // screen comes before the snap).
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.row(1, 1).find("GESTIONE   CLIENTI (DAT)"), std::string::npos);
  EXPECT_EQ(readFile("QMENU.DAT").substr(41, 2), "  ");  // and serves the request once
}

TEST_F(ListsThroughThePrograms, F9ListaMovPrintsTheStatementOfTheCustomerOnShow) {
  customers();
  auto r = run("VELLA10W", {"/M", "1"}, "\"c\" \"1\" <ENTER> <F9> <ENTER*6> <SNAP> <ESC> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(untilEntry(r.commands),
            (std::vector<std::string>{"VELST10W.EXE /M 1", "ORBW.EXE", "CMD /C DEL LASER",
                                      "CMD /C PRFILE32.EXE /q LASER", "VELLA10W.EXE /M 1"}));
  const std::string print = readFile("LASER");
  EXPECT_TRUE(hasLine(print, "ESTRATTO CONTO"));
  EXPECT_TRUE(hasLine(print, "ROSSI MARIO SRL                - VIA ROMA 1                     - MILANO              "));
  const std::string lines[] = {
      "             |10/03/11|   15|   1,200.00|VENDITA MERCI                                                         |      1",
      "             |11/03/11|   16|     220.00|                                                                      |      2",
      "             |12/03/11|    1|     200.00|ACCONTO                                                               | ",
      "TOT. VENDITE           :        1,420.00",
      "TOT. PAGAMENTI VEN     :          200.00",
      "SALDO..................:        1,220.00",
  };
  for (const std::string& line : lines) EXPECT_TRUE(hasLine(print, line)) << line;
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.row(1, 1).find("GESTIONE   CLIENTI (DAT)"), std::string::npos);
}

TEST_F(ListsThroughThePrograms, PrintMenuCustomerListPrintsTheTurnoverList) {
  testing::turnoverCustomerYear();
  auto r = run("VELST10W", {"", "4"}, "\"l\" <ENTER*6> <SNAP> <ESC>");
  EXPECT_EQ(r.status, 0);
  vellano::testing::expectGolden("lists", "turnover_customers.prn", readFile("LASER"));
  EXPECT_EQ(r.commands, (std::vector<std::string>{"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER",
                                                  "VELLA10W.EXE 4"}));
  // Back in the print menu after the list.
  ASSERT_FALSE(r.dumps.empty());
  EXPECT_NE(r.title(1).find(".VELST10W."), std::string::npos);
  EXPECT_NE(r.row(1, 15).find("│elenco cLienti...............│"), std::string::npos);
}

}  // namespace
}  // namespace vellano::lists
