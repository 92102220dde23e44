// Causals: the CAUCON.DAT record, the count in INDEX.DAT and the "GESTIONE CAUSALI" screen,
// both in-process (beeps, return value) and through the real program ("u" in the main menu).
#include "master/causals.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "causals_support.h"
#include "screen/print_handover.h"
#include "records/text.h"
#include "support/work_folder.h"
#include "support/headless_run.h"

namespace vellano::master {
namespace {

using master::testing::columns;
using master::testing::recordOf;
using master::testing::ScriptedSession;

// A stored causal: description, E/P, S/N, then the reserved area.
std::string causalRecord(std::string_view description, std::string_view kindAndVentilation, char rest = ' ') {
  return records::fitLeft(description, 30) + std::string(kindAndVentilation) + std::string(468, rest);
}

// Line `row` (1-50) of an in-memory dump.
std::string dumpRow(const std::string& dump, int row) {
  std::istringstream lines(dump);
  std::string line;
  for (int i = 0; i <= row && std::getline(lines, line);) ++i;
  return line;
}

class CausalScreenTest : public vellano::testing::WorkFolder {
 protected:
  // Causals 1..n as given, their count in INDEX.DAT.
  void causals(const std::vector<std::string>& descriptions) {
    std::string file;
    for (const std::string& d : descriptions) file += causalRecord(d, "EN");
    writeFile("CAUCON.DAT", file);
    writeFile("INDEX.DAT", records::fitLeft(" " + std::to_string(descriptions.size()), 5));
  }
  vellano::testing::HeadlessRun run(const std::string& script, const std::vector<std::string>& args = {},
                                    bool alone = false) {
    return vellano::testing::runHeadless("VELLA10W", args, std::filesystem::current_path(), script, alone);
  }
};

TEST_F(CausalScreenTest, RecordWriteBlanksTheReservedAreaAndNulsReadAsBlanks) {
  writeFile("CAUCON.DAT", std::string(500, 'Z') + std::string(500, '\0'));
  records::Context context;
  records::Catalogue catalogue(context);
  records::writeCausal(catalogue, 1, records::Causal{"Vendite merci", 'E', 'S'});
  catalogue.closeAll();
  EXPECT_EQ(recordOf("CAUCON.DAT", 500, 1), causalRecord("Vendite merci", "ES"));

  for (int never : {2, 7}) {
    records::Causal c = records::readCausal(catalogue, never);
    EXPECT_EQ(c.description, "");
    EXPECT_EQ(c.kind, ' ');
    EXPECT_EQ(shownVentilation(c.ventilation), 'N');
  }
}

TEST(ShownVentilation, OnlySAndNAreShownAsStored) {
  const std::pair<char, char> cases[] = {{'S', 'S'}, {'N', 'N'}, {' ', 'N'}, {'s', 'N'}, {'X', 'N'}, {'\0', 'N'}};
  for (auto [stored, shown] : cases) EXPECT_EQ(shownVentilation(stored), shown) << int(stored);
}

TEST_F(CausalScreenTest, NewCausalIsWrittenWithItsLettersAndTheCountBecomesOne) {
  auto r = run("\"u\" <ENTER> <SNAP> \"Vendite merci\" <ENTER> \"e\" <ENTER> \"s\" <ENTER> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  // A never-written causal shows blank fields and Ventilazione "N".
  EXPECT_EQ(columns(r.row(0, 1), 1, 30), " Codice Causale:    1 [    0 ]");
  EXPECT_EQ(columns(r.row(0, 3), 79, 1), "N");
  EXPECT_EQ(columns(r.row(0, 2), 79, 1), " ");
  EXPECT_EQ(recordOf("CAUCON.DAT", 500, 1), causalRecord("Vendite merci", "ES"));
  EXPECT_EQ(readFile("INDEX.DAT"), " 1   ");
}

TEST_F(CausalScreenTest, OnlyTheAllowedLettersAreTaken) {
  ScriptedSession s("<ENTER> \"Vendite\" <ENTER> \"x\" <ENTER> \"1\" <ENTER> \"p\" <ENTER> \"q\" <ENTER> \"n\" <ENTER> "
                    "<ESC> <ESC>");
  EXPECT_EQ(pickCausal(s.session), 1);
  EXPECT_EQ(s.backend().beeps(), 3);
  s.catalogue.closeAll();
  EXPECT_EQ(recordOf("CAUCON.DAT", 500, 1), causalRecord("Vendite", "PN"));
  EXPECT_EQ(s.context.causalCount, 1);
}

TEST_F(CausalScreenTest, EscInTheFieldsWritesNothing) {
  causals({"Acquisti"});
  const std::string before = readFile("CAUCON.DAT");
  ScriptedSession s("<ENTER> \"Nuova\" <ENTER> \"E\" <ENTER> <ESC> \"1\" <ENTER> \"Altro\" <ENTER> <ESC> <ESC>");
  EXPECT_EQ(pickCausal(s.session), 1);
  s.catalogue.closeAll();
  EXPECT_EQ(readFile("CAUCON.DAT"), before);
  EXPECT_EQ(readFile("INDEX.DAT"), " 1   ");
}

TEST_F(CausalScreenTest, CountSetToZeroMakesF9BeepAndTheNextCausalNumberOne) {
  causals({"Acquisti", "Vendite"});
  ScriptedSession s("<UP> \"0\" <ENTER> <F9> <ENTER> <SNAP> <ESC> <ESC>");
  EXPECT_EQ(pickCausal(s.session), 1);
  EXPECT_EQ(s.backend().beeps(), 1);
  s.catalogue.closeAll();
  EXPECT_EQ(readFile("INDEX.DAT"), " 0   ");
  ASSERT_GE(s.backend().dumps().size(), 1u);
  EXPECT_EQ(columns(dumpRow(s.backend().dumps()[0], 1), 1, 30), " Codice Causale:    1 [    0 ]");
  // The causal shown is record 1 as stored: the count hides it from lists, not from the file.
  EXPECT_EQ(columns(dumpRow(s.backend().dumps()[0], 2), 18, 8), "Acquisti");
}

TEST_F(CausalScreenTest, EscOnTheCountLeavesItUnchanged) {
  causals({"Acquisti", "Vendite"});
  ScriptedSession s("<UP> \"7\" <ESC> <ESC>");
  EXPECT_EQ(pickCausal(s.session), 0);
  s.catalogue.closeAll();
  EXPECT_EQ(readFile("INDEX.DAT"), " 2   ");
}

TEST_F(CausalScreenTest, CodesOutsideOneToCountPlusOneBeep) {
  causals({"Acquisti", "Vendite"});
  // ("-" cannot be typed here: with the page keys active it ends the field.)
  ScriptedSession s("\"4\" <ENTER> \"9999\" <ENTER> \"2.5\" <ENTER> \"3\" <ENTER> <ESC> <ESC>");
  EXPECT_EQ(pickCausal(s.session), 3);
  EXPECT_EQ(s.backend().beeps(), 3);
}

TEST_F(CausalScreenTest, SelectionListAndPageKeysChooseTheCausal) {
  causals({"Acquisti", "Vendite", "Banca"});
  records::Context context;
  records::Catalogue catalogue(context);
  const std::vector<std::string> entries = records::causalListEntries(catalogue, 3);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1], "  2 " + records::fitLeft("Vendite", 30));
  catalogue.closeAll();

