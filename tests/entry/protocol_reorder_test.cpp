// Protocol reordering: record order, date order, the key of the date order and the window.
#include "entry/protocol_reorder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "records/text.h"
#include "support/work_folder.h"
#include "master/causals_support.h"

namespace vellano::entry {
namespace {

using master::testing::recordOf;
using master::testing::ScriptedSession;

struct Reg {
  std::string date;
  std::string letter;
  std::string number;
};

std::string bytesOf(const Reg& reg) {
  records::Record record(records::registration_layout::kLength);
  records::Registration r;
  r.date = reg.date;
  r.counterparty = "9001";
  r.protocolLetter = reg.letter;
  r.protocolNumber = reg.number;
  r.section = "2";
  r.note = "nota " + reg.date;
  records::packRegistration(r, record);
  return record.bytes();
}

class ReorderTest : public vellano::testing::WorkFolder {
 protected:
  void write(const std::vector<Reg>& regs) {
    std::string bytes;
    for (const Reg& r : regs) bytes += bytesOf(r);
    writeFile("ACQUIS11.DAT", bytes);
  }
  static std::string stored(long n) { return recordOf("ACQUIS11.DAT", 200, n); }
  static records::Registration read(long n) { return records::unpackRegistration(records::Record(stored(n))); }

  void renumber(ReorderRange range, ReorderMode mode, std::vector<long>* order = nullptr) {
    records::Context context;
    context.yearSuffix = "11";
    records::Catalogue catalogue(context);
    records::setRegisterStems(catalogue, records::kPurchaseStems);
    catalogue.open(records::channel::kRegistrations);
    renumberProtocols(catalogue, records::RegisterKind::Purchases, range, mode, [&](long r) {
      if (order) order->push_back(r);
    });
  }
};

TEST(ReorderKey, DateAsYymmddThenProtocolThenRecord) {
  records::Registration r;
  r.date = "050111";
  r.protocolNumber = "9";
  EXPECT_EQ(reorderKey(r, 3), "110105   9   3");
  r.protocolNumber = "A/17";  // no number at its start: the text from its third character
  EXPECT_EQ(reorderKey(r, 12), "110105  17  12");
}

TEST_F(ReorderTest, RecordOrderSkipsAnAnnulledRegistrationAndClearsItsProtocol) {
  write({{"020111", "X", "40"}, {"030111", "X", "41"}, {"~40111", "X", "42"}, {"050111", "", ""}});
  std::vector<long> order;
  renumber({1, 4, 1}, ReorderMode::Records, &order);
  EXPECT_EQ(order, (std::vector<long>{1, 2, 3, 4}));
  const std::vector<std::pair<std::string, std::string>> expected{{"A", "1"}, {"A", "2"}, {"", ""}, {"A", "3"}};
  for (long n = 1; n <= 4; ++n) {
    SCOPED_TRACE(n);
    const records::Registration r = read(n);
    EXPECT_EQ(r.protocolLetter, expected[static_cast<std::size_t>(n - 1)].first);
    EXPECT_EQ(r.protocolNumber, expected[static_cast<std::size_t>(n - 1)].second);
    EXPECT_EQ(r.section, "2");  // the sezionale stays
  }
  EXPECT_EQ(read(3).date, "~40111");
  EXPECT_EQ(read(4).note, "nota 050111");
}

TEST_F(ReorderTest, DateOrderNumbersByDateThenOldProtocolAndLeavesAnnulledAlone) {
  write({{"050111", "A", "9"}, {"020111", "A", "8"}, {"020111", "A", "7"}, {"~10111", "A", "3"}});
  std::vector<long> order;
  renumber({1, 4, 1}, ReorderMode::Dates, &order);
  EXPECT_EQ(order, (std::vector<long>{3, 2, 1}));
  EXPECT_EQ(read(3).protocolNumber, "1");
  EXPECT_EQ(read(2).protocolNumber, "2");
  EXPECT_EQ(read(1).protocolNumber, "3");
  EXPECT_EQ(stored(4), bytesOf({"~10111", "A", "3"}));
}

TEST_F(ReorderTest, ARangeStartsFromTheGivenNumberAndLeavesTheRestAlone) {
  write({{"010111", "A", "1"}, {"020111", "A", "2"}, {"030111", "A", "3"}, {"040111", "A", "4"}});
  renumber({2, 3, 50}, ReorderMode::Records);
  EXPECT_EQ(stored(1), bytesOf({"010111", "A", "1"}));
  EXPECT_EQ(read(2).protocolNumber, "50");
  EXPECT_EQ(read(3).protocolNumber, "51");
  EXPECT_EQ(stored(4), bytesOf({"040111", "A", "4"}));
}

TEST_F(ReorderTest, WindowRefusesValuesOutsideTheRegisterAndRunsOnSOrD) {
  struct Case {
    const char* script;
    bool done;
    int beeps;
    const char* first;  // protocol of record 1 afterwards
  };
  const Case cases[] = {
      // Defaults: 0 → 1, 0 → N; a start of 0 and "x" beep; start 5 and "S".
      {"\"0\" <ENTER> \"0\" <ENTER> \"0\" <ENTER> \"5\" <ENTER> \"x\" <ENTER> \"s\" <ENTER>", true, 2, "5"},
      // F 4 > N = 3 and T 1 < F = 2 beep, T 0 means N; "D" over 2..3 leaves record 1.
      {"\"4\" <ENTER> \"2\" <ENTER> \"1\" <ENTER> \"0\" <ENTER> \"7\" <ENTER> \"D\" <ENTER>", true, 2, "9"},
      // T below F beeps; Up steps back from the answer to the start number.
      {"\"3\" <ENTER> \"2\" <ENTER> \"3\" <ENTER> \"1\" <ENTER> <UP> <CTRL-DEL> \"20\" <ENTER> \"S\" <ENTER>", true,
       1, "9"},
      {"\"1\" <ENTER> \"3\" <ENTER> \"1\" <ENTER> \"N\" <ENTER>", false, 0, "9"},
      {"\"1\" <ENTER> <ESC>", false, 0, "9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    write({{"050111", "A", "9"}, {"020111", "A", "8"}, {"020111", "A", "7"}});
    ScriptedSession s(c.script);
    s.context.yearSuffix = "11";
    EXPECT_EQ(reorderProtocols(s.session, records::RegisterKind::Purchases, 3), c.done);
    s.catalogue.closeAll();
    EXPECT_EQ(s.backend().beeps(), c.beeps);
    EXPECT_EQ(read(1).protocolNumber, c.first);
  }
}

TEST_F(ReorderTest, WindowShowsItsPrompts) {
  write({{"050111", "A", "9"}});
  ScriptedSession s("\"1\" <ENTER> \"1\" <ENTER> \"1\" <ENTER> \"S\" <SNAP> <ENTER>");
  s.context.yearSuffix = "11";
  ASSERT_TRUE(reorderProtocols(s.session, records::RegisterKind::Purchases, 1));
  ASSERT_EQ(s.backend().dumps().size(), 1u);
  std::istringstream lines(s.backend().dumps()[0]);
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_GE(rows.size(), 16u);  // rows[r] is screen row r (rows[0] is the title)
  EXPECT_NE(rows[6].find("RIORDINO PROTOCOLLO"), std::string::npos);
  EXPECT_EQ(master::testing::columns(rows[7], 3, 19), "Dal Codice   :    1");
  EXPECT_EQ(master::testing::columns(rows[8], 3, 19), " al Codice   :    1");
  EXPECT_EQ(master::testing::columns(rows[10], 3, 19), " N° Iniziale :    1");
  EXPECT_EQ(master::testing::columns(rows[15], 3, 40), "Procedo [S/N/D]: S (D=ordinato per data)");
}

}  // namespace
}  // namespace vellano::entry
