// Annulling and restoring a registration: only the date changes, and only on "S".
#include "entry/annul.h"

#include <gtest/gtest.h>

#include <string>

#include "records/text.h"
#include "support/work_folder.h"
#include "master/causals_support.h"

namespace vellano::entry {
namespace {

using master::testing::recordOf;
using master::testing::ScriptedSession;

std::string registrationBytes(std::string_view date) {
  records::Record record(records::registration_layout::kLength);
  records::Registration r;
  r.date = date;
  r.counterparty = "12";
  r.documentNumber = "A7";
  r.protocolLetter = "V";
  r.protocolNumber = "4";
  r.section = "1";
  r.lines[0].rateText = "20";
  r.lines[0].taxableText = "100";
  records::packRegistration(r, record);
  return record.bytes();
}

class AnnulTest : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    writeFile("VENDIT11.DAT", registrationBytes("010511") + registrationBytes(date_));
  }

  struct Outcome {
    AnnulResult result;
    std::string stored;  // record 2 afterwards
    records::Registration shown;
    int beeps;
  };
  Outcome run(std::string_view script) {
    ScriptedSession s(script);
    s.context.yearSuffix = "11";
    s.context.workingDate = "150511";
    records::Registration reg = records::unpackRegistration(records::Record(registrationBytes(date_)));
    const AnnulResult result = annulOrRestore(s.session, records::RegisterKind::Sales, 2, reg);
    s.catalogue.closeAll();
    return {result, recordOf("VENDIT11.DAT", 200, 2), reg, s.backend().beeps()};
  }

  std::string date_ = "140511";
};

TEST(AnnulledDate, TildeAndTheLastFiveCharacters) {
  EXPECT_EQ(annulledDate("140511"), "~40511");
  EXPECT_EQ(annulledDate("3105"), "~105  ");
}

TEST_F(AnnulTest, SAnnulsTheDateAndNothingElse) {
  const Outcome o = run("\"s\" <ENTER>");
  EXPECT_EQ(o.result, AnnulResult::Changed);
  EXPECT_EQ(o.stored, registrationBytes("~40511"));
  EXPECT_EQ(o.shown.date, "~40511");
  EXPECT_EQ(recordOf("VENDIT11.DAT", 200, 1), registrationBytes("010511"));
}

TEST_F(AnnulTest, NoOrEscLeaveTheRecordAloneAndOtherAnswersBeep) {
  struct Case {
    const char* script;
    int beeps;
  };
  for (const Case& c : {Case{"<ENTER>", 0}, Case{"\"N\" <ENTER>", 0}, Case{"<ESC>", 0},
                        Case{"\"x\" <ENTER> \"?\" <ENTER> \"n\" <ENTER>", 2}}) {
    SCOPED_TRACE(c.script);
    const Outcome o = run(c.script);
    EXPECT_EQ(o.result, AnnulResult::Unchanged);
    EXPECT_EQ(o.stored, registrationBytes("140511"));
    EXPECT_EQ(o.beeps, c.beeps);
  }
}

TEST_F(AnnulTest, RestoreAsksForAFullValidDate) {
  date_ = "~40511";
  writeFile("VENDIT11.DAT", registrationBytes("010511") + registrationBytes(date_));
  // The stored "~40511" as it stands, a 30 February and a short date are refused.
  const Outcome o = run("\"S\" <ENTER> <ENTER> <CTRL-DEL> \"300211\" <ENTER> <CTRL-DEL> \"1405\" <ENTER> "
                        "<CTRL-DEL> \"160511\" <ENTER>");
  EXPECT_EQ(o.result, AnnulResult::Changed);
  EXPECT_EQ(o.beeps, 3);
  EXPECT_EQ(o.stored, registrationBytes("160511"));
  EXPECT_EQ(o.shown.date, "160511");
}

TEST_F(AnnulTest, EscAtTheRestoreDateWritesNothing) {
  date_ = "~40511";
  writeFile("VENDIT11.DAT", registrationBytes("010511") + registrationBytes(date_));
  const Outcome o = run("\"S\" <ENTER> <CTRL-DEL> \"160511\" <ESC>");
  EXPECT_EQ(o.result, AnnulResult::Unchanged);
  EXPECT_EQ(o.stored, registrationBytes("~40511"));
  EXPECT_EQ(o.shown.date, "~40511");
}

}  // namespace
}  // namespace vellano::entry
