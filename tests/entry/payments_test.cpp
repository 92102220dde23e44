// The payments window: receipts and transfers posted to the balances by the posting table,
// corrections that move amounts without leaving any behind, refused values, the new payment
// number and the search list.
#include "entry/payments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payments_support.h"

namespace vellano::entry {
namespace {

using testing::balanceSides;
using testing::cashBankSides;
using testing::dumpCells;
using testing::headerOnFile;
using testing::Masters;
using testing::PaymentSession;
using testing::writeMasters;
using testing::writePayments;

const Masters kMasters{{"Alfa Srl", "Beta Spa", "Gamma Snc", "Delta Srl", "Epsilon"},
                       {"Fornitore Uno", "Fornitore Due"},
                       {"Cassa contanti", "Banca Popolare"}};

// A 95-byte payment record as the window writes it.
std::string paymentBytes(std::string_view code, std::string_view date, std::string_view text, std::string_view amount,
                         std::string_view cashBank) {
  return records::fitLeft(code, 5) + records::fitLeft(date, 6) + records::fitLeft(text, 70) + records::fitLeft(amount, 10) +
         records::fitLeft(cashBank, 4);
}

class PaymentsWindowTest : public vellano::testing::WorkFolder {
 protected:
  // Runs the window on a fresh session; every key must be used and the window left.
  records::RegisterHeader run(records::RegisterKind kind, const std::string& script, int expectedBeeps = 0) {
    PaymentSession s(script);
    writeMasters(s, kMasters);
    records::RegisterHeader header = records::openRegister(s.catalogue, kind);
    runPaymentsWindow(s.session, kind, header);
    EXPECT_EQ(s.backend().pending(), 0u) << script;
    EXPECT_EQ(s.backend().beeps(), expectedBeeps) << script;
    dumps_ = s.backend().dumps();
    return header;
  }

