// The print program: headless runs of the real executables (menu, return path, the chain
// from and back to the entry program) and in-process runs with stand-in reports.
#include "programs/print_program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/env_guard.h"
#include "platform/error.h"
#include "support/screen_helpers.h"
#include "support/headless_run.h"
#include "support/report_session.h"
#include "support/work_folder.h"

namespace vellano::programs {
namespace {

using vellano::testing::runHeadless;

// A hand-over record for terminal 7 in host mode 2 carrying `request` at bytes 42-43.
std::string handOverWith(const std::string& request) {
  std::string record = "X001  " + std::string(27, '.') + " 0" + "010111" + request + std::string(68, 'y');
  return record;
}

class PrintProgramRun : public vellano::testing::WorkFolder {
 protected:
  vellano::testing::HeadlessRun run(const std::string& program, const std::vector<std::string>& args,
                                    const std::string& script) {
    return runHeadless(program, args, std::filesystem::current_path(), script);
  }
};

TEST_F(PrintProgramRun, PrintMenuIsDrawnWithItsTwelveRows) {
  const std::vector<std::string> rows = {
      "┌─────────────────────────────┐",
      "│STAMPA registro Vendite......│",
      "│STAMPA registro Acquisti.....│",
      "│STAMPA registro Corrispettivi│",
      "│IVA..........................│",
      "│elenco cLienti...............│",
      "│elenco Fornitori.............│",
      "│Bilancio.....................│",
      "│iNtestazione registri........│",
      "│─────────────────────────────│",
      "│invio Telematico iva.........│",
      "│El cli/for Tel (Spesometro)..│",
      "│creazione file per mod. Unico│",
      "└─────────────────────────────┘",
  };
  writeFile("DATA.DAT", "150311");
  auto r = run("VELST10W", {"", "4"}, "<SNAP>");
  ASSERT_FALSE(r.dumps.empty());
  const std::string left(29, ' ');
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int row = 10 + static_cast<int>(i);
    EXPECT_EQ(r.row(0, row).rfind(left + rows[i], 0), 0u) << "row " << row << ": " << r.row(0, row);
  }
  EXPECT_EQ(r.title(0), ":: Vellano 10 W 2011.01a :: 15/03/11 -  1 Alba ~~ [ Azienda: DAT   ] .VELST10W. [4]");
  EXPECT_EQ(r.row(0, 50).substr(r.row(0, 50).size() - 5), "2011 ");
  EXPECT_NE(r.row(0, 1).find("┌─Codice──┐"), std::string::npos);
}

// VELLA10W "Stampe--->" -> VELST10W -> ESC -> a new VELLA10W, one key script for all three.
TEST_F(PrintProgramRun, ChainFromEntryToPrintAndBack) {
  auto r = run("VELLA10W", {"/M", "7"}, "\"s\" <SNAP> <ESC> <SNAP> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, (std::vector<std::string>{"VELST10W.EXE /M 7", "VELLA10W.EXE /M 7",
                                                  "CMD /C START AVVIOW.EXE"}));
  // Print menu snap, entry menu snap, then the final screens of the three programs.
  ASSERT_EQ(r.dumps.size(), 5u);
  EXPECT_NE(r.title(0).find(" ] .VELST10W. [7]"), std::string::npos);
  EXPECT_NE(r.row(0, 13).find("│STAMPA registro Corrispettivi│"), std::string::npos);
  EXPECT_NE(r.title(1).find(" ] .VELLA10W. [7]"), std::string::npos);
  EXPECT_NE(r.row(1, 26).find("│Stampe--->...............│"), std::string::npos);
  EXPECT_EQ(r.row(1, 13).find("STAMPA"), std::string::npos);
  EXPECT_NE(r.title(3).find(".VELST10W."), std::string::npos);  // the print program ends after the second entry program
  EXPECT_NE(r.title(4).find(".VELLA10W."), std::string::npos);
  // Nothing of the script is left over.
  EXPECT_EQ(readFile("keys.script").find("ESC"), std::string::npos);
}

