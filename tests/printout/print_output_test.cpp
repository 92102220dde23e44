// Start and end of print through the real dialog program (orbw, headless on the shared key
// script) and the console prompt: the exact bytes of the print file and the exact commands.
#include "printout/print_output.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "screen/error_box.h"
#include "platform/env_guard.h"
#include "platform/headless.h"
#include "support/report_session.h"
#include "support/work_folder.h"

namespace vellano::printout {
namespace {

constexpr std::string_view kComspec = "C:\\WINDOWS\\SYSTEM32\\CMD.EXE";

const std::string kEsc = "\x1B";

// The two set-up lines for an orientation, vertical motion and pitch.
std::string setUp(const std::string& orientation, const std::string& motion, const std::string& pitch) {
  return kEsc + "E" + kEsc + "&l" + orientation + "O" + kEsc + "&l26A" + kEsc + "&a0P" + kEsc + "&l0E" +
         kEsc + "&a0L" + kEsc + "&k12H" + kEsc + "&" + motion + "C" + kEsc + "*t300R" + kEsc + "&l0L" +
         "\r\n" + kEsc + "(s3T" + kEsc + "(s0S" + kEsc + "(s0P" + kEsc + "(s" + pitch + "H\r\n";
}

const std::string kClosingReset = kEsc + "E" + kEsc + "&l0O" + kEsc + "&l26A" + kEsc + "&a0P" + kEsc +
                                  "&l0E" + kEsc + "&a0L" + kEsc + "&k12H" + kEsc + "&l8C" + kEsc +
                                  "*t300R" + kEsc + "&l0L" + kEsc + "(s3T" + kEsc + "(s0S" + kEsc +
                                  "(s0P" + kEsc + "(s10H";

// What every report of the test prints between start and end of print.
const std::string kBody = "PAGINA 1\r\n\x0C";

class PrintOutputTest : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    vellano::testing::useRunFiles(env_);
    env_.set("COMSPEC", std::string(kComspec));
  }

  // A session whose console reads `script`, the queue the dialog program shares.
  std::unique_ptr<vellano::testing::ReportSession> start(const std::string& script,
                                                         std::unique_ptr<platform::Backend> backend = nullptr) {
    writeFile("keys.script", script);
    return vellano::testing::startReportSession({}, std::move(backend));
  }

  platform::testing::EnvGuard env_;
};

std::string comspecLine(std::string_view rest) { return std::string(kComspec) + " /C " + std::string(rest); }

struct DialogCase {
  std::string name;
  std::string options;
  std::string pitch;
  std::string keys;        // answers in the dialog
  std::string destination;
  std::string secondAction;
  std::string printFile;   // file that receives the report
  std::string bytes;       // its exact content
  std::vector<std::string> commands;
  std::string orbwRecord;  // ORBW.DAT as the dialog left it
  bool converted = false;  // LASER.PDF made by the converter
};