  std::vector<std::string> dumps_;
};

// New receipt from customer 3, today, 100.00, through account 1.
constexpr const char* kReceipt = "\"0\" <ENTER> \"3\" <ENTER> <ENTER> \"100\" <ENTER> \"1\" <ENTER> \"Incasso fattura\" <ENTER> ";

TEST_F(PaymentsWindowTest, ReceiptFromCustomerGoesToItsAvereAndTheAccountsDare) {
  const records::RegisterHeader header = run(records::RegisterKind::Sales, std::string(kReceipt) + "<ESC>");
  EXPECT_EQ(testing::recordOf("PAGVEN11.DAT", 95, 1).bytes(),
            paymentBytes("3", "100511", "Incasso fattura", "100", "1"));
  EXPECT_EQ(balanceSides("PSALCL11.DAT", 3).avere, " 100");
  EXPECT_EQ(records::val(balanceSides("PSALCL11.DAT", 3).dare), 0);
  EXPECT_EQ(cashBankSides(1).dare, " 100");
  EXPECT_EQ(records::val(cashBankSides(1).avere), 0);
  EXPECT_EQ(cashBankSides(2).dare, " 0");  // untouched: as written when the account was made
  EXPECT_EQ(header.payments, 1);
  EXPECT_EQ(headerOnFile(records::RegisterKind::Sales).payments, 1);
  // Nothing reached the supplier side.
  EXPECT_EQ(testing::recordOf("PSALFO11.DAT", 30, 3).bytes(), std::string(30, '\0'));
}

// Corrections of the receipt above: every balance must look as if the first save had posted
// the corrected payment directly.
TEST_F(PaymentsWindowTest, ResavingMovesTheAmountAndLeavesNothingBehind) {
  struct Case {
    const char* name;
    const char* correction;  // keys from the Cli/For field to the saved description
    std::string customer3Avere, customer4Avere, account1Dare, account2Dare;
  };
  const Case cases[] = {
      {"other contropartita", "<ENTER> <ENTER> <ENTER> \"2\" <ENTER> <ENTER>", " 100", "", " 0", " 100"},
      {"amount zero", "<ENTER> <ENTER> <CTRL-DEL> \"0\" <ENTER> <ENTER> <ENTER>", " 0", "", " 0", " 0"},
      {"other customer", "\"4\" <ENTER> <ENTER> <ENTER> <ENTER> <ENTER>", " 0", " 100", " 100", " 0"},
      {"no contropartita, new amount", "<ENTER> <ENTER> \"250.5\" <ENTER> <CTRL-DEL> <ENTER> <ENTER>", " 250.5", "",
       " 0", " 0"},
      {"same values again", "<ENTER> <ENTER> <ENTER> <ENTER> <ENTER>", " 100", "", " 100", " 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove("PSALCL11.DAT");
    std::filesystem::remove("PAGVEN11.DAT");
    std::filesystem::remove("INDVEN11.DAT");
    const records::RegisterHeader header =
        run(records::RegisterKind::Sales, std::string(kReceipt) + "\"1\" <ENTER> " + c.correction + " <ESC>");
    EXPECT_EQ(balanceSides("PSALCL11.DAT", 3).avere, c.customer3Avere);
    EXPECT_EQ(balanceSides("PSALCL11.DAT", 4).avere, c.customer4Avere);
    EXPECT_EQ(cashBankSides(1).dare, c.account1Dare);
    EXPECT_EQ(cashBankSides(2).dare, c.account2Dare);
    EXPECT_EQ(header.payments, 1);  // a re-save is no new payment
    EXPECT_EQ(headerOnFile(records::RegisterKind::Sales).payments, 1);
  }
}

TEST_F(PaymentsWindowTest, TransferFromAccountTwoShowsTheHintsAndPostsBothAccounts) {
  run(records::RegisterKind::Sales,
      "\"0\" <ENTER> \"8002\" <ENTER> <SNAP> <ENTER> \"300\" <ENTER> \"1\" <ENTER> <SNAP> \"Versamento\" <ENTER> <ESC>");
  EXPECT_EQ(cashBankSides(2).avere, " 300");
  EXPECT_EQ(records::val(cashBankSides(2).dare), 0);
  EXPECT_EQ(cashBankSides(1).dare, " 300");
  EXPECT_EQ(records::val(cashBankSides(1).avere), 0);
  EXPECT_EQ(testing::recordOf("PSALCL11.DAT", 30, 2).bytes(), std::string(30, '\0'));  // no customer 2 posting
  EXPECT_EQ(testing::recordOf("PAGVEN11.DAT", 95, 1).bytes(), paymentBytes("8002", "100511", "Versamento", "300", "1"));

  ASSERT_GE(dumps_.size(), 2u);
  const std::string& shown = dumps_[0];
  EXPECT_EQ(dumpCells(shown, 11, 4, 16), "│Cli/For : 8002│");
  EXPECT_EQ(dumpCells(shown, 11, 20, 14), "Banca Popolare");
  EXPECT_EQ(dumpCells(shown, 12, 20, 29), "il conto versa  - va in Avere");
  EXPECT_EQ(dumpCells(shown, 13, 20, 29), "la contropartita- va in Dare ");
  EXPECT_EQ(dumpCells(shown, 11, 51, 24), "│Dare   :           0.00");
  EXPECT_EQ(dumpCells(shown, 5, 1, 80).find("P A G A M E N T I") != std::string::npos, true);
  // The contropartita with its account's totals, before the save moves them.
  const std::string& account = dumps_[1];
  EXPECT_EQ(dumpCells(account, 15, 4, 38), "│Data: 10/05/11│Importo:       300.00│");
  EXPECT_EQ(dumpCells(account, 17, 4, 48), "│ Contropartita :   1 Cassa contanti            ");
  EXPECT_EQ(dumpCells(account, 15, 57, 18), "D :           0.00");
  EXPECT_EQ(dumpCells(account, 17, 57, 18), "S :           0.00");
  EXPECT_EQ(dumpCells(account, 12, 20, 29), "il conto versa  - va in Avere");
}

TEST_F(PaymentsWindowTest, HintLinesAreHighlighted) {
  // The keys run out in the Data field: the last screen presented is the one with the hints.
  PaymentSession s("\"0\" <ENTER> \"8001\" <ENTER>");
  writeMasters(s, kMasters);
  records::RegisterHeader header = records::openRegister(s.catalogue, records::RegisterKind::Sales);
  EXPECT_THROW(runPaymentsWindow(s.session, records::RegisterKind::Sales, header), platform::KeysExhausted);
  const platform::ScreenBuffer& shown = s.backend().lastScreen();
  const std::uint8_t highlight = screen::screenColours(s.context).title;
  const std::uint8_t text = screen::screenColours(s.context).text;
  EXPECT_NE(highlight, text);
  for (int row : {12, 13}) {
    for (int col = 20; col < 49; ++col) EXPECT_EQ(shown.at(row, col).attr, highlight) << row << "," << col;
  }
  EXPECT_EQ(shown.at(11, 20).attr, text);
}

TEST_F(PaymentsWindowTest, CustomerCounterpartyShowsNameAndBalanceWithoutHints) {
  run(records::RegisterKind::Sales, std::string(kReceipt) + "\"1\" <ENTER> <ENTER> <SNAP> <ESC> <ESC>");
  ASSERT_EQ(dumps_.size(), 1u);
  EXPECT_EQ(dumpCells(dumps_[0], 8, 4, 42), "│Codice pagamento:    1│Progressivo:    1│");
  EXPECT_EQ(dumpCells(dumps_[0], 11, 15, 4), "   3");
  EXPECT_EQ(dumpCells(dumps_[0], 11, 20, 30), records::fitLeft("Gamma Snc", 30));
  EXPECT_EQ(dumpCells(dumps_[0], 12, 20, 29), std::string(29, ' '));
  EXPECT_EQ(dumpCells(dumps_[0], 12, 51, 24), "│Avere  :         100.00");
  EXPECT_EQ(dumpCells(dumps_[0], 13, 51, 24), "│Saldo  :        -100.00");
  EXPECT_EQ(dumpCells(dumps_[0], 20, 5, 20), records::fitLeft("Incasso fattura", 20));
}

// Each script is answered with one beep and leaves every file as it was.
TEST_F(PaymentsWindowTest, RefusedValuesBeepAndWriteNothing) {
  struct Case {
    records::RegisterKind kind;
    const char* script;
  };
  const Case cases[] = {
      {records::RegisterKind::Purchases, "\"0\" <ENTER> \"8001\" <ENTER> <ESC> <ESC>"},  // purchases: suppliers only
      {records::RegisterKind::Purchases, "\"0\" <ENTER> <F8> <ESC> <ESC>"},
      {records::RegisterKind::Purchases, "\"0\" <ENTER> \"3\" <ENTER> <ESC> <ESC>"},     // two suppliers
      {records::RegisterKind::Sales, "\"0\" <ENTER> \"6\" <ENTER> <ESC> <ESC>"},         // five customers
      {records::RegisterKind::Sales, "\"0\" <ENTER> \"8003\" <ENTER> <ESC> <ESC>"},      // two accounts
      {records::RegisterKind::Sales, "\"0\" <ENTER> \"1.5\" <ENTER> <ESC> <ESC>"},
      {records::RegisterKind::Sales, "\"2\" <ENTER> <ESC>"},                           // beyond count + 1
      {records::RegisterKind::Sales, "<F9> <ESC>"},                                    // no payments to list
      {records::RegisterKind::Sales, "\"0\" <ENTER> \"3\" <ENTER> \"310211\" <ENTER> <ESC> <ESC>"},  // no 31 February
      {records::RegisterKind::Sales, "\"0\" <ENTER> \"3\" <ENTER> <ENTER> \"5\" <ENTER> \"3\" <ENTER> <ESC> <ESC>"},
      {records::RegisterKind::Sales, "\"0\" <ENTER> \"3\" <ENTER> <ENTER> \"1.005\" <ENTER> <ESC> <ESC>"},  // finer than cents
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    const records::RegisterHeader header = run(c.kind, c.script, 1);
    EXPECT_EQ(header.payments, 0);
    const std::string stem(records::registerInfo(c.kind).stems.payments);
    EXPECT_EQ(testing::recordOf(stem + "11.DAT", 95, 1).bytes(), std::string(95, '\0'));
    for (long n = 1; n <= 3; ++n) EXPECT_EQ(testing::recordOf("CASBAN.DAT", 50, n).trimmed(records::cash_bank_layout::kDebit), n <= 2 ? " 0" : "");
  }
}

TEST_F(PaymentsWindowTest, SearchListsFillTheCounterpartyAndTheContropartita) {
  struct Case {
    const char* counterpartyKeys;
    const char* cashBankKeys;
    std::string stored;  // counterparty and contropartita fields of the saved record
  };
  const Case cases[] = {
      {"<F8> <ENTER>", "<ENTER>", records::fitLeft("8001", 5)},
      {"\"8000\" <ENTER> <DOWN> <ENTER>", "<F9> <ENTER>", records::fitLeft("8002", 5) + "1"},
      {"<F9> <END> <ENTER>", "<F9> <DOWN> <ENTER>", records::fitLeft("5", 5) + "2"},
      {"<ENTER> <DOWN> <ENTER>", "\"2\" <ENTER>", records::fitLeft("2", 5) + "2"},  // 0 opens the customer list
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.counterpartyKeys);
    run(records::RegisterKind::Sales, std::string("\"0\" <ENTER> ") + c.counterpartyKeys + " <ENTER> \"10\" <ENTER> " +
                                 c.cashBankKeys + " <ENTER> <ESC>");
    const std::string record = testing::recordOf("PAGVEN11.DAT", 95, 1).bytes();
    EXPECT_EQ(record.substr(0, 5) + records::trimRight(record.substr(91, 4)), c.stored);
    std::filesystem::remove("PAGVEN11.DAT");
    std::filesystem::remove("INDVEN11.DAT");
  }
}

TEST_F(PaymentsWindowTest, EscInAFieldAbandonsThePaymentAndTheWindowGoesOn) {
  // The abandoned payment writes nothing; the next one is still number 1.
  run(records::RegisterKind::Sales,
      "\"0\" <ENTER> \"3\" <ENTER> <ENTER> \"100\" <ENTER> <ESC> " + std::string(kReceipt) + "<ESC>");
  EXPECT_EQ(balanceSides("PSALCL11.DAT", 3).avere, " 100");
  EXPECT_EQ(cashBankSides(1).dare, " 100");
  EXPECT_EQ(headerOnFile(records::RegisterKind::Sales).payments, 1);
  EXPECT_EQ(testing::recordOf("PAGVEN11.DAT", 95, 2).bytes(), std::string(95, '\0'));
}

TEST_F(PaymentsWindowTest, NumberZeroIsCountPlusOneAndTheHeaderKeepsItsOtherFields) {
  {
    PaymentSession s("");
    writeMasters(s, kMasters);
    records::RegisterHeader before;
    before.count = 7;
    before.protocol = {12, 0, 3, 0, 0};
    before.lastPage = 40;
    writePayments(s, records::RegisterKind::Purchases,
                  {records::Payment{"1", "020511", "Primo", "10", ""}, records::Payment{"2", "030511", "Secondo", "20", ""}}, before);
  }
  const records::RegisterHeader header =
      run(records::RegisterKind::Purchases, "<SNAP> \"0\" <ENTER> \"2\" <ENTER> <ENTER> \"75.25\" <ENTER> \"2\" <ENTER> <ENTER> <ESC>");
  EXPECT_EQ(header.payments, 3);
  const records::RegisterHeader onFile = headerOnFile(records::RegisterKind::Purchases);
  EXPECT_EQ(onFile.payments, 3);
  EXPECT_EQ(onFile.count, 7);
  EXPECT_EQ(onFile.lastPage, 40);
  EXPECT_EQ(onFile.protocol[0], 12);
  EXPECT_EQ(onFile.protocol[2], 3);
  EXPECT_EQ(testing::recordOf("INDACQ11.DAT", 90, 1).bytes().substr(10, 5), " 3   ");
  EXPECT_EQ(testing::recordOf("PAGACQ11.DAT", 95, 3).bytes(), paymentBytes("2", "100511", "", "75.25", "2"));
  // Purchases: the supplier's Dare, the account's Avere.
  EXPECT_EQ(balanceSides("PSALFO11.DAT", 2).dare, " 75.25");
  EXPECT_EQ(cashBankSides(2).avere, " 75.25");
  EXPECT_EQ(records::val(cashBankSides(2).dare), 0);
  ASSERT_GE(dumps_.size(), 1u);
  EXPECT_EQ(dumpCells(dumps_[0], 8, 28, 17), "Progressivo:    2");
}

TEST_F(PaymentsWindowTest, PageKeysAndTheSearchListChooseExistingPayments) {
  {
    PaymentSession s("");
    writeMasters(s, kMasters);
    writePayments(s, records::RegisterKind::Sales,
                  {records::Payment{"1", "020511", "Primo", "10", "1"}, records::Payment{"2", "030511", "Secondo", "20", "1"},
                   records::Payment{"8001", "040511", "Terzo", "30", "2"}});
  }
  // PgDn from nothing shows payment 1, ESC back; F9 + End chooses payment 3; PgUp from there 2.
  run(records::RegisterKind::Sales, "<PGDN> <SNAP> <ESC> <F9> <END> <ENTER> <SNAP> <ESC> <PGUP> <SNAP> <ESC> <ESC>");
  ASSERT_EQ(dumps_.size(), 3u);
  EXPECT_EQ(dumpCells(dumps_[0], 20, 5, 5), "Primo");
  EXPECT_EQ(dumpCells(dumps_[1], 20, 5, 5), "Terzo");
  EXPECT_EQ(dumpCells(dumps_[1], 11, 20, 14), "Cassa contanti");
  EXPECT_EQ(dumpCells(dumps_[2], 20, 5, 7), "Secondo");
  EXPECT_EQ(dumpCells(dumps_[2], 8, 23, 4), "   2");
}

TEST_F(PaymentsWindowTest, SearchListLinesNameTheCounterpartyOrTheAccount) {
  PaymentSession s("");
  writeMasters(s, kMasters);
  writePayments(s, records::RegisterKind::Sales,
                {records::Payment{"3", "020511", "Primo", "1234.56", "1"}, records::Payment{"8002", "", "", "-7", ""},
                 records::Payment{"", "", "", "", ""}});
  records::openRegister(s.catalogue, records::RegisterKind::Sales);
  const std::vector<std::string> expected{
      "   1 02/05/11 " + records::fitLeft("Gamma Snc", 30) + "         1,235",
      "   2          " + records::fitLeft("Banca Popolare", 26) + "    " + "            -7",
      "   3          " + std::string(30, ' ') + "             0",
  };
  EXPECT_EQ(paymentListEntries(s.catalogue, records::RegisterKind::Sales, 3), expected);
}

}  // namespace
}  // namespace vellano::entry
