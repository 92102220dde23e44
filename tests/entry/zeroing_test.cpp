// The zeroing of the year: the files deleted in order through the command runner, the counts
// written back, blank balance records and blank cash/bank totals; nothing on any other answer.
#include "entry/zeroing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "records/text.h"
#include "support/work_folder.h"
#include "master/causals_support.h"
#include "support/headless_run.h"

namespace vellano::entry {
namespace {

using master::testing::recordOf;
using master::testing::ScriptedSession;

const std::vector<std::string> kYearFiles{"INDVEN11.DAT", "INDACQ11.DAT", "VENDIT11.DAT", "ACQUIS11.DAT", "CDIVA11.DAT",
                                          "PAGVEN11.DAT", "PAGACQ11.DAT", "PSALCL11.DAT", "PSALFO11.DAT"};

std::string account(std::string_view description, std::string_view dare, std::string_view avere) {
  return records::fitLeft(description, 26) + records::fitLeft(dare, 12) + records::fitLeft(avere, 12);
}

class ZeroingTest : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    writeFile("DATA.DAT", "150311" + std::string(11, ' '));
    writeFile("INDICECL.DAT", " 25 ");
    writeFile("INDICEST.DAT", "10  ");
    writeFile("INDEX.DAT", records::fitLeft(" 7", 5) + records::fitLeft(" 2", 5));
    writeFile("CASBAN.DAT", account("Cassa", " 150.5", " 20") + account("Banca", " 1000", "") +
                                account("Terza", " 5", " 5"));
    for (const std::string& name : kYearFiles) writeFile(name, std::string(200, 'x'));
    writeFile("CORRIS11.DAT", "takings");
    writeFile("IVVER11.DAT", "paid");
    writeFile("VENDIT10.DAT", "last year");
  }

  vellano::testing::HeadlessRun run(const std::string& script) {
    return vellano::testing::runHeadless("VELLA10W", {}, std::filesystem::current_path(), script);
  }
};

TEST(ZeroingCommands, DeleteTheYearlyFilesInOrder) {
  records::Context context;
  context.dataPrefix = "C:";
  context.yearSuffix = "11";
  context.companyExtension = "003";
  EXPECT_EQ(zeroingCommands(context),
            (std::vector<std::string>{"CMD /C DEL C:INDVEN11.003", "CMD /C DEL C:INDACQ11.003",
                                      "CMD /C DEL C:VENDIT11.003", "CMD /C DEL C:ACQUIS11.003",
                                      "CMD /C DEL C:CDIVA11.003", "CMD /C DEL C:PAGVEN11.003",
                                      "CMD /C DEL C:PAGACQ11.003", "CMD /C DEL C:PSALCL11.003",
                                      "CMD /C DEL C:PSALFO11.003"}));
}

TEST_F(ZeroingTest, SEmptiesTheYearAndLeavesBlankBalancesForEveryCode) {
  auto r = run("\"z\" \"S\" <ENTER> <ESC>");
  ASSERT_EQ(r.status, 0);
  records::Context context;
  context.yearSuffix = "11";
  EXPECT_EQ(r.commands, zeroingCommands(context));

  EXPECT_EQ(readFile("PSALCL11.DAT"), std::string(25 * 30, ' '));
  EXPECT_EQ(readFile("PSALFO11.DAT"), std::string(10 * 30, ' '));
  for (const char* gone : {"INDVEN11.DAT", "INDACQ11.DAT", "VENDIT11.DAT", "ACQUIS11.DAT", "PAGVEN11.DAT", "PAGACQ11.DAT"}) {
    SCOPED_TRACE(gone);
    // Deleted; reopening after the menu may create it again, but empty.
    EXPECT_TRUE(!std::filesystem::exists(gone) || std::filesystem::file_size(gone) == 0);
  }
  // CDIVA is new: record 2 carries the cash/bank count in its third field.
  EXPECT_EQ(recordOf("CDIVA11.DAT", 21, 2).substr(11, 5), " 2   ");
  EXPECT_EQ(recordOf("CDIVA11.DAT", 21, 1), std::string(21, '\0'));
  EXPECT_EQ(recordOf("INDEX.DAT", 5, 1), " 7   ");
  // The two accounts in use lose their totals; their descriptions and the third stay.
  EXPECT_EQ(readFile("CASBAN.DAT"), account("Cassa", "", "") + account("Banca", "", "") + account("Terza", " 5", " 5"));
  EXPECT_EQ(readFile("CORRIS11.DAT"), "takings");
  EXPECT_EQ(readFile("IVVER11.DAT"), "paid");
  EXPECT_EQ(readFile("VENDIT10.DAT"), "last year");
}

TEST_F(ZeroingTest, AnyOtherAnswerDoesNothingAndOnlyNOrEscLeave) {
  struct Case {
    const char* script;
    int beeps;
  };
  for (const Case& c : {Case{"\"x\" <ENTER> <ESC>", 1}, Case{"\"N\" <ENTER>", 0}, Case{"<ENTER> \"?\" <ENTER> \"n\" <ENTER>", 2},
                        Case{"<ESC>", 0}}) {
    SCOPED_TRACE(c.script);
    ScriptedSession s(c.script);
    s.context.yearSuffix = "11";
    s.context.customerCount = 25;
    s.context.supplierCount = 10;
    runZeroing(s.session);
    s.catalogue.closeAll();
    EXPECT_EQ(s.backend().beeps(), c.beeps);
    for (const std::string& name : kYearFiles) EXPECT_EQ(readFile(name), std::string(200, 'x')) << name;
  }
}

TEST_F(ZeroingTest, ThePromptIsShownInItsWindow) {
  ScriptedSession s("<SNAP> <ESC>");
  runZeroing(s.session);
  ASSERT_EQ(s.backend().dumps().size(), 1u);
  std::istringstream lines(s.backend().dumps()[0]);
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_GE(rows.size(), 16u);
  EXPECT_EQ(master::testing::columns(rows[15], 25, 33), "CONFERMI L'AZZERAMENTO   [S/N]: ·");
}

}  // namespace
}  // namespace vellano::entry
