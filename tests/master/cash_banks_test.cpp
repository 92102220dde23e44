// Cash and bank accounts: the CASBAN.DAT record, the count in INDEX.DAT record 2 and the
// "GESTIONE CASSA E BANCHE" screen.
#include "master/cash_banks.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "causals_support.h"
#include "screen/print_handover.h"
#include "records/text.h"
#include "support/work_folder.h"
#include "support/headless_run.h"

namespace vellano::master {
namespace {

using master::testing::columns;
using master::testing::recordOf;
using master::testing::ScriptedSession;

std::string accountRecord(std::string_view description, std::string_view debit, std::string_view credit) {
  return records::fitLeft(description, 26) + records::fitLeft(debit, 12) + records::fitLeft(credit, 12);
}

class CashBankRun : public vellano::testing::WorkFolder {
 protected:
  vellano::testing::HeadlessRun run(const std::string& script) {
    return vellano::testing::runHeadless("VELLA10W", {}, std::filesystem::current_path(), script);
  }
};

TEST_F(CashBankRun, RecordHoldsAmountsInStandardFormAndReadsDamageAsBlank) {
  records::Context context;
  records::Catalogue catalogue(context);
  records::writeCashBank(catalogue, 2, records::CashBank{"Cassa contanti", 1500.25, -20});
  catalogue.closeAll();
  EXPECT_EQ(recordOf("CASBAN.DAT", 50, 2), accountRecord("Cassa contanti", " 1500.25", "-20"));
  EXPECT_EQ(recordOf("CASBAN.DAT", 50, 1), std::string(50, '\0'));

  records::CashBank never = records::readCashBank(catalogue, 1);
  EXPECT_EQ(never.description, "");
  EXPECT_EQ(never.debit, 0);
  records::CashBank back = records::readCashBank(catalogue, 2);
  EXPECT_DOUBLE_EQ(back.balance(), 1520.25);
}

TEST_F(CashBankRun, NewAccountKeeps26CharactersAndShowsSaldoOnRow16) {
  auto r = run("\"b\" <ENTER> \"Banca Popolare di Vicenza c/c1\" <ENTER> \"1000.5\" <ENTER> \"250\" <ENTER> "
               "\"1\" <ENTER> <SNAP> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(recordOf("CASBAN.DAT", 50, 1), accountRecord("Banca Popolare di Vicenza", " 1000.5", " 250"));
  EXPECT_EQ(recordOf("INDEX.DAT", 5, 2), " 1   ");
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(columns(r.row(0, 4), 2, 23), " Codice :    1 [    1 ]");
  EXPECT_EQ(columns(r.row(0, 9), 16, 30), "Banca Popolare di Vicenza·····");
  EXPECT_EQ(columns(r.row(0, 13), 2, 23), " Dare  :       1,000.50");
  EXPECT_EQ(columns(r.row(0, 14), 2, 23), " Avere :         250.00");
  EXPECT_EQ(columns(r.row(0, 15), 2, 23), " Saldo :" + std::string(15, ' '));
  EXPECT_EQ(columns(r.row(0, 16), 11, 14), "        750.50");
}

TEST_F(CashBankRun, EscInAnAmountLeavesTheRecordAsItWas) {
  const std::string stored = accountRecord("Cassa", " 10", " 5");
  writeFile("CASBAN.DAT", stored);
  writeFile("INDEX.DAT", std::string(5, ' ') + " 1   ");
  auto r = run("\"b\" \"1\" <ENTER> \"Nuova\" <ENTER> \"99\" <ENTER> \"7\" <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(readFile("CASBAN.DAT"), stored);
}

TEST_F(CashBankRun, RefusedKeysBeepAndF8IsOnlyOfferedFromTheSalesRegister) {
  struct Case {
    const char* script;
    int beeps;
    int chosen;
  };
  const Case cases[] = {
      {"<F9> <ESC>", 1, 0},                          // empty archive
      {"\"3\" <ENTER> \"0.5\" <ENTER> <ESC>", 2, 0},  // beyond count + 1, not a whole number
      {"<F8> <F7> <ESC>", 0, 0},                     // no effect from the menu
      {"<PGDN> <ESC>", 1, 0},                        // page keys are not taken here
      {"<ENTER> <ESC> <ESC>", 0, 1},                 // a new account shown, nothing written
  };
  for (const Case& c : cases) {
    ScriptedSession s(c.script);
    EXPECT_EQ(pickCashBank(s.session, CashBankOptions{}), c.chosen) << c.script;
    EXPECT_EQ(s.backend().beeps(), c.beeps) << c.script;
    EXPECT_EQ(s.backend().pending(), 0u) << c.script;
  }
  EXPECT_FALSE(std::filesystem::exists("CASBAN.DAT") && !readFile("CASBAN.DAT").empty());
}

TEST_F(CashBankRun, MovementListKeyCallsThePaymentsListOrBeeps) {
  writeFile("CASBAN.DAT", accountRecord("Cassa", " 10", " 5") + accountRecord("Banca", "", ""));
  writeFile("INDEX.DAT", std::string(5, ' ') + " 2   ");
  std::vector<int> asked;
  CashBankOptions options;
  options.movementList = [&](screen::Session&, int account) { asked.push_back(account); };
  ScriptedSession withList("\"2\" <ENTER> <F9> <ESC> <ESC>");
  EXPECT_EQ(pickCashBank(withList.session, options), 2);
  EXPECT_EQ(asked, std::vector<int>{2});
  EXPECT_EQ(withList.backend().beeps(), 0);

  ScriptedSession without("\"2\" <ENTER> <F9> <ESC> <ESC>");
  EXPECT_EQ(pickCashBank(without.session, CashBankOptions{}), 2);
  EXPECT_EQ(without.backend().beeps(), 1);
}

TEST_F(CashBankRun, SelectionListChoosesTheAccount) {
  writeFile("CASBAN.DAT", accountRecord("Cassa", "", "") + accountRecord("Banca", "", ""));
  writeFile("INDEX.DAT", std::string(5, ' ') + " 2   ");
  records::Context context;
  records::Catalogue catalogue(context);
  EXPECT_EQ(records::cashBankListEntries(catalogue, 2),
            (std::vector<std::string>{"  1 " + records::fitLeft("Cassa", 26), "  2 " + records::fitLeft("Banca", 26)}));
  catalogue.closeAll();
  ScriptedSession s("<F9> <DOWN> <ENTER> <ESC> <ESC>");
  EXPECT_EQ(pickCashBank(s.session, CashBankOptions{}), 2);
}

// F8 from the sales register hands over "3.". The print program must not reach a terminal
// if it is installed beside the tests, so it gets an empty key script.
class EnvironmentOverride {
 public:
  EnvironmentOverride(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~EnvironmentOverride() {
    if (old_) setenv(name_, old_->c_str(), 1); else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST_F(CashBankRun, F8FromTheSalesRegisterHandsOverThreeDot) {
  const std::string record = "X001  " + std::string(27, '.') + " 0" + "010111" + "00" + std::string(68, 'y');
  writeFile("QMENU.DAT", record);
  writeFile("empty.script", "");
  const auto here = std::filesystem::current_path();
  EnvironmentOverride keys("VELLANO_KEYS", (here / "empty.script").string());
  EnvironmentOverride screens("VELLANO_SCREEN", (here / "screens.txt").string());
  EnvironmentOverride commands("VELLANO_COMMANDS", (here / "commands.txt").string());
  ScriptedSession s("<F8>");
  s.context.hostSwitch = " /M";
  s.context.terminalNumber = "7";
  CashBankOptions options;
  options.menuItem = kSalesRegisterItem;
  EXPECT_THROW(pickCashBank(s.session, options), screen::ProgramEnd);
  EXPECT_EQ(readFile("commands.txt").substr(0, 18), "VELST10W.EXE /M 7\n");
  // In-process the print program beside the test is found when it is built: it then takes
  // the request (clearing it) and asks where to print the cash and bank balance; otherwise
  // the request stays for it.
  if (std::filesystem::exists(std::string(VELLANO_BIN_DIR) + "/VELST10W")) {
    EXPECT_EQ(readFile("commands.txt").substr(0, 27), "VELST10W.EXE /M 7\nORBW.EXE\n");
    EXPECT_EQ(readFile("QMENU.DAT").substr(41, 2), "  ");
  } else {
    EXPECT_EQ(readFile("QMENU.DAT").substr(41, 2), "3.");
  }
}

}  // namespace
}  // namespace vellano::master