TEST_F(PrintOutputTest, DialogChoicesGiveTheirBytesAndCommands) {
  const std::vector<DialogCase> cases = {
      {"report defaults confirmed", "1..1.1", "15", "<ENTER*6>", "L", "W", "LASER",
       setUp("0", "l4", "15") + kBody + kClosingReset,
       {"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER"}, "100101S"},
      {"laser and pdf: the Windows flag is ignored", "11.1.1", "12", "<ENTER*6>", "L", "F", "LASER",
       setUp("0", "l8", "12") + kBody + kClosingReset,
       {"ORBW.EXE", "CMD /C DEL LASER", comspecLine("STAP.BAT"), comspecLine("START LASER.PDF")},
       "110101S", true},
      {"pdf alone: no set-up and no condensed print", "01...1", "15", "<ENTER*6>", "F", "", "LASER",
       kBody, {"ORBW.EXE", "CMD /C DEL LASER", comspecLine("STAP.BAT"), comspecLine("START LASER.PDF")},
       "010101S", true},
      {"view wins over laser, set-up still sent", "1.10.1", "10", "<ENTER*6>", "V", "", "LASER",
       setUp("0", "l8", "10") + kBody + kClosingReset, {"ORBW.EXE", "CMD /C DEL LASER", "CMD /C LIST LASER"},
       "101001S"},
      {"view and Windows: printed, then viewed", "1.11.1", "10", "<ENTER*6>", "V", "W", "LASER",
       setUp("0", "l8", "10") + kBody + kClosingReset,
       {"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER", "CMD /C LIST LASER"}, "101101S"},
      {"printer port at pitch 15: condensed print, no PCL", "0..0.1", "15", "<ENTER*6>", "S", "", "LPT1.PRN",
       std::string("\x0F") + kBody + "\x12", {"ORBW.EXE"}, "000001S"},
      {"laser switched off in the dialog", "1..1.1", "17", "\"n\" <ENTER*3> \"n\" <ENTER*3>", "S", "",
       "LPT1.PRN", std::string("\x0F") + kBody + "\x12", {"ORBW.EXE"}, "000001S"},
      {"landscape chosen in the dialog", "1..0.1", "15", "<ENTER*4> \"o\" <ENTER*2>", "L", "", "LASER",
       setUp("1", "l4", "15") + kBody + kClosingReset, {"ORBW.EXE", "CMD /C DEL LASER", "CMD /C LIST LASER"},
       "100010S"},
      {"pitch 0 is sent as 10", "1..0.1", "0", "<ENTER*6>", "L", "", "LASER",
       setUp("0", "l8", "10") + kBody + kClosingReset, {"ORBW.EXE", "CMD /C DEL LASER", "CMD /C LIST LASER"},
       "100001S"},
  };
  for (const DialogCase& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* file : {"LASER", "LPT1.PRN", "LASER.PDF", "STAP.BAT", "commands.txt"}) {
      std::filesystem::remove(file);
    }
    auto run = start(c.keys);
    PrintOutput output;
    output.ORBWW(*run->session, PrintRequest{c.options, c.pitch, ""});
    ASSERT_TRUE(output.confirmed());
    EXPECT_EQ(output.destination(), c.destination);
    EXPECT_EQ(output.secondAction(), c.secondAction);
    output.channel().print("PAGINA 1");
    output.channel().printLine();
    output.channel().formFeed();
    output.ORBWWS(*run->session);

    EXPECT_EQ(readFile(c.printFile), c.bytes);
    EXPECT_EQ(vellano::testing::commandLog(), c.commands);
    EXPECT_EQ(readFile("ORBW.DAT"), c.orbwRecord);
    EXPECT_EQ(std::filesystem::exists("LASER.PDF"), c.converted);
    if (c.converted) {
      EXPECT_EQ(readFile("STAP.BAT"), "@ECHO OFF\r\nPCL2PDF32.EXE LASER LASER.PDF -S\r\n");
      EXPECT_EQ(readFile("LASER.PDF").substr(0, 5), "%PDF-");
    }
  }
}

// Keys from the shared script, but a terminal to the command runner: the viewers are looked
// for and run instead of only logged. Row 25 of the screen each key is read on is kept.
class TerminalLikeBackend : public platform::Backend {
 public:
  TerminalLikeBackend(std::unique_ptr<platform::HeadlessBackend> keys, std::vector<std::string>& keyRows)
      : keys_(std::move(keys)), keyRows_(keyRows) {}
  void present(const platform::ScreenBuffer& screen, const platform::CursorState& cursor,
               const std::string& title) override {
    keys_->present(screen, cursor, title);
  }
  platform::KeyEvent readKey() override {
    std::array<char, platform::kCols> scratch;
    keyRows_.emplace_back(keys_->lastScreen().rowBytes(25, scratch));
    return keys_->readKey();
  }
  void beep() override {}
  bool headless() const override { return false; }
  void releaseForChild(bool systemProgram) override { keys_->releaseForChild(systemProgram); }
  void reclaimAfterChild(bool systemProgram) override { keys_->reclaimAfterChild(systemProgram); }
  void finish(const platform::ScreenBuffer&, const std::string&) override {}

 private:
  std::unique_ptr<platform::HeadlessBackend> keys_;
  std::vector<std::string>& keyRows_;
};

