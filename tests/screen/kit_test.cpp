// The screen kit: key masks, legends, window descriptors, the field-sequence runner and the
// record picker.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/field_sequence.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/record_picker.h"
#include "screen/window.h"
#include "support/scripted_session.h"
#include "support/work_folder.h"

namespace vellano::screen {
namespace {

TEST(KeyMask, TextHasOnePositionPerExitCode) {
  struct Case {
    KeyMask mask;
    const char* text;
  } cases[] = {
      {KeyMask{}, "00000000000"},
      {KeyMask{kExitUp}, "10000000000"},
      {KeyMask{kExitF7, kExitF8, kExitF9}, "00000011100"},
      {KeyMask{kExitUp, kExitF7, kExitF8, kExitF9, kExitPageUp}, "10000011101"},
      {KeyMask{0, kExitPageDown, -3}, "00000000000"},  // codes outside 1-11 are not positions
  };
  for (const Case& c : cases) EXPECT_EQ(c.mask.text(), c.text);
  EXPECT_EQ(kDefaultKeys.text(), kDefaultKeyMask);
  EXPECT_TRUE(KeyMask({kExitF9}).allows(kExitF9));
  EXPECT_FALSE(KeyMask({kExitF9}).allows(kExitF8));
}

TEST(Legend, LabelsGoToTheirKeysAndTheRestIsBlank) {
  EXPECT_EQ(legend({{7, "File Unico"}, {8, "Bilancio"}, {9, "Ricerca"}}, kPageNote),
            "1          |2          |3          |4          |5          |6          |7File Unico|"
            "8Bilancio  |9Ricerca   |Pag+-     |          ");
  EXPECT_EQ(legend({}), "1          |2          |3          |4          |5          |6          |7          |"
                        "8          |9          |          |          ");
  // Labels are cut to ten characters; keys outside 1-9 are ignored.
  EXPECT_EQ(legend({{1, "Pagamenti e incassi"}, {12, "x"}}, "a", "b").substr(0, 12), "1Pagamenti |");
  EXPECT_EQ(legend({}, "a", "b").substr(108), "a         |b         ");
}

TEST(WindowDescriptor, BuiltInOneExpression) {
  const WindowDescriptor d =
      windowAt(2, 3, 18, 81).framed(1).titled(5).shadowed(2, 0x08).coloured(0x30, 0x3F, 0x3E).withCloseBox();
  WindowDescriptor e;
  e.top = 2, e.left = 3, e.bottom = 18, e.right = 81, e.borderStyle = 1, e.titlePosition = 5, e.closeBox = 1,
  e.shadowPosition = 2, e.shadowAttr = 0x08, e.interiorAttr = 0x30, e.borderAttr = 0x3F, e.titleAttr = 0x3E;
  EXPECT_EQ(d, e);
}

// A step that plays back scripted answers and records its visits.
struct Scripted {
  std::vector<int>& visits;
  int index;
  std::vector<Go> answers;
  std::size_t next = 0;
  Go operator()() {
    visits.push_back(index);
    return next < answers.size() ? answers[next++] : Go::next();
  }
};

TEST(FieldSequence, StepsMoveOnBackAgainAndOut) {
  struct Case {
    const char* name;
    std::vector<std::vector<Go>> answers;  // per step
    BackFromFirst back;
    std::vector<int> visits;
    SequenceEnd end;
  } cases[] = {
      {"straight through", {{}, {}, {}}, BackFromFirst::Stays, {0, 1, 2}, SequenceEnd::Completed},
      {"back from the second", {{}, {Go::back()}, {}}, BackFromFirst::Stays, {0, 1, 0, 1, 2}, SequenceEnd::Completed},
      {"back on the first stays", {{Go::back()}, {}}, BackFromFirst::Stays, {0, 0, 1}, SequenceEnd::Completed},
      {"back on the first ends", {{Go::back()}, {}}, BackFromFirst::Ends, {0}, SequenceEnd::BackFromFirst},
      {"again repeats", {{Go::again(), Go::again()}, {}}, BackFromFirst::Stays, {0, 0, 0, 1}, SequenceEnd::Completed},
      {"abandon on the last", {{}, {}, {Go::abandon()}}, BackFromFirst::Stays, {0, 1, 2}, SequenceEnd::Abandoned},
      {"finish early", {{Go::finish()}, {}}, BackFromFirst::Stays, {0}, SequenceEnd::Completed},
      {"jump", {{Go::to(2)}, {}, {Go::to(1)}}, BackFromFirst::Stays, {0, 2, 1, 2}, SequenceEnd::Completed},
  };
  for (const Case& c : cases) {
    std::vector<int> visits;
    std::vector<SequenceStep> steps;
    for (std::size_t k = 0; k < c.answers.size(); ++k)
      steps.push_back(Scripted{visits, static_cast<int>(k), c.answers[k]});
    EXPECT_EQ(runSequence(steps, 0, c.back), c.end) << c.name;
    EXPECT_EQ(visits, c.visits) << c.name;
  }
}

TEST(FieldSequence, ExitCodesMapToTheUsualMoves) {
  EXPECT_EQ(goFor(kExitEnter), Go::next());
  EXPECT_EQ(goFor(kExitUp), Go::back());
  EXPECT_EQ(goFor(kExitEsc), Go::abandon());
  EXPECT_EQ(goFor(kExitF9), Go::again());
  EXPECT_EQ(goFor(kExitPageDown), Go::again());
}

class RecordPickerTest : public testing::WorkFolder {};

RecordPicker picker(int count, int current) {
  RecordPicker p;
  p.field = numericField(4, 12, 4).withKeys({kExitF9, kExitPageUp}).withPageKeys(PageKeys::PgUpPgDn);
  p.count = count;
  p.current = current;
  p.pageKeys = true;
  p.list = [count] {
    std::vector<std::string> entries;
    for (int n = 1; n <= count; ++n) entries.push_back("entry " + std::to_string(n));
    return entries;
  };
  return p;
}

TEST_F(RecordPickerTest, TypedNumbersChooseOrBeep) {
  struct Case {
    const char* script;
    int record;
    int exitCode;
    int beeps;
  } cases[] = {
      {"<ESC>", 0, kExitEsc, 0},
      {"<ENTER>", 6, kExitEnter, 0},               // blank: a new record
      {"\"0\" <ENTER>", 6, kExitEnter, 0},         // 0: a new record
      {"\"3\" <ENTER>", 3, kExitEnter, 0},
      {"\"6\" <ENTER>", 6, kExitEnter, 0},         // count + 1
      {"\"7\" <ENTER> \"2\" <ENTER>", 2, kExitEnter, 1},
      {"\"2.5\" <ENTER> <ESC>", 0, kExitEsc, 1},
      {"\"9999\" <ENTER> <ESC>", 0, kExitEsc, 1},
      {"<PGUP>", 2, kExitPageUp, 0},
      {"<PGDN>", 4, kExitPageDown, 0},
      {"<F9> <DOWN> <ENTER>", 4, kExitF9, 0},      // the list starts on the record on show
      {"<F9> <ESC> <ESC>", 0, kExitEsc, 0},
      {"<F2> <ESC>", 0, kExitEsc, 1},              // a key the field does not allow is refused
      {"\"-\" \"2\" <ENTER>", 2, kExitEnter, 0},  // "-" ends the field as Tab does: asked again              // a key the field refuses does nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    vellano::testing::ScriptedSession s(c.script);
    const Pick pick = pickRecord(s.session, picker(5, 3));
    EXPECT_EQ(pick.record, c.record) << c.script;
    EXPECT_EQ(pick.exitCode, c.exitCode) << c.script;
    EXPECT_EQ(s.backend().beeps(), c.beeps) << c.script;
  }
}

TEST_F(RecordPickerTest, EdgesOfTheFileAndAnEmptyArchive) {
  {
    vellano::testing::ScriptedSession s("<PGUP> <PGDN> <ESC>");  // on the first and last record
    EXPECT_EQ(pickRecord(s.session, picker(1, 1)).record, 0);
  }
  {
    vellano::testing::ScriptedSession s("<F9> <ENTER>");
    const Pick pick = pickRecord(s.session, picker(0, 0));
    EXPECT_EQ(pick.record, 1);
    EXPECT_EQ(s.backend().beeps(), 1);
  }
}

TEST_F(RecordPickerTest, NewRecordHighestAndOtherKeys) {
  vellano::testing::ScriptedSession s("<ENTER> \"9\" <ENTER> \"8\" <ENTER> <F1> <F7>");
  RecordPicker p = picker(5, 3);
  p.field = p.field.withKeys({kExitUp, kExitF7, kExitF9, kExitPageUp});
  p.highest = 8;
  int asked = 0;
  p.newRecord = [&] { return asked++ == 0 ? 0 : 9; };  // the first time nothing is free
  std::vector<int> keys;
  p.onKey = [&](int code) -> std::optional<int> {
    keys.push_back(code);
    if (code == kExitF7) return 0;
    return std::nullopt;
  };
  EXPECT_EQ(pickRecord(s.session, p).record, 8);  // 9 is past the highest and beeps
  EXPECT_EQ(s.backend().beeps(), 1);
  const Pick left = pickRecord(s.session, p);
  EXPECT_EQ(left.record, 0);
  EXPECT_EQ(left.exitCode, kExitF7);
  EXPECT_EQ(keys, (std::vector<int>{kExitUp, kExitF7}));
}

}  // namespace
}  // namespace vellano::screen
