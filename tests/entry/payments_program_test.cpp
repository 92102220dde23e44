// VELLA10W run headless: the payments window reached with F2 from the registration screen,
// its postings to the balance and cash/bank files, and the movement list of an account.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry_support.h"
#include "records/numbers.h"
#include "records/text.h"
#include "records/cash_bank_file.h"
#include "screen/kit.h"

namespace vellano::entry {
namespace {

using testing::cells;
using testing::RegisterFolder;

// Keys from the main menu into the payments window of a register ("v" sales, "a" purchases).
std::string intoPayments(const char* menuKey) { return std::string("\"") + menuKey + "\" <F2> "; }
// Payments window, then registration screen, then main menu.
const std::string kLeave = "<ESC> <ESC> <ESC>";

class PaymentsProgram : public RegisterFolder {
 protected:
  void SetUp() override {
    RegisterFolder::SetUp();
    customers({"ALFA SRL", "BETA SPA", "GAMMA SNC"});
    suppliers({"FORNITORE UNO", "FORNITORE DUE"});
    accounts({"Cassa contanti", "Banca Popolare"});
  }

  void accounts(const std::vector<std::string>& descriptions) {
    for (std::size_t i = 0; i < descriptions.size(); ++i)
      records::writeCashBank(catalogue(), static_cast<int>(i + 1), records::CashBank{descriptions[i], 0, 0});
    records::writeCounter(catalogue(), records::kCashBankCounter, static_cast<int>(descriptions.size()));
  }
  void payments(records::RegisterKind kind, const std::vector<records::Payment>& list) {
    records::RegisterHeader h = records::openRegister(catalogue(), kind);
    for (std::size_t i = 0; i < list.size(); ++i) {
      records::W_12(catalogue(), list[i]);
      catalogue().channel(12).write(static_cast<long>(i + 1));
    }
    h.payments = static_cast<int>(list.size());
    records::writeHeader(catalogue(), h);
  }
  records::CashBank account(int n) {
    const records::CashBank a = records::readCashBank(catalogue(), n);
    catalogue().closeAll();
    return a;
  }
  records::Payment payment(records::RegisterKind kind, long n) {
    records::openRegister(catalogue(), kind);
    catalogue().channel(12).read(n);
    records::Payment p;
    records::L_12(catalogue(), p);
    catalogue().closeAll();
    return p;
  }
  // Dare and Avere text of a balance record, as stored.
  std::string balanceRecord(const std::string& file, long n) { return rawRecord(file, 30, n); }
};

// A receipt of 100.00 from customer 3 through account 1.
const std::string kReceipt = "\"0\" <ENTER> \"3\" <ENTER> <ENTER> \"100\" <ENTER> \"1\" <ENTER> \"Incasso fattura\" <ENTER> ";

TEST_F(PaymentsProgram, ReceiptFromTheRegistrationScreenPostsCustomerAvereAndAccountDare) {
  auto r = run(intoPayments("v") + "<SNAP> " + kReceipt + "<SNAP> " + kLeave);
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.dumps[0].find("P A G A M E N T I"), std::string::npos);
  EXPECT_EQ(cells(r.dumps[0], 8, 4, 42), "│Codice pagamento: ····│Progressivo:    0│");
  EXPECT_EQ(cells(r.dumps[1], 8, 28, 17), "Progressivo:    1");

  const records::Payment saved = payment(records::RegisterKind::Sales, 1);
  EXPECT_EQ(records::trim(saved.counterparty), "3");
  EXPECT_EQ(records::trim(saved.date), "150511");
  EXPECT_EQ(records::trim(saved.description), "Incasso fattura");
  EXPECT_EQ(records::val(saved.amount), 100);
  EXPECT_EQ(records::val(saved.cashBank), 1);

  const records::BalanceTotals customer = balance(records::RegisterKind::Sales, 3);
  EXPECT_DOUBLE_EQ(customer.avere, 100);
  EXPECT_DOUBLE_EQ(customer.dare, 0);
  EXPECT_EQ(balance(records::RegisterKind::Sales, 2).avere, 0);
  EXPECT_DOUBLE_EQ(account(1).debit, 100);
  EXPECT_DOUBLE_EQ(account(1).credit, 0);
  EXPECT_DOUBLE_EQ(account(2).debit, 0);
  EXPECT_EQ(readHeader(records::RegisterKind::Sales).payments, 1);
  EXPECT_EQ(readHeader(records::RegisterKind::Sales).count, 0);  // no registration came of it
  // Nothing reached the supplier side.
  EXPECT_EQ(balance(records::RegisterKind::Purchases, 3).dare, 0);
}

TEST_F(PaymentsProgram, ResavingInALaterRunMovesTheAmountToTheOtherContropartita) {
  ASSERT_EQ(run(intoPayments("v") + kReceipt + kLeave).status, 0);
  ASSERT_DOUBLE_EQ(account(1).debit, 100);

  // Payment 1 again: counterparty, date and amount kept, contropartita 2, description kept.
  auto r = run(intoPayments("v") + "\"1\" <ENTER> <ENTER> <ENTER> <ENTER> <CTRL-DEL> \"2\" <ENTER> <ENTER> " + kLeave);
  ASSERT_EQ(r.status, 0);
  EXPECT_DOUBLE_EQ(account(1).debit, 0);
  EXPECT_DOUBLE_EQ(account(2).debit, 100);
  EXPECT_DOUBLE_EQ(account(1).credit, 0);
  EXPECT_DOUBLE_EQ(account(2).credit, 0);
  EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Sales, 3).avere, 100);  // not posted twice
  EXPECT_EQ(records::val(payment(records::RegisterKind::Sales, 1).cashBank), 2);
  EXPECT_EQ(readHeader(records::RegisterKind::Sales).payments, 1);  // a re-save is no new payment
}

