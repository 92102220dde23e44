// Month marks of the definitive register prints: the file of each register, the twelve marks
// at the front of the record and the rest of the record kept.
#include "records/print_marks.h"

#include <gtest/gtest.h>

#include <string>

#include "support/work_folder.h"

namespace vellano::records {
namespace {

class MarksFiles : public testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    context.hostMode = 1;
    context.dataPrefix = "C:";
    context.companyExtension = "001";
    context.customerExtension = "DAT";
    context.yearSuffix = "11";
  }
  Context context;
  Catalogue catalogue{context};
};

TEST_F(MarksFiles, MarksLandInTheRegistersOwnFileAndKeepTheRest) {
  writeFile("SDEFAC.001", std::string(12, ' ') + "tail" + std::string(84, '\0'));
  EXPECT_FALSE(readMonthMarks(catalogue, kSalesMarksStem).marked(1));  // missing file: nothing marked

  MonthMarks marks = readMonthMarks(catalogue, kPurchaseMarksStem);
  marks.month[2] = 'X';
  marks.month[11] = 'X';
  writeMonthMarks(catalogue, kPurchaseMarksStem, marks);
  catalogue.closeAll();

  const std::string bytes = readFile("SDEFAC.001");
  ASSERT_EQ(bytes.size(), 100u);
  EXPECT_EQ(bytes.substr(0, 16), "  X        Xtail");
  const MonthMarks back = readMonthMarks(catalogue, kPurchaseMarksStem);
  EXPECT_TRUE(back.marked(3));
  EXPECT_TRUE(back.marked(12));
  EXPECT_FALSE(back.marked(1));
  EXPECT_FALSE(back.marked(0));
  EXPECT_FALSE(back.marked(13));
  EXPECT_EQ(readFile("SDEFVE.001").size(), 0u);  // reading never writes
}

TEST_F(MarksFiles, NulAndDamagedMarksReadAsNotPrinted) {
  writeFile("SDEFCO.001", std::string("\0x\0X", 4));
  const MonthMarks marks = readMonthMarks(catalogue, kTakingsMarksStem);
  EXPECT_EQ(marks.month[0], ' ');
  EXPECT_FALSE(marks.marked(2));
  EXPECT_TRUE(marks.marked(4));
}

}  // namespace
}  // namespace vellano::records
