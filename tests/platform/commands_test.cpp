#include "platform/commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/builtin_commands.h"
#include "platform/console.h"
#include "platform/process.h"
#include "platform/programs.h"
#include "tests/platform/env_guard.h"

namespace vellano::platform {
namespace {

namespace fs = std::filesystem;
using testing::EnvGuard;

const std::string kProbe = std::string(VELLANO_BIN_DIR) + "/cmdprobe";

// Records how the runner hands the console over; nothing is shown and no key is read.
class RecordingBackend : public Backend {
 public:
  RecordingBackend(bool headless, std::vector<std::string>& calls, std::vector<std::string>* keyRows = nullptr)
      : headless_(headless), calls_(calls), keyRows_(keyRows) {}
  void present(const ScreenBuffer& screen, const CursorState&, const std::string&) override {
    std::array<char, kCols> scratch;
    middleRow_ = std::string(screen.rowBytes(25, scratch));
  }
  // Row 25 of the screen each key was waited for on.
  KeyEvent readKey() override {
    if (keyRows_ != nullptr) keyRows_->push_back(middleRow_);
    return KeyEvent::extended(Key::Esc);
  }
  void beep() override {}
  bool headless() const override { return headless_; }
  void releaseForChild(bool systemProgram) override {
    calls_.push_back(systemProgram ? "release system" : "release");
  }
  void reclaimAfterChild(bool systemProgram) override {
    calls_.push_back(systemProgram ? "reclaim system" : "reclaim");
  }
  void finish(const ScreenBuffer&, const std::string&) override {}

