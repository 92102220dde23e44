#include "records/dates.h"

#include <gtest/gtest.h>

namespace vellano::records {
namespace {

struct DateCase {
  const char* date;
  int workingYear;
  bool yearWindow;
  bool valid;
};

TEST(DateCheck, RegistrationAndWorkingDates) {
  const DateCase cases[] = {
      {"150612", 11, false, true},   // next year accepted
      {"150613", 11, false, false},  // two years ahead refused
      {"150605", 11, false, true},   // earlier year accepted
      {"150613", 11, true, true},    // the year window is off for the working date
      {"290200", 11, true, false},   // 00 is a common year
      {"290204", 11, true, true},
      {"290211", 11, true, false},
      {"310411", 11, true, false},
      {"300411", 11, true, true},
      {"000511", 11, true, false},
      {"151311", 11, true, false},
      {"150011", 11, true, false},
      {"311211", 11, false, true},
      {"      ", 11, false, true},   // blank is valid
      {"", 11, true, true},
      {"1511", 11, true, false},     // not six digits
      {"15a511", 11, true, false},
      {"150598", 99, false, false},  // with working year 99 only 99 and 00 pass
      {"150599", 99, false, true},
      {"150500", 99, false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dateValid(c.date, c.workingYear, c.yearWindow), c.valid)
        << c.date << " working year " << c.workingYear << " window " << c.yearWindow;
  }
}

TEST(DateText, SlashesOrBlanks) {
  EXPECT_EQ(dateText("311210"), "31/12/10");
  EXPECT_EQ(dateText("000000"), "        ");
  EXPECT_EQ(dateText(""), "        ");
  EXPECT_EQ(dateText(std::string(6, '\0')), "        ");
}

TEST(DateKey, SortsByYearMonthDay) {
  EXPECT_EQ(dateKey("311210"), 101231);
  EXPECT_EQ(dateKey("010111"), 110101);
  EXPECT_LT(dateKey("311210"), dateKey("010111"));
  EXPECT_EQ(dateKey("~11210"), 101200);  // an annulled date keeps month and year
  EXPECT_EQ(dateKey(""), 0);
}

TEST(Weekday, NamesOfKnownDays) {
  const std::pair<const char*, const char*> cases[] = {
      {"010100", "Sabato    "},   // 1 January 2000
      {"311299", "Venerdi'  "},   // 31 December 1999
      {"091226", "Mercoledi'"},   // 9 December 2026
      {"010111", "Sabato    "},   // 1 January 2011
      {"130311", "Domenica  "},
      {"140311", "Lunedi'   "},
      {"290204", "Domenica  "},
  };
  for (const auto& [date, name] : cases) EXPECT_EQ(weekdayName(weekdayIndex(date)), name) << date;
}

TEST(Months, TablesAndBounds) {
  EXPECT_EQ(monthName(1), "GENNAIO");
  EXPECT_EQ(monthName(12), "DICEMBRE");
  EXPECT_EQ(monthName(13), "13^ Mensilita'");
  EXPECT_EQ(monthShortName(9), "SET");
  EXPECT_EQ(monthShortName(14), "14^");
  EXPECT_EQ(monthName(0), "");
  EXPECT_EQ(monthName(15), "");
  EXPECT_EQ(weekdayName(7), "");
}

}  // namespace
}  // namespace vellano::records