// Without a switch the programs pass the terminal number alone ("VELST10W.EXE 5"); the program
// started so still knows its terminal, in its title and in the command back.
TEST_F(PrintProgramRun, TerminalNumberWithoutSwitchSurvivesTheHandOver) {
  writeFile("DATA.DAT", "150311");
  auto r = run("VELLA10W", {"", "5"}, "\"s\" <SNAP> <ESC> <SNAP> <ESC>");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.commands, (std::vector<std::string>{"VELST10W.EXE 5", "VELLA10W.EXE 5"}));
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_EQ(r.title(0), ":: Vellano 10 W 2011.01a :: 15/03/11 -  1 Alba ~~ [ Azienda: DAT   ] .VELST10W. [5]");
  EXPECT_NE(r.title(1).find(" -  1 Alba ~~ "), std::string::npos);
  EXPECT_NE(r.title(1).find(" ] .VELLA10W. [5]"), std::string::npos);

  // Started alone the same way, the print program reads its one argument as the terminal.
  auto alone = run("VELST10W", {"5"}, "<SNAP> <ESC>");
  ASSERT_FALSE(alone.dumps.empty());
  EXPECT_EQ(alone.title(0), ":: Vellano 10 W 2011.01a :: 15/03/11 -  1 Alba ~~ [ Azienda: DAT   ] .VELST10W. [5]");
  EXPECT_EQ(alone.commands, std::vector<std::string>{"VELLA10W.EXE 5"});
}

// ESC starts the entry program again in every host mode, never a launcher.
TEST_F(PrintProgramRun, EscReturnsToTheEntryProgramInEveryHostMode) {
  struct Case {
    std::vector<std::string> args;
    std::string command;
  };
  const std::vector<Case> cases = {
      {{"", "2"}, "VELLA10W.EXE 2"},
      {{"/M", "7"}, "VELLA10W.EXE /M 7"},
      {{"/F", "1"}, "VELLA10W.EXE /F 1"},
  };
  for (const Case& c : cases) {
    // The entry program started finds the script empty and ends at once.
    auto r = run("VELST10W", c.args, "<ESC>");
    EXPECT_EQ(r.status, 0) << c.command;
    EXPECT_EQ(r.commands, std::vector<std::string>{c.command});
  }
}

// A request no report answers to shows the menu.
TEST_F(PrintProgramRun, RequestWithoutItsReportShowsTheMenu) {
  writeFile("QMENU.DAT", handOverWith("9Z"));
  auto r = run("VELST10W", {"/M", "7"}, "<SNAP>");
  ASSERT_FALSE(r.dumps.empty());
  EXPECT_NE(r.row(0, 12).find("│STAMPA registro Acquisti.....│"), std::string::npos);
  EXPECT_TRUE(r.commands.empty());
  // The request is served once: the record no longer carries it.
  EXPECT_EQ(readFile("QMENU.DAT").substr(41, 2), "  ");
}

// In-process runs: the reports are stand-ins that record their calls. A child entry program
// started on the way back finds an empty key script and ends at once.
class PrintProgramInProcess : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    writeFile("child.keys", "");
    env_.set("VELLANO_KEYS", (std::filesystem::current_path() / "child.keys").string());
    env_.set("VELLANO_COMMANDS", (std::filesystem::current_path() / "commands.txt").string());
    env_.set("VELLANO_SCREEN", nullptr);
  }
  platform::testing::EnvGuard env_;
};