TEST_F(PaymentsProgram, TransferFromAccountTwoInSalesShowsTheHintsAndPostsBothAccounts) {
  const std::string customer2 = balanceRecord("PSALCL11.DAT", 2);
  auto r = run(intoPayments("v") + "\"0\" <ENTER> \"8002\" <ENTER> <SNAP> <ENTER> \"300\" <ENTER> \"1\" <ENTER> "
                                   "\"Versamento\" <ENTER> " + kLeave);
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  const std::string& shown = r.dumps[0];
  EXPECT_EQ(cells(shown, 11, 4, 16), "│Cli/For : 8002│");
  EXPECT_EQ(cells(shown, 11, 20, 14), "Banca Popolare");
  EXPECT_EQ(cells(shown, 12, 20, 29), "il conto versa  - va in Avere");
  EXPECT_EQ(cells(shown, 13, 20, 29), "la contropartita- va in Dare ");

  EXPECT_DOUBLE_EQ(account(2).credit, 300);
  EXPECT_DOUBLE_EQ(account(2).debit, 0);
  EXPECT_DOUBLE_EQ(account(1).debit, 300);
  EXPECT_DOUBLE_EQ(account(1).credit, 0);
  EXPECT_EQ(balanceRecord("PSALCL11.DAT", 2), customer2);  // customer 2 is no counterparty here
  EXPECT_EQ(records::trim(payment(records::RegisterKind::Sales, 1).counterparty), "8002");
}

TEST_F(PaymentsProgram, AccountCodeIsRefusedInThePurchaseRegister) {
  // 8001 is refused and asked again; supplier 2 is then taken.
  auto r = run(intoPayments("a") + "\"0\" <ENTER> \"8001\" <ENTER> <SNAP> <CTRL-DEL> \"2\" <ENTER> <ENTER> \"40\" <ENTER> "
                                   "\"1\" <ENTER> <ENTER> " + kLeave);
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(cells(r.dumps[0], 12, 20, 29), std::string(29, ' '));  // no transfer hints
  EXPECT_EQ(records::trim(payment(records::RegisterKind::Purchases, 1).counterparty), "2");
  // Purchases: the supplier's Dare and the contropartita's Avere; account 1 is no counterparty.
  EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Purchases, 2).dare, 40);
  EXPECT_DOUBLE_EQ(account(1).credit, 40);
  EXPECT_DOUBLE_EQ(account(1).debit, 0);
  EXPECT_EQ(readHeader(records::RegisterKind::Purchases).payments, 1);
  EXPECT_EQ(readHeader(records::RegisterKind::Sales).payments, 0);  // the purchase register's own files
}

TEST_F(PaymentsProgram, NumberZeroBecomesCountPlusOneAndTheHeaderCountsIt) {
  payments(records::RegisterKind::Sales, {records::Payment{"1", "020511", "Primo", "10", ""}, records::Payment{"2", "030511", "Secondo", "20", ""}});
  records::RegisterHeader before = readHeader(records::RegisterKind::Sales);
  before.count = 4;
  header(records::RegisterKind::Sales, before);

  auto r = run(intoPayments("v") + "\"0\" <ENTER> <SNAP> \"1\" <ENTER> <ENTER> \"7.5\" <ENTER> <ENTER> \"Terzo\" <ENTER> "
                                   "<SNAP> " + kLeave);
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_EQ(cells(r.dumps[0], 8, 4, 42), "│Codice pagamento:    3│Progressivo:    2│");
  EXPECT_EQ(cells(r.dumps[1], 8, 28, 17), "Progressivo:    3");

  const records::RegisterHeader after = readHeader(records::RegisterKind::Sales);
  EXPECT_EQ(after.payments, 3);
  EXPECT_EQ(after.count, 4);  // the registrations' count is left alone
  EXPECT_EQ(records::trim(payment(records::RegisterKind::Sales, 3).description), "Terzo");
  EXPECT_EQ(records::trim(payment(records::RegisterKind::Sales, 2).description), "Secondo");
  EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Sales, 1).avere, 7.5);
}

TEST_F(PaymentsProgram, MovementListOfCashAndBanksWritesThePrintFileAndOpensTheEditor) {
  payments(records::RegisterKind::Sales, {records::Payment{"3", "020511", "Incasso", "100", "1"}, records::Payment{"2", "030511", "Altro", "50", "2"}});
  payments(records::RegisterKind::Purchases, {records::Payment{"1", "040511", "Fornitura", "30", "1"}});
  // Account 1 chosen on the cash and bank screen, then its movement list.
  auto r = run("\"b\" \"1\" <ENTER> <F9> <SNAP> <ENTER> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(cells(r.dumps[0], 25, 1, 13), "Fine Archivio");

  const std::string print = readFile("LASER");
  EXPECT_NE(print.find("Movimenti   1 Cassa contanti"), std::string::npos) << print;
  EXPECT_NE(print.find("   1  02/05/11        100.00 Incasso"), std::string::npos) << print;
  EXPECT_EQ(print.find("Altro"), std::string::npos) << print;  // account 2's payment
  EXPECT_NE(print.find("   1  04/05/11         30.00 Fornitura"), std::string::npos) << print;
  EXPECT_NE(print.find("Totale  VENDITE       100.00"), std::string::npos) << print;
  EXPECT_NE(print.find("Totale ACQUISTI        30.00"), std::string::npos) << print;
  EXPECT_EQ(r.commands, std::vector<std::string>{"CMD /C NOTEPAD2.EXE LASER"});
}

}  // namespace
}  // namespace vellano::entry
