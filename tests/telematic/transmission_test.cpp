// The shared pieces of the telematic files: record building, the safe write of a file, the
// name of the copy and the copy question.
#include "telematic/transmission.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/error.h"
#include "records/write_faults.h"
#include "support/dump_text.h"
#include "telematic_support.h"

namespace vellano::telematic {
namespace {

using testing::TelematicTest;

TEST(FixedRecordTest, FieldsLandAtTheirPositionsAndTheRecordEndsWithACrLf) {
  FixedRecord r(20);
  r.text(1, 1, "Z").text(2, 4, "AB").text(6, 3, "LONGER").number(9, 5, 42, "T").number(14, 4, -7, "T");
  EXPECT_EQ(r.bytes(), "ZAB  LON   42  -7A\r\n");
  EXPECT_EQ(r.bytes().size(), 20u);
}

TEST(FixedRecordTest, NumberTooWideForItsFieldIsAnOverflowNotACutNumber) {
  FixedRecord r(20);
  r.number(1, 9, 999999999, "T");
  try {
    r.number(1, 9, 1000000000, "T");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), error::kOverflow);
  }
  EXPECT_EQ(r.bytes().substr(0, 9), "999999999");
}

TEST(TelematicValuesTest, IntegerPartsLongDatesAndFileNames) {
  struct Amount {
    double value;
    long long whole;
  };
  for (const Amount& a : std::vector<Amount>{{20000, 20000}, {25000.99, 25000}, {0.4, 0}, {-12.7, -12}}) {
    EXPECT_EQ(integerPart(a.value), a.whole) << a.value;
  }
  struct Date {
    std::string ddmmyy;
    std::string century;
    std::string expected;
  };
  for (const Date& d : std::vector<Date>{{"150311", "20", "15032011"},
                                         {"010170", "19", "01011970"},
                                         {"", "20", "        "},
                                         {std::string(6, '\0'), "20", "        "}}) {
    EXPECT_EQ(longDate(d.ddmmyy, d.century), d.expected) << d.ddmmyy;
  }
  struct Name {
    std::string extension;
    std::string surname;
    std::string expected;
  };
  for (const Name& n : std::vector<Name>{{"DAT", "ROSSI", "DATROSSI"},
                                         {"001", "De Lucaaaa", "001DELU"},
                                         {"DAT", "", "DAT"},
                                         {"DAT", "RE", "DATRE"}}) {
    EXPECT_EQ(automaticFileName(n.extension, n.surname), n.expected) << n.surname;
  }
  for (const char* good : {"ELENCOCF", "DATROSSI", "A_1-B"}) EXPECT_TRUE(validFileName(good)) << good;
  for (const char* bad : {"", "TOOLONGNAME", "..\\X", "A:B", "A B", "X.TXT"})
    EXPECT_FALSE(validFileName(bad)) << bad;
  EXPECT_EQ(copyCommand('S', "ELENCOCF", "DATROSSI"), "CMD /C COPY ELENCOCF A:DATROSSI");
  EXPECT_EQ(copyCommand('H', "IVA2011", "IVA2011"), "CMD /C COPY IVA2011 C:\\ALBTEL\\IVA2011");
}

class OutputFileTest : public TelematicTest {
 protected:
  void TearDown() override {
    records::faults::setHook({});
    TelematicTest::TearDown();
  }
};

TEST_F(OutputFileTest, WholeFileReplacesTheOldOneAndNoTemporaryStays) {
  writeFile("OUT", "old contents that are longer than the new ones");
  writeOutputFile("OUT", "new\r\n", "T");
  EXPECT_EQ(readFile("OUT"), "new\r\n");
  EXPECT_FALSE(std::filesystem::exists("OUT.TMP"));
}

TEST_F(OutputFileTest, FailureLeavesNothingUnderEitherName) {
  struct Case {
    std::string name;
    records::faults::Step step;
    int err;
    int number;
  };
  const std::vector<Case> cases = {
      {"disk full while writing", records::faults::Step::Write, ENOSPC, error::kDiskFull},
      {"rename refused", records::faults::Step::Rename, EACCES, error::kPermissionDenied},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    records::faults::setHook([&c](records::faults::Step step, const std::filesystem::path&) {
      return step == c.step ? c.err : 0;
    });
    try {
      writeOutputFile("OUT", std::string(3600, 'x'), "T");
      ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), c.number);
      EXPECT_EQ(e.where(), "T");
    }
    EXPECT_FALSE(std::filesystem::exists("OUT"));
    EXPECT_FALSE(std::filesystem::exists("OUT.TMP"));
  }
}

TEST_F(OutputFileTest, UnwritableTemporaryIsAnErrorWithoutAFinalFile) {
  std::filesystem::create_directory("OUT.TMP");  // a folder where the file should go
  EXPECT_THROW(writeOutputFile("OUT", "x", "T"), RuntimeError);
  EXPECT_FALSE(std::filesystem::exists("OUT"));
}

// The copy question at the end of a file, in-process on the key script.
TEST_F(TelematicTest, CopyQuestionTakesOnlyItsThreeAnswers) {
  struct Case {
    std::string name;
    std::string keys;
    std::string command;  // empty: no copy
    std::string copied;   // file expected afterwards, empty for none
    int beeps;
  };
  const std::vector<Case> cases = {
      {"default H: the client's folder", "<ENTER>", "CMD /C COPY ELENCOCF C:\\ALBTEL\\COPIA", "ALBTEL/COPIA", 0},
      {"S: the diskette", "<CTRL-DEL> \"s\" <ENTER>", "CMD /C COPY ELENCOCF A:COPIA", "DRIVE-A/COPIA", 0},
      {"another letter is asked again", "<CTRL-DEL> \"X\" <ENTER> <CTRL-DEL> \"N\" <ENTER>", "", "", 1},
      {"ESC is no", "<ESC>", "", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all("ALBTEL");
    std::filesystem::remove_all("DRIVE-A");
    std::filesystem::create_directory("DRIVE-A");
    writeFile("ELENCOCF", "file\r\n");
    auto run = start(c.keys);
    EXPECT_EQ(offerCopy(*run->session, "ELENCOCF", "COPIA", colours(run->context)), c.command);
    EXPECT_EQ(run->backend->beeps(), c.beeps);
    EXPECT_EQ(run->backend->pending(), 0u) << "keys left over";
    EXPECT_EQ(vellano::testing::commandLog(), c.command.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.command});
    if (!c.copied.empty()) {
      EXPECT_EQ(readFile(c.copied), "file\r\n");
    }
  }
}

TEST_F(TelematicTest, FailedCopyIsToldAndWaitsForAKey) {
  // No diskette: drive A: names a folder that is not there.
  env_.set("VELLANO_DRIVE_A", (std::filesystem::current_path() / "no-diskette").string());
  writeFile("ELENCOCF", "file\r\n");
  auto run = start("<CTRL-DEL> \"S\" <ENTER> <SNAP> <ENTER>");
  offerCopy(*run->session, "ELENCOCF", "ELENCOCF", colours(run->context));
  EXPECT_EQ(run->backend->pending(), 0u);
  ASSERT_EQ(run->backend->dumps().size(), 1u);
  const std::string& d = run->backend->dumps()[0];
  EXPECT_EQ(vellano::testing::cells(d, 39, 3, 46), " Procedo con la copia [Si/No/H (c:\\albtel)]: S");
  EXPECT_EQ(vellano::testing::cells(d, 40, 3, 36), "Copia non riuscita: premere un tasto");
}

}  // namespace
}  // namespace vellano::telematic