TEST_F(PrintProgramInProcess, HotLettersChooseTheirItemsAndUnbuiltItemsBeep) {
  std::vector<std::string> calls;
  PrintReports reports;
  reports.takingsRegister = [&](screen::Session&) { calls.push_back("takings"); };
  reports.counterpartyFile = [&](screen::Session&) { calls.push_back("spesometro"); };
  reports.counterpartyList = [&](screen::Session&, std::string_view title) { calls.push_back(std::string(title)); };
  reports.balance = [&](screen::Session&, int mode) { calls.push_back("balance " + std::to_string(mode)); };
  int closes = 0;
  reports.closePrintChannel = [&] { ++closes; };
  testing::ScriptedConsole scripted("\"c\" \"e\" \"f\" \"u\" \"b\" \"v\" \"i\" <ESC>");
  std::vector<std::string> args;
  EXPECT_EQ(runPrintProgram(scripted.console(), args, reports), 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"takings", "spesometro", "ELENCO FORNITORI", "balance 2",
                                             "balance 1"}));
  EXPECT_EQ(scripted.backend().beeps(), 2);  // "v" and "i" have no report yet
  EXPECT_EQ(closes, 6);                      // before each of the five items, and on leaving
  EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{"VELLA10W.EXE "});
}

TEST_F(PrintProgramInProcess, RunTimeErrorInAReportIsShownAndHandsBackToTheEntryProgram) {
  PrintReports reports;
  reports.takingsRegister = [](screen::Session&) { throw RuntimeError(53, "L_40"); };
  testing::ScriptedConsole scripted("\"c\" <SNAP> <ENTER>");
  std::vector<std::string> args = {"/M", "7"};
  EXPECT_EQ(runPrintProgram(scripted.console(), args, reports), 0);
  ASSERT_EQ(scripted.backend().dumps().size(), 1u);
  EXPECT_NE(scripted.backend().dumps()[0].find("Errore: 53"), std::string::npos);
  EXPECT_NE(scripted.backend().dumps()[0].find("Linea : L_40"), std::string::npos);
  EXPECT_EQ(scripted.backend().pending(), 0u);
  EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{"VELLA10W.EXE /M 7"});
}

TEST_F(PrintProgramInProcess, RegisterRequestPrintsAndReturnsWithoutTheMenu) {
  struct Case {
    std::string request;
    std::string stateStem;
    std::string registrationStem;
  };
  for (const Case& c : {Case{"1A", "SDEFAC", "ACQUIS"}, Case{"1V", "SDEFVE", "VENDIT"}}) {
    writeFile("QMENU.DAT", handOverWith(c.request));
    std::remove("commands.txt");
    std::string seen;
    PrintReports reports;
    reports.vatRegister = [&](screen::Session& s, std::string_view stem) {
      seen = std::string(stem) + " " + s.catalogue.stem(4) + (s.catalogue.channel(4).isOpen() ? " open" : "");
    };
    testing::ScriptedConsole scripted("");
    std::vector<std::string> args = {"/M", "7"};
    EXPECT_EQ(runPrintProgram(scripted.console(), args, reports), 0);
    EXPECT_EQ(seen, c.stateStem + " " + c.registrationStem + " open");
    EXPECT_TRUE(scripted.backend().dumps().empty()) << "no key was read, no menu shown";
    EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{"VELLA10W.EXE /M 7"});
  }
}

TEST_F(PrintProgramInProcess, CounterpartyRequestsCarryBalanceFileAndKind) {
  struct Case {
    std::string request;
    std::string expected;
  };
  for (const Case& c : {Case{"41", "41 PSALCL C"}, Case{"43", "43 PSALCL C"}, Case{"42", "42 PSALFO F"},
                        Case{"44", "44 PSALFO F"}}) {
    writeFile("QMENU.DAT", handOverWith(c.request));
    std::string seen;
    PrintReports reports;
    reports.counterpartyPrint = [&](screen::Session&, std::string_view request, std::string_view stem, char kind) {
      seen = std::string(request) + " " + std::string(stem) + " " + kind;
    };
    testing::ScriptedConsole scripted("");
    std::vector<std::string> args = {"/M", "7"};
    EXPECT_EQ(runPrintProgram(scripted.console(), args, reports), 0);
    EXPECT_EQ(seen, c.expected);
  }
}

}  // namespace
}  // namespace vellano::programs
