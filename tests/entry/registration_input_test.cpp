// Bad input on the registration screen, run in-process so the beeps can be counted: every
// refused value beeps once and the same field is asked again; nothing is written.
#include <gtest/gtest.h>

#include <string>

#include "entry_support.h"

namespace vellano::entry {
namespace {

using testing::RegisterFolder;

class RegistrationInput : public RegisterFolder {
 protected:
  void SetUp() override {
    RegisterFolder::SetUp();
    customers({"ROSSI SRL", "BIANCHI SPA"});
    causals({"VENDITE", "SERVIZI"});
  }
};

// Keys reaching each field of a new sales registration (counterparty 1, line 1).
const std::string kDate = "\"0\" <ENTER> ";
const std::string kCounterparty = kDate + "<ENTER> ";
const std::string kSection = kCounterparty + "\"1\" <ENTER> <ENTER*4> ";
const std::string kProtocol = kSection + "<ENTER> ";
const std::string kCausal = kProtocol + "<CTRL-DEL> \"3\" <ENTER> <ENTER> ";
const std::string kSubAccount = kCausal + "\"2\" <ENTER> ";
const std::string kVatCode = kSubAccount + "<ENTER> ";

TEST_F(RegistrationInput, RefusedValuesBeepAndAskTheSameFieldAgain) {
  struct Case {
    const char* what;
    std::string keys;
    int row, col;  // the field asked again
  };
  const Case cases[] = {
      {"number above count + 1", "\"2\" <ENTER> ", 2, 114},
      {"date of February 29 of year 00", kDate + "<CTRL-DEL> \"290200\" <ENTER> ", 2, 9},
      {"date with month 13", kDate + "<CTRL-DEL> \"011311\" <ENTER> ", 2, 9},
      {"date of five digits", kDate + "<CTRL-DEL> \"10511\" <ENTER> ", 2, 9},
      {"customer beyond the count", kCounterparty + "\"3\" <ENTER> ", 5, 2},
      {"supplier when there are none", kCounterparty + "\"9001\" <ENTER> ", 5, 2},
      {"supplier list with no suppliers", kCounterparty + "\"9000\" <ENTER> ", 5, 2},
      {"sezionale 6", kSection + "<CTRL-DEL> \"6\" <ENTER> ", 16, 56},
      {"protocol 0", kProtocol + "<CTRL-DEL> \"0\" <ENTER> ", 16, 60},
      {"protocol beyond its counter", kProtocol + "<CTRL-DEL> \"10000\" <ENTER> ", 16, 60},
      {"causal beyond the count", kCausal + "\"3\" <ENTER> ", 38, 1},
      {"sub-account 81", kSubAccount + "\"81\" <ENTER> ", 38, 5},
      {"VAT code 41", kVatCode + "\"41\" <ENTER> ", 38, 34},
  };
  for (const Case& c : cases) {
    // The prefixes type valid values: only the last one beeps.
    const auto run = runScreen(records::RegisterKind::Sales, c.keys);
    EXPECT_EQ(run.beeps, 1) << c.what;
    EXPECT_EQ(readFile("VENDIT11.DAT"), "") << c.what;
    EXPECT_EQ(run.row, c.row) << c.what;
    EXPECT_EQ(run.col, c.col) << c.what;
  }
}

TEST_F(RegistrationInput, AFullRegisterRefusesOneMore) {
  records::RegisterHeader full;
  full.count = records::kMaxRegistrations;
  header(records::RegisterKind::Sales, full);
  auto run = runScreen(records::RegisterKind::Sales, "\"0\" <ENTER> ");
  EXPECT_EQ(run.beeps, 1);
  EXPECT_EQ(run.row, 2);
  EXPECT_EQ(run.col, 114);
  // The last one in use is still reached.
  run = runScreen(records::RegisterKind::Sales, "\"9999\" <ENTER> ");
  EXPECT_EQ(run.beeps, 0);
  EXPECT_EQ(run.row, 2);
  EXPECT_EQ(run.col, 9);
  EXPECT_EQ(readHeader(records::RegisterKind::Sales).count, records::kMaxRegistrations);
  EXPECT_EQ(readFile("VENDIT11.DAT"), "");
}

TEST_F(RegistrationInput, EscAbandonsTheRegistrationWithoutWritingAnything) {
  auto run = runScreen(records::RegisterKind::Sales, kVatCode + "\"0\" <ENTER> \"20\" <ENTER> \"100\" <ESC> \"1\" ");
  EXPECT_EQ(run.beeps, 0);
  EXPECT_EQ(run.row, 2);  // back at the record number
  EXPECT_EQ(run.col, 115);
  EXPECT_EQ(readFile("VENDIT11.DAT"), "");
  EXPECT_EQ(readHeader(records::RegisterKind::Sales).count, 0);
  EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Sales, 1).dare, 0);
}

}  // namespace
}  // namespace vellano::entry

namespace vellano::entry {
namespace {

TEST_F(RegistrationInput, DamagedRecordsAreShownAndListedWithoutHarm) {
  records::RegisterHeader h;
  h.count = 2;
  header(records::RegisterKind::Sales, h);
  catalogue().closeAll();
  // Record 1 all high bytes, record 2 codes far beyond every file.
  std::string damaged(200, '\xFF');
  std::string farCodes(200, ' ');
  farCodes.replace(6, 5, "99999");
  farCodes.replace(95, 4, "9999");
  farCodes.replace(156, 2, "99");
  farCodes.replace(167, 2, "99");
  writeFile("VENDIT11.DAT", damaged + farCodes);
  const auto run = runScreen(records::RegisterKind::Sales, "\"1\" <ENTER> <ESC> \"2\" <ENTER> <ESC> <F9> <ENTER> <ESC> ");
  EXPECT_EQ(run.beeps, 0);
  EXPECT_EQ(run.row, 2);
  EXPECT_EQ(run.col, 114);
  EXPECT_EQ(readFile("VENDIT11.DAT"), damaged + farCodes);  // nothing rewritten
}

}  // namespace
}  // namespace vellano::entry
