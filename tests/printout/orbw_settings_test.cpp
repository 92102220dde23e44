// The ORBW.DAT layout: seven one-character flags that tile the record, each at its byte.
#include "printout/orbw_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace vellano::printout {
namespace {

using namespace std::string_literals;

TEST(OrbwLayout, SevenFlagsTileTheRecordTheCatalogueOpens) {
  EXPECT_TRUE(records::tiles(orbw_layout::kTable, kOrbwRecordLength));
  records::Context context;
  records::Catalogue catalogue(context);
  EXPECT_EQ(catalogue.recordLength(records::channel::kPrintSettings), kOrbwRecordLength);
}

TEST(OrbwLayout, EachFlagAtItsByteAndBack) {
  const OrbwSettings settings{"1", "2", "3", "4", "5", "6", "S"};
  records::Record record(std::string("abcdefg"));
  orbwToRecord(settings, record);
  EXPECT_EQ(record.bytes(), "123456S");
  EXPECT_EQ(orbwFromRecord(record), settings);
}

TEST(OrbwLayout, NeverWrittenFlagsReadBlankAndAShortRecordIsWrittenWhole) {
  EXPECT_EQ(orbwFromRecord(records::Record(std::string(7, '\0'))), (OrbwSettings{" ", " ", " ", " ", " ", " ", " "}));
  records::Record shortRecord(std::string("1"));
  orbwToRecord(OrbwSettings{"", "1", "", "", "1", "", "N"}, shortRecord);
  EXPECT_EQ(shortRecord.bytes(), " 1  1 N");
}

}  // namespace
}  // namespace vellano::printout
