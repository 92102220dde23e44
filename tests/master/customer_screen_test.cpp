// The customer and supplier screen in-process: refused codes and keys, what is written and
// what is left alone, damaged records, the search list.
#include "master/customers.h"

#include <gtest/gtest.h>

#include <string>

#include "support/screen_helpers.h"
#include "support/work_folder.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "screen/error_box.h"
#include "screen/field_editor.h"
#include "screen/function_keys.h"
#include "records/customer_files.h"
#include "platform/keys.h"
#include "support/dump_text.h"

namespace vellano::master {
namespace {

using testing::cellText;
using testing::ScriptedConsole;

class CustomerScreen : public vellano::testing::WorkFolder {
 protected:
  // Runs the screen of `kind` on the key script, in a fresh session over the work folder.
  void run(records::CounterpartyKind kind, const std::string& script) {
    scripted_ = std::make_unique<ScriptedConsole>(script);
    records::Context context;
    context.yearSuffix = "11";
    records::Catalogue catalogue(context);
    screen::FieldEditor editor(scripted_->console());
    screen::FunctionKeyPanel panel;
    screen::ErrorBox errorBox(scripted_->console(), context, editor);
    screen::Session session{scripted_->console(), catalogue, editor, panel, errorBox};
    runCounterpartyScreen(session, kind);
    catalogue.closeAll();
  }
  int beeps() { return scripted_->backend().beeps(); }
  const std::string& lastDump() { return scripted_->backend().dumps().back(); }
  // The `n` cells at (row, col) of the screen as the last <SNAP> left it.
  std::string snapCells(int row, int col, int n) { return vellano::testing::cells(lastDump(), row, col, n); }
  std::unique_ptr<ScriptedConsole> scripted_;
};

std::string customerRecord(const std::string& name, const std::string& town) {
  std::string r(500, ' ');
  r.replace(0, name.size(), name);
  r.replace(80, town.size(), town);
  return r;
}

TEST_F(CustomerScreen, CodesOutsideTheArchiveBeep) {
  writeFile("INDICECL.DAT", " 2  ");
  writeFile("CLIFOR.DAT", customerRecord("ALFA", "ROMA") + customerRecord("BETA", "BARI"));
  const std::string before = readFile("CLIFOR.DAT");
  // 4 is beyond count + 1, 1.5 is not a code; both beep and leave the code field open.
  run(records::CounterpartyKind::Customer, "\"4\" <ENTER> <CTRL-DEL> \"1.5\" <ENTER> <ESC>");
  EXPECT_EQ(beeps(), 2);
  EXPECT_EQ(readFile("CLIFOR.DAT"), before);
  EXPECT_EQ(readFile("INDICECL.DAT"), " 2  ");
}

TEST_F(CustomerScreen, SearchOnAnEmptyArchiveBeeps) {
  run(records::CounterpartyKind::Supplier, "<F9> <SNAP> <ESC>");
  EXPECT_EQ(beeps(), 1);
  // No list opened over the screen title.
  EXPECT_NE(lastDump().find("GESTIONE FORNITORI (DAT)"), std::string::npos);
}

TEST_F(CustomerScreen, SearchListFindsByTypingAndSuppliesTheCode) {
  writeFile("INDICECL.DAT", " 3  ");
  writeFile("CLIFOR.DAT", customerRecord("ALFA", "ROMA") + customerRecord("BETA", "BARI") +
                              customerRecord("GAMMA", "COMO"));
  run(records::CounterpartyKind::Customer, "<F9> <SNAP> \"ga\" <ENTER> <SNAP> <ESC> <ESC>");
  ASSERT_EQ(scripted_->backend().dumps().size(), 2u);
  const std::string list = scripted_->backend().dumps()[0];
  EXPECT_NE(list.find("BETA" + std::string(27, ' ') + "BARI" + std::string(20, ' ') + "2"), std::string::npos);
  EXPECT_NE(list.find("ESC"), std::string::npos);
  EXPECT_NE(list.find("Ins Nuovo"), std::string::npos);
  EXPECT_EQ(snapCells(4, 11, 4), "   3");
  EXPECT_EQ(snapCells(7, 20, 5), "GAMMA");
  EXPECT_EQ(snapCells(12, 20, 4), "COMO");
}

TEST_F(CustomerScreen, EscInAnyFieldWritesNothing) {
  std::string record = customerRecord("ALFA", "ROMA");
  writeFile("INDICECL.DAT", " 1  ");
  writeFile("CLIFOR.DAT", record);
  // A changed name, then ESC at the town; and a new code abandoned at its first field.
  run(records::CounterpartyKind::Customer,
      "\"1\" <ENTER> <CTRL-DEL> \"OMEGA\" <ENTER> <ENTER> <ENTER> <ENTER> <ESC> "
      "<CTRL-DEL> <ENTER> \"NUOVO\" <ESC> <ESC>");
  EXPECT_EQ(readFile("CLIFOR.DAT"), record);
  EXPECT_EQ(readFile("INDICECL.DAT"), " 1  ");
  EXPECT_EQ(readFile("PSALCL11.DAT"), "");
}

TEST_F(CustomerScreen, ThousandthCustomerAndTenThousandthSupplierAreRefused) {
  writeFile("INDICECL.DAT", " 999");
  run(records::CounterpartyKind::Customer, "<ENTER> \"0\" <ENTER> <CTRL-DEL> \"1000\" <ENTER> <ESC>");
  EXPECT_EQ(beeps(), 3);
  EXPECT_EQ(readFile("INDICECL.DAT"), " 999");
  EXPECT_EQ(readFile("CLIFOR.DAT"), "");

  writeFile("INDICEST.DAT", "9999");
  run(records::CounterpartyKind::Supplier, "<ENTER> <ESC>");
  EXPECT_EQ(beeps(), 1);
  EXPECT_EQ(readFile("INDICEST.DAT"), "9999");
  EXPECT_EQ(readFile("ESTC.DAT"), "");
}

TEST_F(CustomerScreen, LastCustomerThatFitsIsStoredWithThreeDigits) {
  writeFile("INDICECL.DAT", " 998");
  run(records::CounterpartyKind::Customer, "<ENTER> \"ULTIMO\" <ENTER*11> <ESC>");
  EXPECT_EQ(beeps(), 0);
  EXPECT_EQ(readFile("INDICECL.DAT"), " 999");
  EXPECT_EQ(readFile("CLIFOR.DAT").size(), 999u * 500u);
}

TEST_F(CustomerScreen, ReservedBytesSurviveASave) {
  // Every byte of the record is "R"; only the screen's fields may change.
  writeFile("INDICECL.DAT", " 1  ");
  writeFile("CLIFOR.DAT", std::string(500, 'R'));
  writeFile("PSALCL11.DAT", "abcdef" + std::string(24, 'x'));
  run(records::CounterpartyKind::Customer,
      "\"1\" <ENTER> <CTRL-DEL> \"NOME\" <ENTER> <CTRL-DEL> <ENTER> <CTRL-DEL> "
      "\"VIA DEI MILLE 12345678901234567\" <ENTER> <CTRL-DEL> \"7\" <ENTER> <CTRL-DEL> \"PAVIA\" <ENTER> "
      "<CTRL-DEL> \"27100\" <ENTER> <CTRL-DEL> \"PV\" <ENTER> <CTRL-DEL> \"RSSMRA80A01H501U\" <ENTER> "
      "<CTRL-DEL> \"12345678903\" <ENTER> \"12.5\" <ENTER> \"3\" <ENTER> <ESC>");
  std::string after = readFile("CLIFOR.DAT");
  ASSERT_EQ(after.size(), 500u);
  std::string expected(500, 'R');
  auto put = [&](std::size_t offset, std::size_t width, const std::string& value) {
    std::string field = value + std::string(width - value.size(), ' ');
    expected.replace(offset, width, field);
  };
  put(0, 30, "NOME");
  put(60, 20, "VIA DEI MILLE 123456");
  put(80, 20, "PAVIA");
  put(103, 2, "PV");
  put(105, 16, "RSSMRA80A01H501U");
  put(121, 11, "12345678903");
  put(256, 32, "");
  put(390, 5, "27100");
  put(420, 5, "7");
  put(462, 10, "7890123456");
  EXPECT_EQ(after, expected);
  // The balance keeps its first 6 bytes; amounts in their standard text form.
  EXPECT_EQ(readFile("PSALCL11.DAT"), "abcdef 12.5" + std::string(7, ' ') + " 3" + std::string(10, ' '));
  EXPECT_EQ(readFile("INDICECL.DAT"), " 1  ");
}

TEST_F(CustomerScreen, NewSupplierFillsBothRecordsAndTheCounterWithoutBlank) {
  run(records::CounterpartyKind::Supplier,
      "<ENTER> \"BIANCHI SPA\" <ENTER> \"DIVISIONE NORD\" <ENTER> \"CORSO VITTORIO EMANUELE II 100\" <ENTER> "
      "\"45B\" <ENTER> \"TORINO\" <ENTER> \"10100\" <ENTER> \"TO\" <ENTER> \"BNCGNN75C41F205H\" <ENTER> "
      "\"02114720960\" <ENTER> <ENTER> \"99.99\" <ENTER> <ESC>");
  EXPECT_EQ(readFile("INDICEST.DAT"), "1   ");
  const std::string estc = readFile("ESTC.DAT");
  ASSERT_EQ(estc.size(), 200u);
  EXPECT_EQ(estc.substr(0, 30), "BIANCHI SPA" + std::string(19, ' '));
  EXPECT_EQ(estc.substr(30, 30), "DIVISIONE NORD" + std::string(16, ' '));
  EXPECT_EQ(estc.substr(60, 2), "TO");
  EXPECT_EQ(estc.substr(62, 5), "10100");
  EXPECT_EQ(estc.substr(67, 20), "CORSO VITTORIO EMANU");
  EXPECT_EQ(estc.substr(87, 20), "TORINO" + std::string(14, ' '));
  EXPECT_EQ(estc.substr(107, 40), "BNCGNN75C41F205H" + std::string(24, ' '));
  EXPECT_EQ(estc.substr(147, 10), "ELE II 100");
  EXPECT_EQ(estc.substr(157, 27), std::string(27, '\0'));
  EXPECT_EQ(estc.substr(184, 16), "02114720960     ");
  const std::string estcno = readFile("ESTCNO.DAT");
  ASSERT_EQ(estcno.size(), 200u);
  EXPECT_EQ(estcno.substr(0, 100), std::string(100, '\0'));
  EXPECT_EQ(estcno.substr(100, 11), "02114720960");
  EXPECT_EQ(estcno.substr(111, 5), "45B  ");
  EXPECT_EQ(readFile("PSALFO11.DAT").substr(6), " 0" + std::string(10, ' ') + " 99.99" + std::string(6, ' '));
}

TEST_F(CustomerScreen, DamagedRecordShowsBlanksAndZero) {
  std::string record(500, '\0');
  for (std::size_t i = 0; i < 60; ++i) record[i] = static_cast<char>(i % 32);  // control bytes
  record.replace(80, 6, "\x07\x1b[2J\x08");
  writeFile("INDICECL.DAT", " 1\x01\xff");
  writeFile("CLIFOR.DAT", record);
  writeFile("PSALCL11.DAT", std::string(6, '\0') + "12x4" + std::string(8, '\xff') + "garbage!");
  run(records::CounterpartyKind::Customer, "\"1\" <ENTER> <SNAP> <ESC> <ESC>");
  EXPECT_EQ(snapCells(4, 11, 4), "   1");
  std::string emptyField;  // the name being edited: nothing but the input dots
  for (int i = 0; i < 30; ++i) emptyField += "·";
  EXPECT_EQ(snapCells(7, 20, 30), emptyField);
  EXPECT_EQ(snapCells(12, 20, 20), "  [2J" + std::string(15, ' '));
  EXPECT_EQ(snapCells(17, 64, 14), "         12.00");
  EXPECT_EQ(snapCells(19, 64, 14), "          0.00");
  EXPECT_EQ(snapCells(19, 46, 2), "??");  // stored record with an empty fiscal code
}

TEST_F(CustomerScreen, NegativeBalanceShowsTheMinusAmountWithA) {
  writeFile("INDICECL.DAT", " 1  ");
  writeFile("CLIFOR.DAT", customerRecord("ALFA", "ROMA"));
  writeFile("PSALCL11.DAT", std::string(6, ' ') + " 100" + std::string(8, ' ') + " 1250.5" + std::string(5, ' '));
  run(records::CounterpartyKind::Customer, "\"1\" <ENTER> <SNAP> <ESC> <ESC>");
  EXPECT_EQ(snapCells(21, 62, 1), "A");
  EXPECT_EQ(snapCells(21, 64, 14), "     -1,150.50");
  EXPECT_EQ(snapCells(17, 64, 14), "        100.00");
}

// A typed Dare moves the Saldo only when the record is shown again, not while it is saved.
TEST_F(CustomerScreen, SaldoFollowsTypedTotalsOnlyWhenShownAgain) {
  writeFile("INDICECL.DAT", " 1  ");
  writeFile("CLIFOR.DAT", customerRecord("ALFA", "ROMA"));
  writeFile("PSALCL11.DAT", std::string(6, ' ') + " 100" + std::string(8, ' ') + " 1250.5" + std::string(5, ' '));
  run(records::CounterpartyKind::Customer,
      "\"1\" <ENTER> <ENTER*9> <CTRL-DEL> \"300\" <ENTER> <ENTER> <SNAP> \"1\" <ENTER> <SNAP> <ESC> <ESC>");
  ASSERT_EQ(scripted_->backend().dumps().size(), 2u);
  const std::string& saved = scripted_->backend().dumps()[0];
  EXPECT_EQ(vellano::testing::cells(saved, 17, 64, 14), "        300.00");
  EXPECT_EQ(vellano::testing::cells(saved, 21, 64, 14), "     -1,150.50");
  EXPECT_EQ(snapCells(21, 64, 14), "       -950.50");
  EXPECT_EQ(snapCells(21, 62, 1), "A");
}

TEST_F(CustomerScreen, PageKeysInTheNameFieldMoveBetweenCodes) {
  writeFile("INDICECL.DAT", " 2  ");
  writeFile("CLIFOR.DAT", customerRecord("ALFA", "ROMA") + customerRecord("BETA", "BARI"));
  run(records::CounterpartyKind::Customer, "\"1\" <ENTER> <PGUP> <PGDN> <SNAP> <PGDN> <SNAP> <ESC> <ESC>");
  ASSERT_EQ(scripted_->backend().dumps().size(), 2u);
  EXPECT_EQ(snapCells(4, 11, 4), "   2");
  EXPECT_EQ(snapCells(7, 20, 4), "BETA");
  EXPECT_NE(lastDump().find("Lista Mov"), std::string::npos);

  // "-" and "+" typed in the code field page the same way.
  run(records::CounterpartyKind::Customer, "\"2\" <ENTER> <ESC> \"-\" <SNAP> <ESC> \"+\" <SNAP> <ESC> \"+\" <SNAP> <ESC> <ESC>");
  const auto& dumps = scripted_->backend().dumps();
  ASSERT_EQ(dumps.size(), 3u);
  EXPECT_NE(dumps[0].find("ALFA"), std::string::npos);
  EXPECT_NE(dumps[1].find("BETA"), std::string::npos);
  EXPECT_NE(dumps[2].find("BETA"), std::string::npos);
  EXPECT_EQ(beeps(), 0);
}

}  // namespace
}  // namespace vellano::master
