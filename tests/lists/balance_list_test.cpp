// The balance list: pages of 60 lines, codes with a zero balance left out, and a list with
// nothing to show.
#include "lists/balance_list.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "lists_support.h"

namespace vellano::lists {
namespace {

using records::CounterpartyKind;
using testing::DataFolder;

class BalanceListPrint : public testing::ReportRun {
 protected:
  void print(CounterpartyKind kind, const std::string& script) {
    auto run = start(script);
    run->catalogue->setStem(records::channel::kBalances,
                            kind == CounterpartyKind::Customer ? "PSALCL" : "PSALFO");
    printout::PrintOutput output;
    printBalanceList(*run->session, output, kind);
  }
};

// 63 customers: codes 5 and 40 balance out to zero (one of them never moved), every seventh
// owes nothing and has credit, so 61 lines: the 61st starts page two under its heading.
TEST_F(BalanceListPrint, SixtyFirstLineStartsANewPage) {
  {
    DataFolder data;
    for (int code = 1; code <= 63; ++code) {
      char name[32];
      std::snprintf(name, sizeof name, "CLIENTE %02d", code);
      double dare = code * 100.25;
      double avere = code % 7 == 0 ? dare + 1000 : 50;
      if (code == 5) dare = avere = 0;
      if (code == 40) avere = dare;
      data.party(CounterpartyKind::Customer, code, name, dare, avere);
    }
    data.count(CounterpartyKind::Customer, 63);
  }
  print(CounterpartyKind::Customer, "<ENTER*6>");
  vellano::testing::expectGolden("lists", "balance_two_pages.prn", readFile("LASER"));
}

// Suppliers at their own balance file; only the print set-up when every balance is zero.
TEST_F(BalanceListPrint, NoNonZeroBalancePrintsOnlyTheSetUp) {
  {
    DataFolder data;
    data.party(CounterpartyKind::Supplier, 1, "FORNITORE UNO", 500, 500);
    data.party(CounterpartyKind::Supplier, 2, "FORNITORE DUE");
    data.count(CounterpartyKind::Supplier, 2);
    // A customer balance must not leak into the supplier list.
    data.party(CounterpartyKind::Customer, 1, "CLIENTE", 10, 0);
    data.count(CounterpartyKind::Customer, 1);
  }
  print(CounterpartyKind::Supplier, "<ENTER*6>");
  vellano::testing::expectGolden("lists", "balance_empty.prn", readFile("LASER"));
}

// A negative balance, a name that fills its 30 characters and a code beyond the master
// records (blank name), on the printer port.
TEST_F(BalanceListPrint, SupplierLinesOnThePrinterPort) {
  {
    DataFolder data;
    data.party(CounterpartyKind::Supplier, 1, "FORNITURE INDUSTRIALI ITALIANE", 0, 1234.5);
    data.party(CounterpartyKind::Supplier, 2, "BETA SNC", 99.99, 0);
    data.balance(CounterpartyKind::Supplier, 3, 10, 0);  // no master record
    data.count(CounterpartyKind::Supplier, 3);
  }
  print(CounterpartyKind::Supplier, "\"n\" <ENTER*3> \"n\" <ENTER*3>");
  vellano::testing::expectGolden("lists", "balance_suppliers.prn", readFile("LPT1.PRN"));
}

}  // namespace
}  // namespace vellano::lists