 private:
  bool headless_;
  std::vector<std::string>& calls_;
  std::vector<std::string>* keyRows_;
  std::string middleRow_;
};

// Every test works in a fresh folder of its own, which is the working folder (drive C:).
class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "vellano-cmd-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    fs::current_path(folder_);
    for (const char* name : {"VELLANO_COMMANDS", "VELLANO_KEYS", "VELLANO_DRIVE_A", "VELLANO_DRIVE_C",
                             "VELLANO_LPT1", "COMSPEC", "VISUAL", "EDITOR"}) {
      env_.set(name, nullptr);
    }
  }
  void TearDown() override {
    fs::current_path(previous_);
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  static void write(const fs::path& name, const std::string& content) {
    if (name.has_parent_path()) fs::create_directories(name.parent_path());
    std::ofstream(name, std::ios::binary) << content;
  }
  static std::string read(const fs::path& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static bool exists(const fs::path& name) { return fs::exists(fs::symlink_status(name)); }

  Console console(bool headless) { return Console(std::make_unique<RecordingBackend>(headless, calls_, &keyRows_)); }

  EnvGuard env_;
  fs::path previous_;
  fs::path folder_;
  std::vector<std::string> calls_;
  std::vector<std::string> keyRows_;
};

TEST(SplitCommandLine, BlanksSeparateQuotesGroup) {
  struct Case {
    const char* line;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"CMD /C DEL LASER", {"CMD", "/C", "DEL", "LASER"}},
      {"  A \t  B  ", {"A", "B"}},
      {"COPY \"a;touch pwned\" b", {"COPY", "a;touch pwned", "b"}},
      {"START \"\" X.PDF", {"START", "", "X.PDF"}},
      {"A\"B C\"D", {"AB CD"}},
      {"\"open quote x", {"open quote x"}},
      {"CMD /C 7Z a PCOP.ZIP TABIVA.DAT ", {"CMD", "/C", "7Z", "a", "PCOP.ZIP", "TABIVA.DAT"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.words) << c.line;
}

TEST(DosWildcard, MatchesLikeDos) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"LAS*.PDF", "LASER.PDF", true},   {"LAS*.PDF", "las1.pdf", true},
      {"LAS*.PDF", "LASER", false},      {"LAS*.PDF", "LASER.PDF.BAK", false},
      {"LAS*.PDF", "XLAS.PDF", false},   {"LAS?.PDF", "LAS1.PDF", true},
      {"LAS?.PDF", "LAS12.PDF", false},  {"*.*", "LASER", true},
      {"*.*", "A.B", true},              {"LASER.*", "LASER", true},
      {"LASER.*", "laser.pdf", true},    {"LASER.*", "LASERX", false},
      {"INDVEN11.*", "INDVEN11.ABC", true}, {"INDVEN11.*", "INDVEN12.ABC", false},
      {"A*B*C", "AXXBYYC", true},        {"A*B*C", "AXXBYY", false},
      {"*", "anything.at.all", true},    {"LASER", "laser", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dosWildcardMatch(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
  }
}

TEST_F(CommandsTest, DeleteWithWildcardsTakesOnlyMatchingFiles) {
  for (const char* name : {"LASER.PDF", "las1.pdf", "LASER", "LASER.PDF.BAK", "XLAS.PDF"}) write(name, "x");
  fs::create_directory("LAS9.PDF");  // a folder is never deleted
  const CommandResult result = runCommand("CMD /C DEL LAS*.PDF");
  EXPECT_TRUE(result.started);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_FALSE(exists("LASER.PDF"));
  EXPECT_FALSE(exists("las1.pdf"));
  EXPECT_TRUE(exists("LASER"));
  EXPECT_TRUE(exists("LASER.PDF.BAK"));
  EXPECT_TRUE(exists("XLAS.PDF"));
  EXPECT_TRUE(fs::is_directory("LAS9.PDF"));
}

TEST_F(CommandsTest, DeleteNamesFoldersCaseAndRefusals) {
  write("ALB/X.DAT", "x");
  write("ALB/Y.DAT", "y");
  write("LASER", "upper");
  write("laser", "lower");
  write("KEEP.TXT", "k");

  EXPECT_EQ(runCommand("CMD /C DEL C:\\ALB\\X.DAT").exitCode, 0);
  EXPECT_FALSE(exists("ALB/X.DAT"));
  EXPECT_TRUE(exists("ALB/Y.DAT"));

  // The exact spelling wins; only without it is the name looked up without case.
  runCommand("CMD /C DEL LASER");
  EXPECT_FALSE(exists("LASER"));
  EXPECT_TRUE(exists("laser"));
  runCommand("CMD /C ERASE Laser");
  EXPECT_FALSE(exists("laser"));

  const CommandResult nothing = runCommand("CMD /C DEL NOTHING*.X");
  EXPECT_TRUE(nothing.started);
  EXPECT_EQ(nothing.exitCode, 0);

  // DOS would stop and ask before emptying a folder; unattended we do not.
  EXPECT_NE(runCommand("CMD /C DEL *.*").exitCode, 0);
  EXPECT_NE(runCommand("CMD /C DEL C:\\ALB\\*").exitCode, 0);
  EXPECT_TRUE(exists("KEEP.TXT"));
  EXPECT_TRUE(exists("ALB/Y.DAT"));
}

TEST_F(CommandsTest, CopyToDriveLandsInDriveFolder) {
  write("PCOP.ZIP", "archive");
  write("IVA2011", "comm");
  EXPECT_EQ(runCommand("CMD /C COPY PCOP.ZIP A:").exitCode, 0);
  EXPECT_EQ(read("DRIVE-A/PCOP.ZIP"), "archive");
  ASSERT_TRUE(fs::remove_all("DRIVE-A"));
  EXPECT_EQ(runCommand("CMD /C COPY IVA2011 A:I2011").exitCode, 0);
  EXPECT_EQ(read("DRIVE-A/I2011"), "comm");
}

TEST_F(CommandsTest, CopyToFoldersAndFiles) {
  write("SRC.TXT", "new");
  write("LPLUS1.PDF", "old");
  fs::create_directories("ALBTEL");
  fs::create_directories("TRIBUTEK/FISCALI");

  struct Case {
    const char* line;
    const char* target;
  };
  const Case copies[] = {
      {"CMD /C COPY SRC.TXT ALBTEL", "ALBTEL/SRC.TXT"},
      {"CMD /C COPY SRC.TXT C:\\TRIBUTEK\\FISCALI\\", "TRIBUTEK/FISCALI/SRC.TXT"},
      {"CMD /C COPY SRC.TXT C:\\ALBTEL\\IVA2011", "ALBTEL/IVA2011"},
      {"CMD /C COPY SRC.TXT LPLUS1.PDF", "LPLUS1.PDF"},  // overwritten without asking
      {"CMD /C COPY /Y SRC.TXT COPY2.TXT", "COPY2.TXT"},
  };
  for (const auto& c : copies) {
    const CommandResult result = runCommand(c.line);
    EXPECT_TRUE(result.started) << c.line;
    EXPECT_EQ(result.exitCode, 0) << c.line;
    EXPECT_EQ(read(c.target), "new") << c.line;
  }

  // Failures leave everything as it was.
  EXPECT_NE(runCommand("CMD /C COPY SRC.TXT C:\\NOFOLDER\\").exitCode, 0);
  EXPECT_NE(runCommand("CMD /C COPY SRC.TXT C:\\NOFOLDER\\X").exitCode, 0);
  EXPECT_FALSE(exists("NOFOLDER"));
  EXPECT_NE(runCommand("CMD /C COPY MISSING.TXT OUT.TXT").exitCode, 0);
  EXPECT_FALSE(exists("OUT.TXT"));
  EXPECT_NE(runCommand("CMD /C COPY SRC.TXT SRC.TXT").exitCode, 0);
  EXPECT_NE(runCommand("CMD /C COPY SRC.TXT C:").exitCode, 0);
  EXPECT_EQ(read("SRC.TXT"), "new");  // never emptied by copying onto itself
}

TEST_F(CommandsTest, CopyWithWildcardSource) {
  write("LAS1.PDF", "one");
  write("LAS2.PDF", "two");
  write("OTHER.PDF", "other");
  fs::create_directories("OUT");
  EXPECT_EQ(runCommand("CMD /C COPY LAS*.PDF OUT").exitCode, 0);
  EXPECT_EQ(read("OUT/LAS1.PDF"), "one");
  EXPECT_EQ(read("OUT/LAS2.PDF"), "two");
  EXPECT_FALSE(exists("OUT/OTHER.PDF"));
  // Several files into one file are joined, as DOS does.
  EXPECT_EQ(runCommand("CMD /C COPY LAS?.PDF ALL.PDF").exitCode, 0);
  EXPECT_EQ(read("ALL.PDF"), "onetwo");
}

TEST_F(CommandsTest, DriveOverrideIsUsedAndNotCreated) {
  write("PCOP.ZIP", "archive");
  fs::create_directories("floppy");
  env_.set("VELLANO_DRIVE_A", (folder_ / "floppy").string());
  EXPECT_EQ(runCommand("CMD /C COPY PCOP.ZIP A:").exitCode, 0);
  EXPECT_EQ(read("floppy/PCOP.ZIP"), "archive");
  EXPECT_FALSE(exists("DRIVE-A"));

  // A mapped drive that is not there is like a drive without a disk.
  env_.set("VELLANO_DRIVE_A", (folder_ / "unmounted").string());
  EXPECT_NE(runCommand("CMD /C COPY PCOP.ZIP A:").exitCode, 0);
  EXPECT_FALSE(exists("unmounted"));
}

TEST_F(CommandsTest, InterpreterPrefixes) {
  env_.set("COMSPEC", "C:\\Program Files\\cmd.exe");
  const char* lines[] = {
      "CMD /C DEL F.TXT",
      "cmd /c del F.TXT",
      "%COMSPEC% /C DEL F.TXT",
      "COMSPEC /C DEL F.TXT",
      " /C DEL F.TXT",  // COMSPEC empty on this host
      "C:\\WINDOWS\\SYSTEM32\\CMD.EXE /C DEL F.TXT",
      "C:\\Program Files\\cmd.exe /C DEL F.TXT",
      "CMD /C CMD /C DEL F.TXT",
      "DEL F.TXT",
  };
  for (const char* line : lines) {
    write("F.TXT", "x");
    const CommandResult result = runCommand(line);
    EXPECT_TRUE(result.started) << line;
    EXPECT_FALSE(exists("F.TXT")) << line;
  }
}

TEST_F(CommandsTest, BatchFileRunsLineByLine) {
  write("OLD.TXT", "old");
  write("NEW.TXT", "new");
  fs::create_directories("OUT");
  write("STAP.BAT", "@ECHO OFF\r\nREM tidy up\r\nDEL OLD.TXT\r\n\r\nCOPY NEW.TXT C:\\OUT\\\r\nECHO done\r\n");
  const fs::path log = folder_ / "commands.log";
  env_.set("VELLANO_COMMANDS", log.string());

  const CommandResult result = runCommand(" /C STAP.BAT");
  EXPECT_TRUE(result.started);
  EXPECT_FALSE(exists("OLD.TXT"));
  EXPECT_EQ(read("OUT/NEW.TXT"), "new");
  EXPECT_EQ(read(log), " /C STAP.BAT\n");  // the lines of the batch are not logged

  EXPECT_FALSE(runCommand("CMD /C MISSING.BAT").started);
}

TEST_F(CommandsTest, BatchCallingItselfEnds) {
  write("LOOP.BAT", "CALL LOOP.BAT\r\nDEL X.TXT\r\n");
  write("X.TXT", "x");
  EXPECT_TRUE(runCommand("CMD /C LOOP.BAT").started);
  EXPECT_FALSE(exists("X.TXT"));
}

TEST_F(CommandsTest, LogHoldsEveryLineExactlyBeforeItRuns) {
  const fs::path log = folder_ / "commands.log";
  env_.set("VELLANO_COMMANDS", log.string());
  write("PCOP.ZIP", "z");
  auto headless = console(true);
  const std::vector<std::string> lines = {
      "CMD /C DEL LASER",
      "CMD /C COPY PCOP.ZIP A:",
      " /C START LASER.PDF",
      "CMD /C NOSUCHPROGRAM.EXE  two  blanks ",
      "CMD /C COPY \"a;b\" c",
  };
  for (const auto& line : lines) runCommand(line, headless);
  std::string expected;
  for (const auto& line : lines) expected += line + "\n";
  EXPECT_EQ(read(log), expected);

  // Logged before it runs: a batch that deletes the log still finds its line in it first.
  write("GONE.BAT", "DEL commands.log\r\n");
  runCommand("CMD /C GONE.BAT", headless);
  EXPECT_FALSE(exists(log));
}

TEST_F(CommandsTest, ExternalProgramRunsWithMappedArgumentsAndIsWaitedFor) {
  auto terminal = console(false);
  const CommandResult result =
      runCommand("CMD /C CMDPROBE.EXE OUT.TXT a;b \"x y\" C:\\SUB\\F.DAT A:G LPT1: /q", terminal);
  EXPECT_TRUE(result.started);
  EXPECT_EQ(result.exitCode, 7);
  EXPECT_EQ(read("OUT.TXT"), "a;b\nx y\nSUB/F.DAT\nDRIVE-A/G\nLPT1.PRN\n/q\n");
  EXPECT_TRUE(calls_.empty());  // not interactive: the terminal stays ours

  // DOS ends a program name at "/": "VELST10W.EXE/P 3" passes "/P" as an argument.
  EXPECT_EQ(runCommand("CMDPROBE.EXE/dev/null x", terminal).exitCode, 7);

  // Outside programs run in headless mode too, and without a console.
  auto headless = console(true);
  EXPECT_EQ(runCommand("cmdprobe OUT2.TXT 1", headless).exitCode, 7);
  EXPECT_EQ(read("OUT2.TXT"), "1\n");
  env_.set("VELLANO_KEYS", "keys.txt");
  EXPECT_EQ(runCommand("CMD /C CMDPROBE.EXE OUT3.TXT 2").exitCode, 7);
  EXPECT_EQ(read("OUT3.TXT"), "2\n");
}

TEST_F(CommandsTest, MissingProgramsStartNothing) {
  auto terminal = console(false);
  const char* lines[] = {
      "CMD /C NOSUCHPROGRAM.EXE X",
      "nosuchprogram",
      "C:\\NOWHERE\\PROG.EXE /p /h LASER.FDF",
      "CMD /C START NOSUCHPROGRAM.EXE",
      "CMD /C START",
      "CMD /C",
      "",
      "   ",
  };
  for (const char* line : lines) {
    const CommandResult result = runCommand(line, terminal);
    EXPECT_FALSE(result.started) << line;
  }
  EXPECT_TRUE(calls_.empty());
}

// A host program that is not installed is named with its package on one line, and a key is
// waited for; then the screen is as before and nothing ran.
TEST_F(CommandsTest, MissingHostProgramsAreNamedWithTheirPackage) {
  const fs::path empty = folder_ / "empty-path";
  fs::create_directory(empty);
  env_.set("PATH", empty.string());
  struct Case {
    const char* line;
    const char* program;
    const char* package;
  };
  const Case cases[] = {
      {"CMD /C START LASER.PDF", "xdg-open", "xdg-utils"},
      {"C:\\WINDOWS\\CMD.EXE /C START \"\" LASER.FDF", "xdg-open", "xdg-utils"},
      {"CMD /C READ LASER.PDF", "xdg-open", "xdg-utils"},
      {"CMD /C LIST LASER", "less", "less"},
      {"CMD /C PRFILE32.EXE /q LASER", "lp", "cups-client"},
      {"CMD /C NOTEPAD2.EXE IVAT.TXT", "editor", "nano"},
  };
  auto terminal = console(false);
  terminal.screen().putText(25, 1, "RIGA DI PRIMA", 0x17);
  const ScreenBuffer before = terminal.screen();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    keyRows_.clear();
    EXPECT_FALSE(runCommand(c.line, terminal).started);
    ASSERT_EQ(keyRows_.size(), 1u);
    const std::string message = missingProgramMessage(c.program, c.package);
    EXPECT_EQ(message, std::string("Manca il programma ") + c.program + ": installare il pacchetto " + c.package +
                           " (apt-get install " + c.package + "). Premere un tasto.");
    EXPECT_EQ(keyRows_[0], " " + message + std::string(119 - message.size(), ' '));
    EXPECT_TRUE(terminal.screen() == before);
  }
  EXPECT_TRUE(calls_.empty());  // the terminal was never handed over

  // Host launchers and names the mapping does not know stay silent; the archiver's caller
  // sees it did not start and says so itself.
  keyRows_.clear();
  for (const char* line : {"CMD /C START AVVIOW.EXE", "AVVIOP.EXE 5", "CMD /C NOSUCHPROGRAM.EXE",
                           "CMD /C 7Z a PCOP.ZIP TABIVA.DAT"}) {
    EXPECT_FALSE(runCommand(line, terminal).started) << line;
  }
  EXPECT_TRUE(keyRows_.empty());

  // Headless, an interactive program is only logged, never looked for: no message, and a
  // script never depends on what the machine has installed.
  auto headless = console(true);
  for (const auto& c : cases) EXPECT_FALSE(runCommand(c.line, headless).started) << c.line;
  EXPECT_TRUE(keyRows_.empty());
}

TEST_F(CommandsTest, HeadlessInteractiveCommandsAreOnlyLogged) {
  const fs::path log = folder_ / "commands.log";
  env_.set("VELLANO_COMMANDS", log.string());
  env_.set("VISUAL", kProbe + " EDITED.TXT");
  auto headless = console(true);
  const std::vector<std::string> lines = {
      "CMD /C NOTEPAD2.EXE IVAT.TXT",
      "CMD /C START CMDPROBE.EXE STARTED.TXT",
      "CMD /C START /WAIT CMDPROBE.EXE STARTED.TXT",
      "CMD /C START \"title\" LASER.PDF",
      "CMD /C START LASER.FDF",
      "CMD /C READ LASER.PDF",
      "CMD /C LIST LASER",
      "CMD /C PRFILE32.EXE /q LASER",
      "CMD /C START AVVIOW.EXE",
      "AVVIOP.EXE 5",
  };
  std::string expected;
  for (const auto& line : lines) {
    EXPECT_FALSE(runCommand(line, headless).started) << line;
    expected += line + "\n";
  }
  EXPECT_FALSE(exists("EDITED.TXT"));
  EXPECT_FALSE(exists("STARTED.TXT"));
  EXPECT_TRUE(calls_.empty());
  EXPECT_EQ(read(log), expected);

  // Without a console the key script alone means headless.
  env_.set("VELLANO_KEYS", "keys.txt");
  EXPECT_FALSE(runCommand("CMD /C NOTEPAD2.EXE IVAT.TXT").started);
  EXPECT_FALSE(exists("EDITED.TXT"));
}

TEST_F(CommandsTest, InteractiveProgramsGetTheTerminal) {
  // The editor setting may carry options of its own.
  env_.set("VISUAL", kProbe + " EDITED.TXT");
  env_.set("EDITOR", "/nonexistent/editor");
  auto terminal = console(false);
  const CommandResult edited = runCommand("CMD /C NOTEPAD2.EXE IVAT.TXT", terminal);
  EXPECT_TRUE(edited.started);
  EXPECT_EQ(read("EDITED.TXT"), "IVAT.TXT\n");
  EXPECT_EQ(calls_, (std::vector<std::string>{"release", "reclaim"}));

  calls_.clear();
  EXPECT_TRUE(runCommand("CMD /C START /WAIT \"x\" CMDPROBE.EXE WAITED.TXT C:\\A", terminal).started);
  EXPECT_EQ(read("WAITED.TXT"), "A\n");
  EXPECT_EQ(calls_, (std::vector<std::string>{"release", "reclaim"}));

  // Without /WAIT the program is left running on its own: the console is not handed over.
  calls_.clear();
  EXPECT_TRUE(runCommand("CMD /C START CMDPROBE.EXE /dev/null", terminal).started);
  EXPECT_TRUE(calls_.empty());
}

TEST_F(CommandsTest, SystemProgramsShareTheKeyScript) {
  ProgramPlan plan;
  plan.executable = kProbe;
  plan.args = {"SYSTEM.TXT", "/P", "3"};
  plan.systemProgram = true;
  for (bool headless : {true, false}) {
    calls_.clear();
    fs::remove("SYSTEM.TXT");
    auto c = console(headless);
    const CommandResult result = runProgram(plan, &c, headless, true);
    EXPECT_TRUE(result.started);
    EXPECT_EQ(read("SYSTEM.TXT"), "/P\n3\n");
    EXPECT_EQ(calls_, (std::vector<std::string>{"release system", "reclaim system"}));
  }
}

TEST_F(CommandsTest, ProgramMapping) {
  struct Case {
    const char* program;
    std::vector<std::string> args;
    std::vector<std::string> mappedArgs;
    bool interactive;
    bool systemProgram;
  };
  const Case cases[] = {
      {"ORBW.EXE", {}, {}, false, true},
      {"VELST10W.EXE", {"/P", "3"}, {"/P", "3"}, false, true},
      {"vella10w.exe", {"3"}, {"3"}, false, true},
      {"MODUVX.EXE", {}, {}, false, true},
      {"PCL2PD~1.EXE", {"LASER", "LASER.PDF", "-S"}, {"LASER", "LASER.PDF", "-S"}, false, false},
      {"PDFTK.EXE", {"A:X.PDF", "CAT"}, {"DRIVE-A/X.PDF", "CAT"}, false, false},
      {"7Z", {"a", "PCOP.ZIP", "C:\\ALB\\DIKTA.*"}, {"a", "PCOP.ZIP", "ALB/DIKTA.*"}, false, false},
      {"PRFILE32.EXE", {"/q", "LASER"}, {"LASER"}, true, false},
      {"LIST", {"LASER"}, {"LASER"}, true, false},
      {"READ", {"LASER.PDF"}, {"LASER.PDF"}, true, false},
      {"NOTEPAD2.EXE", {"IVAT.TXT"}, {"IVAT.TXT"}, true, false},
      {"AVVIOW.EXE", {"3"}, {"3"}, true, false},
      {"MENU.EXE", {}, {}, true, false},
      {"FOO.EXE", {"C:X"}, {"X"}, false, false},
  };
  for (const auto& c : cases) {
    const ProgramPlan plan = planProgram(c.program, c.args);
    EXPECT_EQ(plan.args, c.mappedArgs) << c.program;
    EXPECT_EQ(plan.interactive, c.interactive) << c.program;
    EXPECT_EQ(plan.systemProgram, c.systemProgram) << c.program;
  }

  // Our own programs are looked for beside the running executable, nowhere else.
  for (const auto& [dos, host] : {std::pair{"ORBW.EXE", "orbw"}, {"VELST10W.EXE", "VELST10W"},
                                  {"PCL2PDF32.EXE", "pcl2pdf"}, {"PDFTK.EXE", "pdftk-qpdf"}}) {
    const fs::path found = planProgram(dos, {}).executable;
    if (!found.empty()) {
      EXPECT_EQ(found, ownFolder() / host) << dos;
    }
  }
  EXPECT_EQ(planProgram("CMDPROBE.EXE", {}).executable, ownFolder() / "cmdprobe");
  if (!findInPath("7zz").empty()) {
    EXPECT_EQ(planProgram("7Z", {}).executable.filename(), "7zz");
  }
}

// Text a user typed never becomes a command: each of these does only its file operation.
TEST_F(CommandsTest, ShellSyntaxInNamesStaysInNames) {
  struct Case {
    std::vector<std::string> files;  // present before the command
    const char* line;
    std::vector<std::string> gone;
    std::vector<std::string> created;
  };
  const Case cases[] = {
      {{"a;touch"}, "CMD /C DEL a;touch pwned", {"a;touch"}, {}},
      {{"x"}, "CMD /C DEL x && touch pwned", {"x"}, {}},
      {{"$(touch"}, "CMD /C DEL $(touch pwned)", {"$(touch"}, {}},
      {{"a;touch pwned"}, "COPY \"a;touch pwned\" b", {}, {"b"}},
      {{"src"}, "CMD /C COPY src \"dst`touch pwned`\"", {}, {"dst`touch pwned`"}},
      {{"src"}, "CMD /C COPY src \"$(touch pwned)\"", {}, {"$(touch pwned)"}},
      {{"src"}, "CMD /C COPY src b|touch pwned", {}, {}},
      {{}, "CMD /C ECHO x > pwned", {}, {}},
      {{"src"}, "CMD /C COPY src \"it's; a |name|\"", {}, {"it's; a |name|"}},
  };
  for (const auto& c : cases) {
    for (const auto& f : c.files) write(f, "data");
    runCommand(c.line);
    EXPECT_FALSE(exists("pwned")) << c.line;
    for (const auto& f : c.gone) EXPECT_FALSE(exists(f)) << c.line << ": " << f;
    for (const auto& f : c.created) EXPECT_EQ(read(f), "data") << c.line << ": " << f;
    for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
  }

  // Arguments reach an outside program as they are, one by one.
  runCommand("CMD /C CMDPROBE.EXE OUT.TXT ;touch pwned $(touch pwned) `touch pwned` && |");
  EXPECT_EQ(read("OUT.TXT"), ";touch\npwned\n$(touch\npwned)\n`touch\npwned`\n&&\n|\n");
  EXPECT_FALSE(exists("pwned"));
}

TEST_F(CommandsTest, BackupArchiveWithSevenZip) {
  if (findInPath("7zz").empty()) GTEST_SKIP() << "7zz is not installed";
  write("INDVEN11.ABC", "sales");
  write("INDVEN11.XYZ", "sales2");
  write("INDACQ11.ABC", "purchases");
  write("ALB/DIKTA.1", "registry");
  write("PCOP.ZIP", "stale archive");
  const char* steps[] = {
      "CMD /C DEL PCOP.ZIP",
      "CMD /C 7Z a PCOP.ZIP INDVEN11.* C:\\ALB\\DIKTA.* ",
      "CMD /C COPY PCOP.ZIP A:",
  };
  for (const char* step : steps) EXPECT_TRUE(runCommand(step).started) << step;
  ASSERT_TRUE(exists("DRIVE-A/PCOP.ZIP"));

  EXPECT_EQ(runCommand("CMD /C 7Z x A:\\PCOP.ZIP -oRESTORED").exitCode, 0);
  EXPECT_EQ(read("RESTORED/INDVEN11.ABC"), "sales");
  EXPECT_EQ(read("RESTORED/INDVEN11.XYZ"), "sales2");
  EXPECT_EQ(read("RESTORED/ALB/DIKTA.1"), "registry");  // kept under its folder
  EXPECT_FALSE(exists("RESTORED/INDACQ11.ABC"));
}

}  // namespace
}  // namespace vellano::platform
