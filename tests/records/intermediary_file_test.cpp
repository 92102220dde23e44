// The intermediary data of the year and the registry's province: where the values are read
// from, what a write keeps, and that a missing file stays missing.
#include "records/intermediary_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/work_folder.h"

namespace vellano::records {
namespace {

class IntermediaryFileTest : public vellano::testing::WorkFolder {};

TEST_F(IntermediaryFileTest, RecordOneGivesTheFourValuesAndAWriteKeepsTheRest) {
  const std::string rest = "other data of the transmitter" + std::string(192, '\0');
  writeFile("TEL11.DAT", "RSSMRA70A01H501U10123456789A010311" + rest);
  Context context;
  context.yearSuffix = "11";
  Catalogue catalogue(context);
  const Intermediary read = readIntermediary(catalogue);
  EXPECT_EQ(read, (Intermediary{"RSSMRA70A01H501U", "10", "123456789A", "010311"}));

  Intermediary changed = read;
  changed.registrationNumber = "77";
  W_59(catalogue, changed);
  catalogue.channel(channel::kIntermediary).write(1);
  EXPECT_EQ(readFile("TEL11.DAT"), "RSSMRA70A01H501U1077        010311" + rest);
}

TEST_F(IntermediaryFileTest, MissingFileGivesBlankValuesAndIsNotCreated) {
  Context context;
  context.yearSuffix = "12";
  Catalogue catalogue(context);
  EXPECT_EQ(readIntermediary(catalogue), Intermediary{});
  EXPECT_FALSE(std::filesystem::exists("TEL12.DAT"));
}

TEST_F(IntermediaryFileTest, ProvinceComesOnlyFromTheLongRegistryRecord) {
  struct Case {
    int hostMode;
    std::string province;
  };
  // The long record holds the province at offset 189; the short one and the company list
  // of mode 6 have no such field.
  std::string longRecord(619, ' ');
  longRecord.replace(0, 9, "DITTA SRL");
  longRecord.replace(189, 2, "MI");
  const std::string shortRecord = "DITTA SRL" + std::string(218, ' ');
  for (const Case& c : {Case{1, "MI"}, Case{2, ""}, Case{6, ""}}) {
    SCOPED_TRACE(c.hostMode);
    writeFile("DIKTA.DAT", c.hostMode == 2 ? shortRecord : longRecord);
    Context context;
    context.hostMode = c.hostMode;
    context.dataPrefix = "";
    Catalogue catalogue(context);
    EXPECT_EQ(readRegistryProvince(catalogue), c.province);
  }
}

}  // namespace
}  // namespace vellano::records
