// The entry program run for real, headless, on key scripts; and its error box in-process.
#include "programs/entry_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "records/cp437_text.h"
#include "platform/error.h"
#include "screen/field_editor.h"
#include "screen/session.h"
#include "support/screen_helpers.h"
#include "support/headless_run.h"
#include "support/work_folder.h"

namespace vellano::programs {
namespace {

using vellano::testing::runHeadless;

class EntryProgramRun : public vellano::testing::WorkFolder {
 protected:
  vellano::testing::HeadlessRun run(const std::vector<std::string>& args, const std::string& script) {
    return runHeadless("VELLA10W", args, std::filesystem::current_path(), script);
  }
};

TEST_F(EntryProgramRun, MainMenuIsDrawnWithAllSixteenRows) {
  const std::vector<std::string> rows = {
      "┌─────────────────────────┐",
      "│registro Vendite.........│",
      "│registro Acquisti........│",
      "│registro coRrispettivi...│",
      "│─────────────────────────│",
      "│Clienti..................│",
      "│Fornitori................│",
      "│cassa e Banche...........│",
      "│caUsali contabili........│",
      "│Tabelle IVA..............│",
      "│─────────────────────────│",
      "│aZzeramento registrazioni│",
      "│Data.....................│",
      "│─────────────────────────│",
      "│Parametri................│",
      "│coPie....................│",
      "│Stampe--->...............│",
      "└─────────────────────────┘",
  };
  // The dump taken at the first key read shows the menu; the final one comes after it closed.
  auto r = run({}, "<SNAP> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_EQ(r.dumps.size(), 2u);
  const std::string left(29, ' ');
  for (std::size_t i = 0; i < rows.size(); ++i) {
    int row = 10 + static_cast<int>(i);
    EXPECT_EQ(r.row(0, row).rfind(left + rows[i], 0), 0u) << "row " << row << ": " << r.row(0, row);
  }
  EXPECT_NE(r.row(0, 1).find("┌─Codice──┐"), std::string::npos);
  EXPECT_NE(r.row(0, 4).find("│ [·····] │"), std::string::npos);
  EXPECT_EQ(r.row(0, 50).substr(r.row(0, 50).size() - 5), "2000 ");
}

TEST_F(EntryProgramRun, LetterPOpensParametersAndWritesTheAnswers) {
  auto r = run({}, "\"p\" <SNAP> \"s\" <ENTER> \"n\" <ENTER> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.row(0, 1).find(" PARAMETRI "), std::string::npos);
  EXPECT_NE(r.row(0, 3).find("Archivio Clienti/Fornitori unico [S/N]: N"), std::string::npos);
  EXPECT_NE(r.row(0, 5).find("Tabelle IVA complete             [S/N]: N"), std::string::npos);
  EXPECT_EQ(readFile("PARAM.DAT"), "SN");
}

TEST_F(EntryProgramRun, ParametersRefuseOtherAnswersAndEscWritesNothing) {
  writeFile("PARAM.DAT", "NS");
  auto r = run({}, "\"p\" \"x\" <ENTER> \"s\" <ENTER> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(readFile("PARAM.DAT"), "NS");
  // Up on the second answer goes back to the first.
  r = run({}, "\"p\" \"s\" <ENTER> <UP> \"n\" <ENTER> \"n\" <ENTER> <ESC>");
  EXPECT_EQ(readFile("PARAM.DAT"), "NN");
}

TEST_F(EntryProgramRun, EscLeavesThroughTheLauncherOfTheHostMode) {
  auto plain = run({}, "<ESC>");
  EXPECT_EQ(plain.status, 0);
  EXPECT_TRUE(plain.commands.empty());

  auto borea = run({"/M", "7"}, "<ESC>");
  EXPECT_EQ(borea.status, 0);
  EXPECT_EQ(borea.commands, std::vector<std::string>{"CMD /C START AVVIOW.EXE"});
}

TEST_F(EntryProgramRun, PrintsHandOverWithRequest00) {
  // Every byte but the request (bytes 42-43) must come back as it was.
  std::string record = "X001  " + std::string(27, '.') + " 0" + "010111" + "1V" + std::string(68, 'y');
  ASSERT_EQ(record.size(), 111u);
  writeFile("QMENU.DAT", record);
  // Alone, so the request stays in the record instead of being served by the print program.
  auto r = runHeadless("VELLA10W", {"/M", "7"}, std::filesystem::current_path(), "\"s\"", true);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, std::vector<std::string>{"VELST10W.EXE /M 7"});
  std::string after = readFile("QMENU.DAT");
  ASSERT_EQ(after.size(), 111u);
  EXPECT_EQ(after.substr(41, 2), "00");
  EXPECT_EQ(after.substr(0, 41), record.substr(0, 41));
  EXPECT_EQ(after.substr(43), record.substr(43));
}

TEST_F(EntryProgramRun, TitleShowsHostModeThroughTwoPlaces) {
  std::filesystem::create_directory("ALB");
  writeFile("DATATERM.DAT", "");
  writeFile("ALB/DATATERM.DAT", "311210");
  auto r = run({"/P", "3"}, "<ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_FALSE(r.dumps.empty());
  EXPECT_EQ(r.title(0), ":: Vellano 10 W 2011.07a :: 31/12/10 -  6 Egeo ~C:\\ALB\\~ [ Azienda: 001   ] .VELLA10W. [3]");
}

TEST_F(EntryProgramRun, TitleOfHostModeOne) {
  writeFile("DATA.DAT", "150311");
  writeFile("DIKTA.DAT", "ROSSI SRL" + std::string(31, ' '));
  auto r = run({"", "2"}, "<ESC>");
  ASSERT_FALSE(r.dumps.empty());
  EXPECT_EQ(r.title(0), ":: Vellano 10 W 2011.07a :: 15/03/11 -  1 Alba ~~ [ Azienda: DAT  ROSSI SRL ] .VELLA10W. [2]");
  EXPECT_EQ(r.row(0, 50).substr(r.row(0, 50).size() - 5), "2011 ");
}

TEST_F(EntryProgramRun, WorkingDateIsCheckedAndStored) {
  writeFile("DATA.DAT", "150311" + std::string(11, '-'));
  // 310411 does not exist: beep, asked again; then a valid date.
  auto r = run({}, "\"d\" <CTRL-DEL> \"310411\" <ENTER> <SNAP> <CTRL-DEL> \"020112\" <ENTER> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(readFile("DATA.DAT"), "020112" + std::string(11, '-'));
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.row(0, 1).find(" DATA "), std::string::npos);  // still asking after the bad date
  EXPECT_NE(r.title(1).find(":: 02/01/12 -"), std::string::npos);
  EXPECT_EQ(r.row(1, 50).substr(r.row(1, 50).size() - 5), "2012 ");
}

// A date file that holds something that is no date opens the Data screen before the menu; no
// file of year 00 or 99 is made. Without a date the program leaves.
TEST_F(EntryProgramRun, ADamagedWorkingDateIsAskedForBeforeTheMenu) {
  const std::string rest(11, '-');
  const std::vector<std::string> damaged{std::string(6, ' ') + rest, std::string(17, '\0'), "ab12cd" + rest,
                                         "999999" + rest, "310211" + rest, "1503"};
  for (const std::string& date : damaged) {
    SCOPED_TRACE(::testing::PrintToString(date));
    for (const auto& e : std::filesystem::directory_iterator(".")) std::filesystem::remove_all(e.path());
    writeFile("DATA.DAT", date);
    // A date outside the calendar is refused there as always, then a good one is taken.
    auto r = run({}, "<SNAP> <CTRL-DEL> \"320311\" <ENTER> <CTRL-DEL> \"150311\" <ENTER> <SNAP> <ESC>");
    ASSERT_EQ(r.status, 0);
    ASSERT_GE(r.dumps.size(), 2u);
    EXPECT_NE(r.row(0, 1).find(" DATA "), std::string::npos);
    EXPECT_EQ(r.row(0, 11).find("registro Vendite"), std::string::npos);
    EXPECT_NE(r.title(1).find(":: 15/03/11 -"), std::string::npos);
    EXPECT_NE(r.row(1, 11).find("registro Vendite"), std::string::npos);
    EXPECT_EQ(readFile("DATA.DAT").substr(0, 6), "150311");

    // ESC leaves: there is no year to work in.
    writeFile("DATA.DAT", date);
    r = run({}, "<ESC> \"v\" <ESC>");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readFile("DATA.DAT"), date);
    for (const char* stray : {"INDVEN00.DAT", "VENDIT00.DAT", "PSALCL00.DAT", "INDVEN99.DAT", "VENDIT99.DAT"})
      EXPECT_FALSE(std::filesystem::exists(stray)) << stray;
  }
  // A date file without bytes is a new folder's: the menu comes at once, as it always did.
  for (const auto& e : std::filesystem::directory_iterator(".")) std::filesystem::remove_all(e.path());
  writeFile("DATA.DAT", "");
  auto r = run({}, "<SNAP> <ESC>");
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_NE(r.row(0, 11).find("registro Vendite"), std::string::npos);
}

// The box names the file of a file error, without its folders; other errors name none.
TEST_F(EntryProgramRun, TheErrorBoxNamesTheFileOfAFileError) {
  struct Case {
    RuntimeError error;
    std::string fileLine;  // row 13, "" for none
  };
  const Case cases[] = {
      {RuntimeError(70, "open", "some/folder/CLIFOR.DAT"), "File  : CLIFOR.DAT"},
      {RuntimeError(57, "write", "VENDIT11.DAT"), "File  : VENDIT11.DAT"},
      {RuntimeError(53, "write", "/gone/PSALCL11.DAT"), "File  : PSALCL11.DAT"},
      {RuntimeError(6, "str", "-1E+20"), ""},
      {RuntimeError(52, "catalogue", "channel 8"), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error.what());
    testing::ScriptedConsole scripted("\"v\" <SNAP> <ENTER>");
    EntryScreens screens;
    screens.sales = [&](screen::Session&) { throw c.error; };
    std::vector<std::string> args;
    EXPECT_EQ(runEntryProgram(scripted.console(), args, screens), 0);
    ASSERT_EQ(scripted.backend().dumps().size(), 1u);
    std::istringstream lines(scripted.backend().dumps()[0]);
    std::string row;
    for (int i = 0; i <= 13; ++i) std::getline(lines, row);
    const std::size_t at = row.find("File  : ");
    std::string shown = at == std::string::npos ? std::string() : row.substr(at, row.find("│", at) - at);
    shown.erase(shown.find_last_not_of(' ') + 1);
    EXPECT_EQ(shown, c.fileLine) << row;
  }
}

// In-process: an error thrown deep inside a screen reaches the box, which waits for a key and
// leaves through the exit path.
TEST_F(EntryProgramRun, RunTimeErrorFromAnyDepthReachesTheErrorBox) {
  testing::ScriptedConsole scripted("\"v\" <SNAP> <ENTER>");
  EntryScreens screens;
  auto deep = [] { throw RuntimeError(53, "L_4"); };
  screens.sales = [&](screen::Session&) { deep(); };
  std::vector<std::string> args;
  EXPECT_EQ(runEntryProgram(scripted.console(), args, screens), 0);
  ASSERT_EQ(scripted.backend().dumps().size(), 1u);
  const std::string& dump = scripted.backend().dumps()[0];
  EXPECT_NE(dump.find("Errore: 53"), std::string::npos);
  EXPECT_NE(dump.find("Linea : L_4"), std::string::npos);
  EXPECT_NE(dump.find("File not found"), std::string::npos);
  EXPECT_NE(dump.find(" ERROR Message "), std::string::npos);
  EXPECT_EQ(scripted.backend().pending(), 0u);
}

// The screens of the menu set the editor's keys for every field they type; the working date and
// the parameters type with the keys as they find them, so what a screen set must not outlive it.
TEST_F(EntryProgramRun, ScreensLeaveTheEditorKeysAsTheyFoundThem) {
  testing::ScriptedConsole scripted("\"v\" <ESC> \"a\" <ESC>");
  EntryScreens screens;
  screens.sales = [](screen::Session& session) {
    const screen::FieldSpec field = screen::numericField(2, 114, 4)
                                        .withKeys({screen::kExitF2, screen::kExitF9})
                                        .withPageKeys(screen::PageKeys::PgUpPgDn);
    EXPECT_EQ(session.editor.edit(field, "").exitCode, screen::kExitEsc);
  };
  std::string maskSeen;
  int pageModeSeen = -1;
  screens.purchases = [&](screen::Session& session) {
    maskSeen = session.editor.keyMask();
    pageModeSeen = session.editor.pageKeyMode();
  };
  std::vector<std::string> args;
  EXPECT_EQ(runEntryProgram(scripted.console(), args, screens), 0);
  EXPECT_EQ(maskSeen, screen::kDefaultKeyMask);
  EXPECT_EQ(pageModeSeen, 0);
}

TEST_F(EntryProgramRun, UnbuiltItemsBeepAndKeepTheMenu) {
  testing::ScriptedConsole scripted("\"v\" \"a\" \"b\" <ESC>");
  std::vector<std::string> args;
  EXPECT_EQ(runEntryProgram(scripted.console(), args, EntryScreens{}), 0);
  EXPECT_EQ(scripted.backend().beeps(), 3);
}

}  // namespace
}  // namespace vellano::programs

namespace vellano::programs {
namespace {

// A missing hand-over folder at start-up is offered for creation and the program goes on.
TEST_F(EntryProgramRun, MissingFolderIsOfferedForCreation) {
  auto r = run({"/P", "3"}, "<SNAP> \"s\" <ENTER> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_FALSE(r.dumps.empty());
  EXPECT_NE(r.dumps[0].find("La Cartella "), std::string::npos);
  EXPECT_NE(r.dumps[0].find(" non esiste."), std::string::npos);
  EXPECT_NE(r.dumps[0].find("            Vuoi crearla [S/N]: "), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory("ALB"));
  EXPECT_EQ(r.commands, std::vector<std::string>{"AVVIOP.EXE 3"});
}

// A TTY.DAT data folder with a control character is named on screen and ends the program
// through the error box; nothing is created.
TEST_F(EntryProgramRun, DataFolderWithControlCharactersEndsTheProgram) {
  std::string tty(35, ' ');
  tty.replace(0, 1, "C");
  tty.replace(7, 5, "CF003");
  tty.replace(14, 8, std::string("D:\\NU\x01VA"));
  writeFile("TTY.DAT", tty);
  auto r = run({"/F", "1"}, "<SNAP> <ENTER> <SNAP> <ENTER>");
  EXPECT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_NE(r.dumps[0].find("La Cartella DRIVE-D/NU?VA non esiste."), std::string::npos);
  EXPECT_NE(r.dumps[0].find("Nome non valido: caratteri di controllo"), std::string::npos);
  EXPECT_EQ(r.dumps[0].find("Vuoi crearla"), std::string::npos);
  EXPECT_NE(r.dumps[1].find("Errore: 76"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists("DRIVE-D"));
  EXPECT_EQ(r.commands, std::vector<std::string>{"CMD /C START AVVIOW.EXE"});
}

TEST_F(EntryProgramRun, RefusedFolderIsNotCreated) {
  // Asked again when the hand-over record is written back; the menu follows.
  auto r = run({"/P", "3"}, "\"n\" <ENTER> \"n\" <ENTER> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(std::filesystem::exists("ALB"));
}

}  // namespace
}  // namespace vellano::programs
