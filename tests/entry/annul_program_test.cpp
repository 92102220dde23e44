// VELLA10W run headless: annulling and restoring a registration from its date field (F9) and
// renumbering protocols from the record-number field (F4), checked in the stored records.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "entry_support.h"
#include "records/record_file.h"

namespace vellano::entry {
namespace {

using testing::cells;
using testing::oneLine;
using testing::RegisterFolder;

// The 200 bytes the record layer stores for `r`.
std::string bytesOf(const records::Registration& r) {
  records::Record record(records::registration_layout::kLength);
  records::packRegistration(r, record);
  return record.bytes();
}

records::Registration dated(const std::string& date, const std::string& letter, const std::string& number,
                   const std::string& note) {
  records::Registration r = oneLine("1", "20", "100", number);
  r.date = date;
  r.protocolLetter = letter;
  r.note = note;
  r.section = "2";
  return r;
}

class AnnulProgram : public RegisterFolder {
 protected:
  void SetUp() override {
    RegisterFolder::SetUp();
    customers({"ROSSI SRL"});
    records::RegisterHeader h;
    h.protocol = {0, 30, 0, 0, 0};
    first_ = dated("010511", "V", "29", "PRIMA");
    second_ = dated("140511", "V", "30", "SECONDA");
    registrations(records::RegisterKind::Sales, {first_, second_}, h);
    records::BalanceTotals totals;
    totals.dare = 240;
    records::openRegister(catalogue(), records::RegisterKind::Sales);
    records::W_8(catalogue(), totals);
    catalogue().channel(8).write(1);
  }
  std::string stored(long n) { return rawRecord("VENDIT11.DAT", records::registration_layout::kLength, n); }
  // What must not move when only a date changes.
  void expectOnlyTheDateOfTwoChanged(const std::string& date) {
    records::Registration expected = second_;
    expected.date = date;
    EXPECT_EQ(stored(2), bytesOf(expected));
    EXPECT_EQ(stored(1), bytesOf(first_));
    const records::RegisterHeader h = readHeader(records::RegisterKind::Sales);
    EXPECT_EQ(h.count, 2);
    EXPECT_EQ(h.protocol[1], 30);
    EXPECT_DOUBLE_EQ(balance(records::RegisterKind::Sales, 1).dare, 240);
  }

