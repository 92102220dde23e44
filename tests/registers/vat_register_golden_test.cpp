// The register prints of the small fixture, byte for byte: a trial month, a date range on one
// sezionale, a definitive print with its header and marks, and a month with its payments list.
#include <gtest/gtest.h>

#include <string>

#include "register_fixture.h"

namespace vellano::registers {
namespace {

using testing::RegisterFolder;

class RegisterGolden : public RegisterFolder {};

TEST_F(RegisterGolden, PrintsOfTheFixtureMatchTheirGoldenFiles) {
  struct Case {
    std::string golden;
    std::string questions;
  };
  const std::string range = "<CTRL-DEL> \"0\" <ENTER> <CTRL-DEL> \"010311\" <ENTER> <CTRL-DEL> \"300411\" <ENTER> ";
  const std::vector<Case> cases = {
      {"trial_march.prn", "<ENTER*7>"},
      {"range_section_2.prn", range + "<ENTER*2> \"2\" <ENTER*2>"},
      {"payments_march.prn", "<ENTER*3> \"s\" <ENTER*4>"},
  };
  writeFixture();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.golden);
    std::filesystem::remove("LASER");
    printSales(c.questions);
    vellano::testing::expectGolden("registers", c.golden, readFile("LASER"));
    EXPECT_EQ(header().lastPage, 12) << "a trial print changes nothing";
  }
}

TEST_F(RegisterGolden, DefinitiveRangeStoresItsLastPageAndMarksItsMonths) {
  writeFixture();
  records::MonthMarks marks;
  marks.month[0] = 'X';  // January, printed before
  records::writeMonthMarks(catalogue(), records::kSalesMarksStem, marks);
  printSales("<CTRL-DEL> \"0\" <ENTER> <CTRL-DEL> \"010311\" <ENTER> <CTRL-DEL> \"300411\" <ENTER> <ENTER*3> \"d\" <ENTER>");
  vellano::testing::expectGolden("registers", "definitive_range.prn", readFile("LASER"));
  const records::RegisterHeader h = header();
  EXPECT_EQ(h.lastPage, 13);
  EXPECT_EQ(h.count, 7) << "the rest of the header as it was";
  EXPECT_EQ(h.payments, 3);
  EXPECT_EQ(h.protocol[0], 5);
  EXPECT_EQ(readFile("SDEFVE.DAT").substr(0, 12), "X XX        ");
}

}  // namespace
}  // namespace vellano::registers