// "Visualizza il file" with the PDF: converted, then the desktop's opener; when xdg-open is
// not installed, one line names it and its package and a key is waited for.
TEST_F(PrintOutputTest, ViewingWithoutTheOpenerNamesItsPackage) {
  const auto empty = std::filesystem::current_path() / "empty-path";
  std::filesystem::create_directory(empty);
  env_.set("PATH", empty.string());
  // Laser as offered, PDF "S", view "S", the rest as offered, then the key for the message.
  const std::string keys = "<ENTER> \"s\" <ENTER> \"s\" <ENTER> <ENTER*3> <ENTER>";
  writeFile("keys.script", keys);  // read by the backend before start() writes it again
  std::vector<std::string> keyRows;
  auto run = start(keys, std::make_unique<TerminalLikeBackend>(platform::HeadlessBackend::fromEnvironment(), keyRows));
  PrintOutput output;
  output.ORBWW(*run->session, PrintRequest{"1..1.1", "10", ""});
  ASSERT_TRUE(output.confirmed());
  EXPECT_EQ(readFile("ORBW.DAT"), "111101S");
  output.channel().print("PAGINA 1");
  output.channel().printLine();
  output.channel().formFeed();
  output.ORBWWS(*run->session);

  EXPECT_EQ(vellano::testing::commandLog(),
            (std::vector<std::string>{"ORBW.EXE", "CMD /C DEL LASER", comspecLine("STAP.BAT"),
                                      comspecLine("START LASER.PDF")}));
  EXPECT_EQ(readFile("LASER.PDF").substr(0, 5), "%PDF-");
  // The dialog's keys went to the dialog program; the one key read here is the message's.
  ASSERT_EQ(keyRows.size(), 1u);
  const std::string message =
      "Manca il programma xdg-open: installare il pacchetto xdg-utils (apt-get install xdg-utils). Premere un tasto.";
  EXPECT_EQ(keyRows[0], " " + message + std::string(119 - message.size(), ' '));
}

// Cancelled in the dialog, or left without an answer: the report prints nothing. ORBW.DAT
// then shows the flags the dialog was started with.
TEST_F(PrintOutputTest, UnconfirmedDialogPrintsNothing) {
  struct Case {
    std::string options;
    std::string keys;
    std::string orbwRecord;
  };
  const std::vector<Case> cases = {
      {"1..1.1", "<ESC>", "1..1.1N"},
      {"1..1.1", "<ENTER*5> \"n\" <ENTER>", "100101N"},
      {"0..0..", "<ESC>", "0..0.1N"},   // no orientation: portrait
      {"", "<ESC>", "1  1 1N"},         // missing options: laser and Windows on
      {"1..111", "<ESC>", "1..111N"},
      {"1..1.1", "", "1..1.1N"},        // the dialog found no key at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options + " / " + c.keys);
    std::filesystem::remove("commands.txt");
    writeFile("LASER", "old report");
    auto run = start(c.keys);
    PrintOutput output;
    output.ORBWW(*run->session, PrintRequest{c.options, "15", ""});
    EXPECT_FALSE(output.confirmed());
    EXPECT_EQ(output.destination(), "");
    EXPECT_EQ(output.secondAction(), "");
    EXPECT_FALSE(output.channel().isOpen());
    output.ORBWWS(*run->session);
    EXPECT_EQ(readFile("ORBW.DAT"), c.orbwRecord);
    EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{"ORBW.EXE"});
    EXPECT_EQ(readFile("LASER"), "old report");
    EXPECT_FALSE(std::filesystem::exists("LPT1.PRN"));
  }
}

TEST_F(PrintOutputTest, OldPrintFileIsReplacedAndPrinterPortFollowsTheSetting) {
  writeFile("LASER", std::string(5000, 'x'));
  auto run = start("<ENTER*6> <ENTER*6>");
  PrintOutput output;
  output.ORBWW(*run->session, PrintRequest{"1..0.1", "10", ""});
  output.ORBWWS(*run->session);
  EXPECT_EQ(readFile("LASER"), setUp("0", "l8", "10") + kClosingReset);

  env_.set("VELLANO_LPT1", (std::filesystem::current_path() / "printer.out").string());
  output.ORBWW(*run->session, PrintRequest{"0..0.1", "10", ""});
  EXPECT_EQ(output.fileName(), "LPT1:");
  output.channel().printLine("X");
  output.ORBWWS(*run->session);
  EXPECT_EQ(readFile("printer.out"), "X\r\n");
}

