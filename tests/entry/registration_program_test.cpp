// VELLA10W run headless on the sales and purchase registers: what the screen shows and what
// lands in the registration, header and balance files.
#include <gtest/gtest.h>

#include <string>

#include "entry_support.h"

namespace vellano::entry {
namespace {

using testing::cells;
using testing::oneLine;
using testing::RegisterFolder;

// Keys of a new registration up to the first VAT line: number 0, date and counterparty
// (`counterparty` typed over what is offered), then document, note and protocol as offered.
std::string newHead(const std::string& counterparty = "") {
  std::string keys = "\"0\" <ENTER> <ENTER> ";
  keys += counterparty.empty() ? "<ENTER> " : "<CTRL-DEL> \"" + counterparty + "\" <ENTER> ";
  return keys + "<ENTER*7> ";
}
// One VAT line: causal, sub-account, VAT code, aliquota (typed over the offer), imponibile.
std::string line(const std::string& rate, const std::string& taxable) {
  return "<ENTER*3> <CTRL-DEL> \"" + rate + "\" <ENTER> <CTRL-DEL> \"" + taxable + "\" <ENTER> ";
}
const std::string kEndLines = "<ENTER*5> ";  // an empty line ends the entry and saves

class RegistrationProgram : public RegisterFolder {};

TEST_F(RegistrationProgram, ZeroInAnEmptyRegisterOpensRegistrationOneAndSavesWithoutVatLines) {
  auto r = run("\"v\" \"0\" <ENTER> <SNAP> <ENTER> <ENTER> <ENTER*7> " + kEndLines + "<SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_EQ(cells(r.dumps[0], 2, 114, 4), "   1");
  EXPECT_NE(r.dumps[0].find("REGISTRO  VENDITE"), std::string::npos);
  EXPECT_EQ(cells(r.dumps[1], 4, 114, 4), "   1");  // the count after saving
  EXPECT_EQ(cells(r.dumps[1], 43, 79, 10), "      0.00");

  const std::string record = readFile("VENDIT11.DAT");
  ASSERT_EQ(record.size(), 200u);
  EXPECT_EQ(record.substr(0, 6), "150511");
  EXPECT_EQ(record.substr(16, 14), "150511V1      ");
  EXPECT_EQ(record.substr(166, 1), "1");
  EXPECT_EQ(record.substr(189, 11), std::string(11, ' '));
  const records::RegisterHeader h = readHeader(records::RegisterKind::Sales);
  EXPECT_EQ(h.count, 1);
  EXPECT_EQ(h.protocol[0], 1);
  EXPECT_EQ(read(records::RegisterKind::Sales, 1).totals().total, 0);
}

TEST_F(RegistrationProgram, ScorporoAndTypedImponibileKeepTheirOwnForms) {
  // Aliquota 120 on 1220: offered again as 1016.67 and confirmed; then 1500.5 typed at 20.
  auto r = run("\"v\" " + newHead() + "<ENTER*3> \"120\" <ENTER> \"1220\" <ENTER> <SNAP> <ENTER> " +
               line("20", "1500.5") + kEndLines + "<SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_EQ(cells(r.dumps[0], 38, 53, 3), " 20");
  EXPECT_EQ(cells(r.dumps[0], 38, 57, 7), "1016.67");  // in the field, offered again
  EXPECT_EQ(cells(r.dumps[1], 38, 53, 36), " 20│  1,016.67│    203.33│  1,220.00");
  EXPECT_EQ(cells(r.dumps[1], 39, 57, 32), "  1,500.50│    300.10│  1,800.60");
  EXPECT_EQ(cells(r.dumps[1], 43, 57, 32), "  2,517.17│    503.43│  3,020.60");

  const std::string record = readFile("VENDIT11.DAT");
  ASSERT_EQ(record.size(), 200u);
  EXPECT_EQ(record.substr(30, 13), " 20 1016.67  ");
  EXPECT_EQ(record.substr(43, 13), "20 1500.5    ");
}

TEST_F(RegistrationProgram, RateWithoutImponibileAsksTheGrossTotale) {
  auto r = run("\"v\" " + newHead() + "<ENTER*3> \"20\" <ENTER> <ENTER> <SNAP> \"100\" <ENTER> " + kEndLines +
               "<SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_EQ(cells(r.dumps[0], 38, 57, 10), std::string(10, ' '));  // imponibile left at 0
  EXPECT_EQ(cells(r.dumps[1], 38, 57, 32), "     83.33│     16.67│    100.00");
  EXPECT_EQ(readFile("VENDIT11.DAT").substr(33, 10), " 83.33    ");
}

TEST_F(RegistrationProgram, NonDeductibleVatIsCountedInBothTotals) {
  vatCode(3, "22", "22", "ORDINARIA");
  // I10 on 500.00, then VAT code 3 taking its table rate on 100.
  auto r = run("\"v\" " + newHead() + line("I10", "500.00") + "<ENTER*2> \"3\" <ENTER> <ENTER> \"100\" <ENTER> " +
               kEndLines + "<SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  const std::string& d = r.dumps[0];
  EXPECT_EQ(cells(d, 38, 53, 36), " 10│    500.00│     50.00│    550.00");
  EXPECT_EQ(cells(d, 39, 34, 7), " 3 22  ");
  EXPECT_EQ(cells(d, 39, 53, 36), " 22│    100.00│     22.00│    122.00");
  EXPECT_EQ(cells(d, 43, 46, 10), "     50.00");  // non-deductible
  EXPECT_EQ(cells(d, 43, 57, 32), "    600.00│     72.00│    672.00");
  const records::Registration saved = read(records::RegisterKind::Sales, 1);
  EXPECT_EQ(saved.lines[0].rateText, "I10");
  EXPECT_EQ(saved.lines[1].rateText, "22");
  EXPECT_EQ(saved.lines[1].vatCode(), 3);
  EXPECT_DOUBLE_EQ(saved.totals().nonDeductible, 50);
}

TEST_F(RegistrationProgram, NewProtocolBelowTheCounterStillBecomesTheCounter) {
  records::RegisterHeader h;
  h.protocol = {4, 15, 0, 0, 0};
  header(records::RegisterKind::Sales, h);
  auto r = run("\"v\" \"0\" <ENTER> <ENTER> <ENTER> <ENTER*4> <CTRL-DEL> \"2\" <ENTER> <SNAP> <CTRL-DEL> \"7\" <ENTER> "
               "<ENTER> " + kEndLines + "<ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(cells(r.dumps[0], 16, 60, 2), "16");  // the proposal: counter 2 + 1
  const records::RegisterHeader after = readHeader(records::RegisterKind::Sales);
  EXPECT_EQ(after.count, 1);
  EXPECT_EQ(after.protocol[0], 4);
  EXPECT_EQ(after.protocol[1], 7);
  EXPECT_EQ(readFile("VENDIT11.DAT").substr(22, 8), "V7      ");
  EXPECT_EQ(readFile("VENDIT11.DAT").substr(166, 1), "2");
}

TEST_F(RegistrationProgram, ResavingWithAnotherCustomerMovesTheTotalBetweenDareBalances) {
  customers({"ROSSI SRL", "BIANCHI SPA"});
  auto r = run("\"v\" " + newHead("1") + line("20", "100") + kEndLines + "<ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Sales, 1).dare, 120);

  // Registration 1 again, customer 2, every line kept.
  r = run("\"v\" \"1\" <ENTER> <ENTER> <CTRL-DEL> \"2\" <ENTER> <ENTER*7> <ENTER*5> " + kEndLines +
          "<SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(cells(r.dumps[0], 5, 2, 17), "    2 BIANCHI SPA");
  EXPECT_EQ(cells(r.dumps[0], 6, 45, 11), "     120.00");
  EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Sales, 1).dare, 0);
  EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Sales, 2).dare, 120);
  EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Sales, 2).avere, 0);
  EXPECT_EQ(readHeader(records::RegisterKind::Sales).count, 1);
  EXPECT_EQ(read(records::RegisterKind::Sales, 1).counterparty, "2");
}

TEST_F(RegistrationProgram, TwentyNinthFebruaryOfYearZeroIsRefusedOfYearFourAccepted) {
  auto r = run("\"v\" \"0\" <ENTER> <CTRL-DEL> \"290200\" <ENTER> <SNAP> <CTRL-DEL> \"290204\" <ENTER> <SNAP> "
               "<ENTER> <ENTER*7> " + kEndLines + "<ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_EQ(cells(r.dumps[0], 2, 8, 7), "\u00B7150511");  // asked again, the working date offered
  EXPECT_EQ(cells(r.dumps[1], 2, 8, 8), "29/02/04");
  EXPECT_EQ(readFile("VENDIT11.DAT").substr(0, 6), "290204");
}

TEST_F(RegistrationProgram, PurchaseCounterparty9000OpensTheSupplierList) {
  suppliers({"ALFA SPA", "BETA SRL"});
  auto r = run("\"a\" \"0\" <ENTER> <ENTER> <SNAP> <ENTER> <SNAP> <DOWN> <ENTER> <SNAP> <ENTER*7> " +
               line("10", "50") + kEndLines + "<ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 3u);
  EXPECT_NE(r.dumps[0].find("REGISTRO ACQUISTI"), std::string::npos);
  EXPECT_NE(r.dumps[0].find("FORNITORE"), std::string::npos);
  EXPECT_EQ(cells(r.dumps[0], 5, 2, 4), "9000");  // offered
  EXPECT_EQ(cells(r.dumps[1], 2, 3, 8), "ALFA SPA");  // the supplier list
  EXPECT_EQ(cells(r.dumps[1], 3, 3, 8), "BETA SRL");
  EXPECT_EQ(cells(r.dumps[2], 5, 2, 14), " 9002 BETA SRL");
  EXPECT_EQ(readFile("ACQUIS11.DAT").substr(6, 5), "9002 ");
  EXPECT_EQ(readFile("ACQUIS11.DAT").substr(22, 1), "A");
  EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Purchases, 2).avere, 55);
  EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Purchases, 2).dare, 0);
}

TEST_F(RegistrationProgram, SearchListShowsOneLinePerRegistration) {
  customers({"ROSSI SRL"});
  suppliers({"FORNITORE CON NOME LUNGO SRL"});
  records::Registration annulled = oneLine("9001", "20", "10");
  annulled.date = "~40511";
  registrations(records::RegisterKind::Sales, {oneLine("1", "20", "1000"), annulled, oneLine("", "", "")});
  auto r = run("\"v\" <F9> <SNAP> <UP> <ENTER> <SNAP> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 2u);
  const std::string bar = "\u2502";
  EXPECT_EQ(cells(r.dumps[0], 1, 3, 55), "Prog" + bar + "Data Doc N\u00B0Doc" + bar + "Data Reg" + bar + "Importo   " +
                                             bar + "Ragione Sociale");
  EXPECT_EQ(cells(r.dumps[0], 2, 3, 49), "   1" + bar + "15/05/11 12   " + bar + "15/05/11" + bar + "  1,200.00" + bar +
                                             "ROSSI SRL");
  EXPECT_EQ(cells(r.dumps[0], 3, 3, 60), "   2" + bar + "15/05/11 12   " + bar + "        " + bar + "     12.00" + bar +
                                             "FORNITORE CON NOME L");
  EXPECT_EQ(cells(r.dumps[0], 4, 3, 40), "   3" + bar + "15/05/11 12   " + bar + "15/05/11" + bar + "      0.00" + bar);
  // The list opens on the last registration; the one above it is the annulled one.
  EXPECT_EQ(cells(r.dumps[1], 2, 114, 4), "   2");
  EXPECT_EQ(cells(r.dumps[1], 2, 40, 16), " Reg. Annullata ");
  EXPECT_NE(r.dumps[1].find("Ripris Reg"), std::string::npos);
}

// A short name is padded to 20 characters: the list is as wide as its heading, all of which shows.
TEST_F(RegistrationProgram, SearchListPadsShortNamesToTheHeadingWidth) {
  customers({"ROSSI SRL"});
  registrations(records::RegisterKind::Sales, {oneLine("1", "20", "1000")});
  auto r = run("\"v\" <F9> <SNAP> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  const std::string bar = "\u2502";
  EXPECT_EQ(cells(r.dumps[0], 1, 3, 55), "Prog" + bar + "Data Doc N\u00B0Doc" + bar + "Data Reg" + bar + "Importo   " +
                                             bar + "Ragione Sociale");
  // The name padded to 20, the window's blank margin, its frame.
  EXPECT_EQ(cells(r.dumps[0], 2, 3, 62), "   1" + bar + "15/05/11 12   " + bar + "15/05/11" + bar + "  1,200.00" + bar +
                                             "ROSSI SRL" + std::string(11, ' ') + " " + bar);
}

TEST_F(RegistrationProgram, LineCodesComeFromTheCausalAndVatLists) {
  causals({"VENDITE MERCI", "SERVIZI"});
  subAccount(2, 5, "CONSULENZE");
  vatCode(1, "22", "22", "ORDINARIA");
  // Causal from its list (second entry), sub-account 5, VAT code from its list, table rate.
  auto r = run("\"v\" " + newHead() + "<F9> <SNAP> <DOWN> <ENTER> \"5\" <ENTER> <F9> <SNAP> <ENTER> <ENTER> "
               "\"100\" <ENTER> " + kEndLines + "<SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 3u);
  EXPECT_EQ(cells(r.dumps[0], 3, 3, 17), "  2 SERVIZI      ");
  const std::string bar = "\u2502";
  EXPECT_EQ(cells(r.dumps[1], 1, 3, 9), "Pr." + bar + "Cod. " );
  EXPECT_EQ(cells(r.dumps[1], 2, 3, 32), "  1" + bar + "22   " + bar + "22 " + bar + "100" + bar + "    " + bar + "ORDINARIA");
  // A blank %Com shows through its mask, as zero.
  EXPECT_EQ(cells(r.dumps[2], 38, 1, 55), std::string("  2. 5 CONSULENZE") + std::string(15, ' ') + bar + " 1 22    100  0.0 " + bar + " 22");
  EXPECT_EQ(cells(r.dumps[2], 43, 79, 10), "    122.00");
  const std::string record = readFile("VENDIT11.DAT");
  ASSERT_EQ(record.size(), 200u);
  EXPECT_EQ(record.substr(95, 4), "2   ");
  EXPECT_EQ(record.substr(167, 2), "5 ");
  EXPECT_EQ(record.substr(156, 2), "1 ");
  EXPECT_EQ(record.substr(30, 3), "22 ");
}

TEST_F(RegistrationProgram, NewCustomerAddedFromTheCounterpartyFieldCanBeChosenAtOnce) {
  // F8: the customer screen, a new customer (code 0 = count + 1) typed and saved, ESC back.
  auto r = run("\"v\" \"0\" <ENTER> <ENTER> <F8> <ENTER> \"NUOVO CLIENTE\" <ENTER*11> <ESC> \"1\" <ENTER> <SNAP> "
               "<ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(cells(r.dumps[0], 5, 2, 19), "    1 NUOVO CLIENTE");
  EXPECT_EQ(readFile("INDICECL.DAT").substr(0, 2), " 1");
  EXPECT_EQ(readFile("VENDIT11.DAT"), "");  // the registration itself was abandoned
}

TEST_F(RegistrationProgram, ResavingUnchangedKeepsTheRecordByteForByte) {
  records::Registration r = oneLine("", " 20", " 1016.67");
  r.note = "SCORPORO";
  r.quantity = "2";
  registrations(records::RegisterKind::Sales, {r});
  catalogue().closeAll();
  const std::string before = readFile("VENDIT11.DAT");
  auto run1 = run("\"v\" \"1\" <ENTER> <ENTER> <ENTER> <ENTER*7> <ENTER*5> " + kEndLines + "<ESC> <ESC>");
  ASSERT_EQ(run1.status, 0);
  EXPECT_EQ(readFile("VENDIT11.DAT"), before);
  EXPECT_EQ(readHeader(records::RegisterKind::Sales).count, 1);
}

TEST_F(RegistrationProgram, PageKeysBrowseWithinTheRegister) {
  records::Registration second = oneLine("", "20", "10");
  second.documentNumber = "B2";
  registrations(records::RegisterKind::Sales, {oneLine("", "20", "10"), second});
  // From the date field of 1: PgDn to 2, PgDn again stays; ESC, then PgUp from the number.
  auto r = run("\"v\" \"1\" <ENTER> <PGDN> <SNAP> <PGDN> <SNAP> <ESC> <PGUP> <SNAP> <PGUP> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 3u);
  EXPECT_EQ(cells(r.dumps[0], 2, 114, 4), "   2");
  EXPECT_EQ(cells(r.dumps[0], 13, 11, 2), "B2");
  EXPECT_EQ(cells(r.dumps[1], 2, 114, 4), "   2");
  EXPECT_EQ(cells(r.dumps[2], 13, 11, 2), "12");  // registration 1 on show, in its date field
  EXPECT_EQ(cells(r.dumps[2], 2, 114, 4), "   1");
}

TEST_F(RegistrationProgram, ProtocolCountersAreWrittenAfterTheFifth) {
  auto r = run("\"v\" <F3> \"12\" <ENTER> <ENTER> <CTRL-DEL> \"30\" <ENTER> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(readHeader(records::RegisterKind::Sales).protocol[1], 0);  // ESC: not written
  r = run("\"v\" <F3> \"12\" <ENTER> <ENTER> <CTRL-DEL> \"30\" <ENTER> <ENTER*3> <SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  const records::RegisterHeader h = readHeader(records::RegisterKind::Sales);
  EXPECT_EQ(h.lastPage, 12);
  EXPECT_EQ(h.protocol[1], 30);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(cells(r.dumps[0], 3, 85, 4), "  12");
  EXPECT_EQ(cells(r.dumps[0], 5, 85, 4), "  30");
}

TEST_F(RegistrationProgram, RegisterPrintHandsOverWithItsRequest) {
  struct Case {
    const char* menuKey;
    const char* request;
  };
  for (const Case& c : {Case{"v", "1V"}, Case{"a", "1A"}}) {
    writeFile("QMENU.DAT", std::string(111, ' '));
    auto r = run(std::string("\"") + c.menuKey + "\" <F8>");
    ASSERT_FALSE(r.commands.empty()) << c.request;
    EXPECT_EQ(r.commands.front().rfind("VELST10W.EXE", 0), 0u) << c.request;
    // The print program clears the request when it runs; where it is not built it stays.
    if (!std::filesystem::exists(std::string(VELLANO_BIN_DIR) + "/VELST10W")) {
      EXPECT_EQ(readFile("QMENU.DAT").substr(41, 2), c.request);
    }
  }
}

}  // namespace
}  // namespace vellano::entry