  struct Case {
    const char* script;
    int chosen;
  };
  const Case cases[] = {
      {"<F9> <DOWN> <ENTER> <ESC> <ESC>", 2},
      {"<F9> <ESC> <ESC>", 0},
      // PgDn stops at the count, PgUp steps back.
      {"\"2\" <ENTER> <ESC> <PGDN> <ESC> <PGDN> <PGUP> <ESC> <ESC>", 2},
      {"\"3\" <ENTER> <ESC> <PGDN> <ESC>", 3},
      // In the description the page keys move to the neighbouring causal.
      {"\"1\" <ENTER> <PGDN> <PGDN> <ESC> <ESC>", 3},
  };
  for (const Case& c : cases) {
    ScriptedSession s(c.script);
    EXPECT_EQ(pickCausal(s.session), c.chosen) << c.script;
    EXPECT_EQ(s.backend().beeps(), 0) << c.script;
    EXPECT_EQ(s.backend().pending(), 0u) << c.script;
  }
}

TEST_F(CausalScreenTest, FunctionKeysHandOverToThePrintProgram) {
  struct Case {
    const char* key;
    const char* request;
  };
  for (const Case& c : {Case{"<F7>", "2U"}, Case{"<F8>", "2B"}}) {
    const std::string record = "X001  " + std::string(27, '.') + " 0" + "010111" + "00" + std::string(68, 'y');
    writeFile("QMENU.DAT", record);
    // Alone, so the request stays in the record instead of being served by the print program.
    auto r = run(std::string("\"u\" ") + c.key, {"/M", "7"}, true);
    EXPECT_EQ(r.status, 0) << c.key;
    ASSERT_FALSE(r.commands.empty()) << c.key;
    EXPECT_EQ(r.commands.front(), "VELST10W.EXE /M 7") << c.key;
    EXPECT_EQ(readFile("QMENU.DAT").substr(41, 2), c.request) << c.key;
  }
}

}  // namespace
}  // namespace vellano::master
