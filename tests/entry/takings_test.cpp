// The corrispettivi screen: amounts stored as typed, the grid and the dotted placeholders,
// month and day moves, and the month record written after each completed day only.
#include "entry/takings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "records/registration_files.h"
#include "records/cp437_text.h"
#include "records/text.h"
#include "support/work_folder.h"
#include "master/causals_support.h"
#include "support/headless_run.h"

namespace vellano::entry {
namespace {

using master::testing::columns;
using master::testing::recordOf;
using master::testing::ScriptedSession;

std::string dayField(const std::string& record, int block, int day) {
  return record.substr(records::takingsField(block, day).offset, 10);
}

class TakingsRun : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    writeFile("DATA.DAT", "150311" + std::string(11, ' '));
  }
  vellano::testing::HeadlessRun run(const std::string& script) {
    return vellano::testing::runHeadless("VELLA10W", {}, std::filesystem::current_path(), script);
  }
};

TEST(TakingsCell, ZeroIsTheDottedPlaceholderAndOtherAmountsTheGrid) {
  struct Case {
    double amount;
    const char* shown;
  };
  for (const Case& c : {Case{0, "···,···.··"}, Case{5, "      5.00"}, Case{1234.5, "  1,234.50"},
                        Case{-20, "    -20.00"}, Case{123456.78, "123,456.78"}}) {
    SCOPED_TRACE(c.amount);
    EXPECT_EQ(takingsCell(c.amount), records::cp437(c.shown));
  }
}

TEST_F(TakingsRun, ADayIsStoredAsTypedAndShownWithItsTotal) {
  auto r = run("\"r\" <CTRL-DEL> \"5\" <ENTER> \"100\" <ENTER> \"20.5\" <ENTER> <ENTER> \"1000\" <ENTER> <SNAP> "
               "<ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  const std::string march = recordOf("CORRIS11.DAT", records::kTakingsLength, 3);
  ASSERT_EQ(march.size(), records::kTakingsLength);
  EXPECT_EQ(dayField(march, 0, 5), records::fitLeft("100", 10));
  EXPECT_EQ(dayField(march, 1, 5), records::fitLeft("20.5", 10));
  EXPECT_EQ(dayField(march, 2, 5), std::string(10, ' '));
  EXPECT_EQ(dayField(march, 3, 5), records::fitLeft("1000", 10));
  EXPECT_EQ(march.substr(1240), std::string(3760, ' '));
  EXPECT_EQ(recordOf("CORRIS11.DAT", records::kTakingsLength, 2), std::string(records::kTakingsLength, '\0'));

  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(columns(r.row(0, 8), 12, 13), " 3 MARZO 2011");
  EXPECT_EQ(columns(r.row(0, 15), 3, 64), " 5 │     100.00│      20.50│ ···,···.··│   1,000.00│   1,120.50 ");
  EXPECT_EQ(columns(r.row(0, 14), 3, 64), " 4 │ ···,···.··│ ···,···.··│ ···,···.··│ ···,···.··│ ···,···.·· ");
  EXPECT_EQ(columns(r.row(0, 42), 2, 65), " Tot│     100.00│      20.50│ ···,···.··│   1,000.00│   1,120.50 ");
  // Entry goes on with day 6 at the 4 % column.
  EXPECT_EQ(columns(r.row(0, 16), 8, 10), "··········");
}

TEST_F(TakingsRun, PageKeysChangeMonthWithoutWrappingAndStartAtDayOne) {
  auto r = run("\"r\" <PGDN> <ENTER> \"7\" <ENTER> <ESC> <PGUP*5> <SNAP> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  // The day field is open over the month number; the month name follows it.
  EXPECT_EQ(columns(r.row(0, 8), 14, 13), " GENNAIO 2011");
  // April day 1 was left with ESC: nothing written there.
  EXPECT_EQ(recordOf("CORRIS11.DAT", records::kTakingsLength, 4), std::string());
}

class TakingsScreenTest : public vellano::testing::WorkFolder {
 protected:
  static void prepare(ScriptedSession& s) {
    s.context.workingDate = "150311";
    s.context.yearSuffix = "11";
  }
};

TEST_F(TakingsScreenTest, DaysOutsideOneToThirtyOneBeep) {
  ScriptedSession s("<CTRL-DEL> \"32\" <ENTER> <CTRL-DEL> \"0\" <ENTER> <CTRL-DEL> \".\" <ENTER> <ESC>");
  prepare(s);
  runTakings(s.session);
  EXPECT_EQ(s.backend().beeps(), 3);
}

TEST_F(TakingsScreenTest, DayThirtyOneReturnsToTheDayFieldAndEscWritesNothingOfADay) {
  ScriptedSession s("<CTRL-DEL> \"31\" <ENTER> \"1\" <ENTER> \"2\" <ENTER> \"3\" <ENTER> \"4\" <ENTER> "
                    "<CTRL-DEL> \"2\" <ENTER> \"9\" <ENTER> <ESC> <ESC>");
  prepare(s);
  runTakings(s.session);
  EXPECT_EQ(s.backend().beeps(), 0);
  s.catalogue.closeAll();
  const std::string march = recordOf("CORRIS11.DAT", records::kTakingsLength, 3);
  ASSERT_EQ(march.size(), records::kTakingsLength);
  for (int b = 0; b < records::kTakingsBlocks; ++b) EXPECT_EQ(dayField(march, b, 31), records::fitLeft(std::to_string(b + 1), 10));
  EXPECT_EQ(dayField(march, 0, 2), std::string(10, ' '));
}

TEST_F(TakingsScreenTest, UpFromTheFirstColumnGoesToTheDayBefore) {
  // Day 10, Up twice: back to the 4 % column of day 9, then of day 8, which gets the amounts.
  ScriptedSession s("<CTRL-DEL> \"10\" <ENTER> \"55\" <ENTER> <UP> <UP> \"1\" <ENTER> \"2\" <ENTER> <ENTER> "
                    "<ENTER> <ESC> <ESC>");
  prepare(s);
  runTakings(s.session);
  s.catalogue.closeAll();
  const std::string march = recordOf("CORRIS11.DAT", records::kTakingsLength, 3);
  ASSERT_EQ(march.size(), records::kTakingsLength);
  EXPECT_EQ(dayField(march, 0, 9), records::fitLeft("1", 10));
  EXPECT_EQ(dayField(march, 1, 9), records::fitLeft("2", 10));
  EXPECT_EQ(dayField(march, 0, 10), std::string(10, ' '));  // left upwards: not kept
}

}  // namespace
}  // namespace vellano::entry