  records::Registration first_;
  records::Registration second_;
};

TEST_F(AnnulProgram, AnnulStoresTildeAndRestoreTakesAFullNewDate) {
  auto r = run("\"v\" \"2\" <ENTER> <SNAP> <F9> <SNAP> \"S\" <ENTER> <SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 3u);
  EXPECT_NE(r.dumps[0].find("AnnullaReg"), std::string::npos);  // the date field of registration 2
  EXPECT_EQ(cells(r.dumps[1], 10, 11, 35), "VUOI ANNULLARE QUESTA RIGA [S/N] : ");
  EXPECT_EQ(cells(r.dumps[1], 10, 46, 1), "N");  // the answer offered
  // Back in the record-number field.
  EXPECT_NE(r.dumps[2].find("Pagamenti"), std::string::npos);
  EXPECT_EQ(r.dumps[2].find("VUOI ANNULLARE"), std::string::npos);
  EXPECT_EQ(read(records::RegisterKind::Sales, 2).date, "~40511");
  EXPECT_EQ(stored(2).substr(0, 6), "~40511");
  expectOnlyTheDateOfTwoChanged("~40511");

  // Restore: the stored "~40511" reads as 0 in the numeric date field, which starts empty;
  // Enter on it and a short date are refused and the date is asked again.
  r = run("\"v\" \"2\" <ENTER> <SNAP> <F9> \"S\" <ENTER> <SNAP> <ENTER> <CTRL-DEL> \"1605\" <ENTER> <SNAP> "
          "<CTRL-DEL> \"160511\" <ENTER> <SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 4u);
  EXPECT_EQ(cells(r.dumps[0], 2, 40, 16), " Reg. Annullata ");
  EXPECT_NE(r.dumps[0].find("Ripris Reg"), std::string::npos);
  EXPECT_EQ(cells(r.dumps[1], 10, 11, 38), "VUOI RIPRISTINARE QUESTA RIGA [S/N] : ");
  const std::string dots = "\u00B7\u00B7\u00B7\u00B7\u00B7\u00B7";
  EXPECT_EQ(cells(r.dumps[1], 12, 11, 27), "Data Registrazione : " + dots);
  EXPECT_EQ(cells(r.dumps[2], 12, 11, 27), "Data Registrazione : " + dots);  // asked again, empty
  EXPECT_EQ(cells(r.dumps[2], 10, 11, 38), "VUOI RIPRISTINARE QUESTA RIGA [S/N] : ");
  EXPECT_NE(r.dumps[3].find("Pagamenti"), std::string::npos);
  EXPECT_EQ(read(records::RegisterKind::Sales, 2).date, "160511");
  expectOnlyTheDateOfTwoChanged("160511");
}

TEST_F(AnnulProgram, NoOrEscAtThePromptsChangeNothingAndGoBackToTheDate) {
  struct Case {
    const char* name;
    std::string date;    // registration 2 before the run
    std::string answer;  // keys after F9
  };
  const std::vector<Case> cases{
      {"annul N", "140511", "\"N\" <ENTER>"},
      {"annul offered N", "140511", "<ENTER>"},
      {"annul ESC", "140511", "<ESC>"},
      {"annul x then N", "140511", "\"x\" <ENTER> \"N\" <ENTER>"},
      {"restore N", "~40511", "\"N\" <ENTER>"},
      {"restore ESC at the date", "~40511", "\"S\" <ENTER> <CTRL-DEL> \"160511\" <ESC>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    second_.date = c.date;
    records::openRegister(catalogue(), records::RegisterKind::Sales);
    records::writeRegistration(catalogue(), 2, second_);
    auto r = run("\"v\" \"2\" <ENTER> <F9> " + c.answer + " <SNAP> <ESC> <ESC> <ESC>");
    ASSERT_EQ(r.status, 0);
    ASSERT_GE(r.dumps.size(), 1u);
    EXPECT_NE(r.dumps[0].find(c.date[0] == '~' ? "Ripris Reg" : "AnnullaReg"), std::string::npos);
    EXPECT_EQ(r.dumps[0].find("VUOI "), std::string::npos);  // the window is gone
    expectOnlyTheDateOfTwoChanged(c.date);
  }
}

TEST_F(AnnulProgram, PurchaseRegisterAnnulsInItsOwnFile) {
  suppliers({"ALFA SPA"});
  records::Registration bought = dated("310511", "A", "3", "ACQUISTO");
  bought.counterparty = "9001";
  registrations(records::RegisterKind::Purchases, {bought});
  auto r = run("\"a\" \"1\" <ENTER> <F9> \"S\" <ENTER> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  bought.date = "~10511";
  EXPECT_EQ(rawRecord("ACQUIS11.DAT", records::registration_layout::kLength, 1), bytesOf(bought));
  EXPECT_EQ(readHeader(records::RegisterKind::Purchases).count, 1);
  expectOnlyTheDateOfTwoChanged("140511");  // the sales register is left alone
}

TEST_F(AnnulProgram, F9OnANewRegistrationWritesNothing) {
  auto r = run("\"v\" \"0\" <ENTER> <F9> <SNAP> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(r.dumps[0].find("VUOI "), std::string::npos);
  EXPECT_EQ(readFile("VENDIT11.DAT").size(), 2 * records::registration_layout::kLength);
  expectOnlyTheDateOfTwoChanged("140511");
}

// ---- Protocol reordering ----

struct Reg {
  std::string date;
  std::string letter;
  std::string number;
};
using Protocols = std::vector<std::pair<std::string, std::string>>;  // letter, number per record

class ReorderProgram : public RegisterFolder {
 protected:
  void write(records::RegisterKind kind, const std::vector<Reg>& regs) {
    before_.clear();
    for (std::size_t i = 0; i < regs.size(); ++i)
      before_.push_back(dated(regs[i].date, regs[i].letter, regs[i].number, "NOTA " + std::to_string(i + 1)));
    records::RegisterHeader h;
    h.protocol = {0, 77, 0, 0, 0};
    registrations(kind, before_, h);
  }
  // Every record as before, except its protocol letter and number.
  void expectProtocols(records::RegisterKind kind, const Protocols& expected) {
    ASSERT_EQ(expected.size(), before_.size());
    const std::string file = kind == records::RegisterKind::Sales ? "VENDIT11.DAT" : "ACQUIS11.DAT";
    for (std::size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE("record " + std::to_string(i + 1));
      records::Registration want = before_[i];
      want.protocolLetter = expected[i].first;
      want.protocolNumber = expected[i].second;
      EXPECT_EQ(rawRecord(file, records::registration_layout::kLength, static_cast<long>(i + 1)), bytesOf(want));
      const records::Registration got = read(kind, static_cast<long>(i + 1));
      EXPECT_EQ(got.protocolLetter, expected[i].first);
      EXPECT_EQ(got.protocolNumber, expected[i].second);
    }
    const records::RegisterHeader h = readHeader(kind);  // the counters are left to F3
    EXPECT_EQ(h.count, static_cast<int>(before_.size()));
    EXPECT_EQ(h.protocol[1], 77);
  }
  // F4 from the record-number field, the four answers, then out through the menu.
  vellano::testing::HeadlessRun reorder(const char* menuKey, const std::string& from, const std::string& to,
                                        const std::string& start, const std::string& answer) {
    return run(std::string("\"") + menuKey + "\" <F4> \"" + from + "\" <ENTER> \"" + to + "\" <ENTER> \"" + start +
               "\" <ENTER> \"" + answer + "\" <ENTER> <SNAP> <ESC> <ESC>");
  }

  std::vector<records::Registration> before_;
};

TEST_F(ReorderProgram, RecordOrderNumbersAroundAnAnnulledRegistration) {
  const std::vector<Reg> regs{{"020111", "X", "40"}, {"030111", "X", "41"}, {"~40111", "X", "42"},
                              {"050111", "X", "43"}};
  struct Case {
    const char* name;
    const char* menuKey;
    records::RegisterKind kind;
    std::string from, to, start;
    Protocols expected;
  };
  const std::vector<Case> cases{
      {"1-4 from 1", "v", records::RegisterKind::Sales, "1", "4", "1", {{"V", "1"}, {"V", "2"}, {"", ""}, {"V", "3"}}},
      {"0-0 means 1-N", "v", records::RegisterKind::Sales, "0", "0", "1", {{"V", "1"}, {"V", "2"}, {"", ""}, {"V", "3"}}},
      {"2-3 from 10", "v", records::RegisterKind::Sales, "2", "3", "10", {{"X", "40"}, {"V", "10"}, {"", ""}, {"X", "43"}}},
      {"purchases 3-4 from 7", "a", records::RegisterKind::Purchases, "3", "4", "7",
       {{"X", "40"}, {"X", "41"}, {"", ""}, {"A", "7"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    write(c.kind, regs);
    auto r = reorder(c.menuKey, c.from, c.to, c.start, "S");
    ASSERT_EQ(r.status, 0);
    ASSERT_GE(r.dumps.size(), 1u);
    EXPECT_NE(r.dumps[0].find("Pagamenti"), std::string::npos);  // back in the record-number field
    EXPECT_EQ(r.dumps[0].find("RIORDINO PROTOCOLLO"), std::string::npos);
    expectProtocols(c.kind, c.expected);
  }
}

TEST_F(ReorderProgram, DateOrderFollowsDateThenOldProtocolAndLeavesAnnulledAlone) {
  struct Case {
    const char* name;
    std::vector<Reg> regs;
    std::string start;
    Protocols expected;
  };
  const std::vector<Case> cases{
      // The two of 2 January in the order of their old protocols 7, 8; 5 January last.
      {"9 7 8", {{"050111", "V", "9"}, {"020111", "V", "7"}, {"020111", "V", "8"}}, "1",
       {{"V", "3"}, {"V", "1"}, {"V", "2"}}},
      // Old protocols the other way round: the third record comes first.
      {"9 8 7", {{"050111", "V", "9"}, {"020111", "V", "8"}, {"020111", "V", "7"}}, "1",
       {{"V", "3"}, {"V", "2"}, {"V", "1"}}},
      // yymmdd decides before the protocol: 2010 before 2011 whatever the day.
      {"year first", {{"010111", "X", "1"}, {"311210", "X", "2"}, {"150111", "", ""}}, "5",
       {{"V", "6"}, {"V", "5"}, {"V", "7"}}},
      // An annulled registration keeps its protocol and takes no number.
      {"annulled kept", {{"050111", "V", "9"}, {"~20111", "V", "7"}, {"020111", "V", "8"}}, "1",
       {{"V", "2"}, {"V", "7"}, {"V", "1"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    write(records::RegisterKind::Sales, c.regs);
    auto r = reorder("v", "1", "3", c.start, "D");
    ASSERT_EQ(r.status, 0);
    expectProtocols(records::RegisterKind::Sales, c.expected);
  }
}

TEST_F(ReorderProgram, RefusedValuesAreAskedAgainAndNoOrEscWriteNothing) {
  const std::vector<Reg> regs{{"050111", "V", "9"}, {"020111", "V", "7"}, {"020111", "V", "8"}};
  const Protocols untouched{{"V", "9"}, {"V", "7"}, {"V", "8"}};
  struct Case {
    const char* name;
    std::string keys;  // after F4
    Protocols expected;
  };
  const std::vector<Case> cases{
      {"N", "\"1\" <ENTER> \"3\" <ENTER> \"1\" <ENTER> \"N\" <ENTER>", untouched},
      {"ESC at Procedo", "\"1\" <ENTER> \"3\" <ENTER> \"1\" <ENTER> <ESC>", untouched},
      {"ESC at the start", "\"1\" <ENTER> \"3\" <ENTER> <ESC>", untouched},
      // From 4 (past the count), to 1 (before the start), start 0 and answer "x" are each
      // asked again; what is finally taken is from 2 to 3 starting at 5, in record order.
      {"refused then taken",
       "\"4\" <ENTER> \"2\" <ENTER> \"1\" <ENTER> \"3\" <ENTER> \"0\" <ENTER> \"5\" <ENTER> \"x\" <ENTER> "
       "\"S\" <ENTER>",
       {{"V", "9"}, {"V", "5"}, {"V", "6"}}},
      // The Up arrow steps back from the answer to the start, which is typed again.
      {"up to the start", "\"1\" <ENTER> \"3\" <ENTER> \"1\" <ENTER> <UP> <CTRL-DEL> \"20\" <ENTER> \"S\" <ENTER>",
       {{"V", "20"}, {"V", "21"}, {"V", "22"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    write(records::RegisterKind::Sales, regs);
    auto r = run("\"v\" <F4> " + c.keys + " <SNAP> <ESC> <ESC>");
    ASSERT_EQ(r.status, 0);
    ASSERT_GE(r.dumps.size(), 1u);
    EXPECT_NE(r.dumps[0].find("Pagamenti"), std::string::npos);
    EXPECT_EQ(r.dumps[0].find("RIORDINO PROTOCOLLO"), std::string::npos);
    expectProtocols(records::RegisterKind::Sales, c.expected);
  }
}

TEST_F(ReorderProgram, TheRegistrationOnShowIsReadAgainAfterRenumbering) {
  write(records::RegisterKind::Sales, {{"050111", "V", "9"}, {"020111", "V", "7"}, {"020111", "V", "8"}});
  // Registration 1 chosen and left, then F4: the window, then registration 1 with its new number.
  auto r = run("\"v\" \"1\" <ENTER> <ESC> <F4> <SNAP> \"0\" <ENTER> \"0\" <ENTER> \"1\" <ENTER> <SNAP> \"D\" <ENTER> "
               "<SNAP> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 3u);
  EXPECT_NE(r.dumps[0].find("RIORDINO PROTOCOLLO"), std::string::npos);
  EXPECT_EQ(cells(r.dumps[0], 7, 3, 14), "Dal Codice   :");
  EXPECT_EQ(cells(r.dumps[0], 8, 3, 14), " al Codice   :");
  EXPECT_EQ(cells(r.dumps[0], 10, 3, 14), " N\u00B0 Iniziale :");
  EXPECT_EQ(cells(r.dumps[0], 15, 3, 40), "Procedo [S/N/D]: . (D=ordinato per data)");
  // 0 and 0 shown as the range they stand for.
  EXPECT_EQ(cells(r.dumps[1], 7, 18, 4), "   1");
  EXPECT_EQ(cells(r.dumps[1], 8, 18, 4), "   3");
  EXPECT_EQ(cells(r.dumps[1], 10, 18, 4), "   1");
  EXPECT_EQ(cells(r.dumps[2], 2, 114, 4), "   1");
  EXPECT_EQ(cells(r.dumps[2], 16, 52, 15), "V . 2 . 3      ");
  expectProtocols(records::RegisterKind::Sales, {{"V", "3"}, {"V", "1"}, {"V", "2"}});
}

}  // namespace
}  // namespace vellano::entry