TEST_F(PrintOutputTest, PitchSwitchInTheMiddleOfAReport) {
  struct Case {
    std::string name;
    bool on;
    std::string flag;
    std::string expected;
  };
  const std::string page17 = kEsc + "E" + kEsc + "&l26A" + kEsc + "&a0P" + kEsc + "&l0E" + kEsc + "&a0L" +
                             kEsc + "&k12H" + kEsc + "&l4C" + kEsc + "*t300R" + kEsc + "&l0L\r\n";
  const std::string page10 = kEsc + "E" + kEsc + "&l26A" + kEsc + "&a0P" + kEsc + "&l0E" + kEsc + "&a0L" +
                             kEsc + "&k12H" + kEsc + "&l8C" + kEsc + "*t300R" + kEsc + "&l0L\r\n";
  const std::string font = kEsc + "(s3T" + kEsc + "(s0S" + kEsc + "(s0P" + kEsc + "(s";
  const std::vector<Case> cases = {
      {"LASON with page set-up", true, "X", page17 + font + "17H\r\n"},
      {"LASON font only", true, " ", font + "17H\r\n"},
      {"LASOFF with page set-up", false, "X", page10 + font + "10H\r\n"},
      {"LASOFF font only", false, "", font + "10H\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PrintOutput output;
    output.channel().open("LASER");
    if (c.on) {
      output.LASON(c.flag, "17");
    } else {
      output.LASOFF(c.flag);
    }
    output.closeChannel();
    EXPECT_EQ(readFile("LASER"), c.expected);
  }
}

TEST_F(PrintOutputTest, PrintChannelLineWidthAndTab) {
  PrintChannel channel;
  channel.open("LASER");
  channel.printLine(std::string(200, 'a'));   // exactly the width: one line
  channel.print(std::string(201, 'b'));       // one more: broken before the 201st
  channel.printLine();
  channel.print("AB");
  channel.tab(6);
  channel.print("C");
  channel.tab(3);                             // already past: on the next line
  channel.printLine("D");
  channel.print(std::string(199, 'c') + "\r\nxy");  // a line end inside the text restarts the count
  channel.tab(4);
  channel.printLine("E");
  channel.close();
  EXPECT_EQ(readFile("LASER"), std::string(200, 'a') + "\r\n" + std::string(200, 'b') + "\r\nb\r\n" +
                                   "AB   C\r\n  D\r\n" + std::string(199, 'c') + "\r\nxy E\r\n");
  EXPECT_THROW(channel.print("x"), RuntimeError);
}

// The console prompt: first letter destination, last letter second action.
TEST_F(PrintOutputTest, ConsolePromptAnswers) {
  struct Case {
    std::string keys;
    int exitCode;
    std::string printFile;  // "" when nothing is opened
    std::vector<std::string> commands;
    int beeps;
  };
  const std::vector<Case> cases = {
      {"<ENTER>", screen::kExitEnter, "LASER",
       {"CMD /C DEL LASER", "CMD /C PCL2PD~1.EXE LASER LASER.PDF -S", "CMD /C START LASER.PDF"}, 0},
      {"<CTRL-DEL> \"s\" <ENTER>", screen::kExitEnter, "LPT1.PRN", {}, 0},
      {"<CTRL-DEL> \"vw\" <ENTER>", screen::kExitEnter, "LASER",
       {"CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER", "CMD /C LIST LASER"}, 0},
      {"<CTRL-DEL> \"l\" <UP>", screen::kExitEnter, "LASER", {"CMD /C DEL LASER", "CMD /C LIST LASER"}, 0},
      {"<CTRL-DEL> \"n\" <ENTER>", screen::kExitEsc, "", {}, 0},
      {"<ESC>", screen::kExitEsc, "", {}, 0},
      {"<CTRL-DEL> \"x\" <ENTER> <CTRL-DEL> \"lx\" <ENTER> <CTRL-DEL> <ENTER> <CTRL-DEL> \"l\" <ENTER>",
       screen::kExitEnter, "LASER", {"CMD /C DEL LASER", "CMD /C LIST LASER"}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    for (const char* file : {"LASER", "LPT1.PRN", "commands.txt"}) std::filesystem::remove(file);
    auto run = start(c.keys);
    PrintOutput output;
    EXPECT_EQ(output.ORBW(*run->session, PrintRequest{"1..1.1", "15", ""}, 20, 10, 0x1E), c.exitCode);
    const std::string prompt(kPrintPrompt);
    for (std::size_t i = 0; i < prompt.size(); ++i) {
      ASSERT_EQ(run->console->screen().at(20, 10 + static_cast<int>(i)).ch, static_cast<std::uint8_t>(prompt[i]));
    }
    EXPECT_EQ(output.channel().isOpen(), !c.printFile.empty());
    if (output.channel().isOpen()) output.channel().printLine("RIGA");
    output.ORBWS(*run->session);
    // No PCL set-up, no condensed print: only what the report wrote.
    if (!c.printFile.empty()) {
      EXPECT_EQ(readFile(c.printFile), "RIGA\r\n");
    }
    EXPECT_EQ(vellano::testing::commandLog(), c.commands);
    EXPECT_EQ(run->console->beepCount(), c.beeps);
  }
}

}  // namespace
}  // namespace vellano::printout
