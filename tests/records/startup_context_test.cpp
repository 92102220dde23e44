// Start-up resolution: host modes, data folders, hand-over, date, parameters, company.
#include "records/registration_files.h"
#include "records/startup_context.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/folder_check.h"
#include "records/text.h"
#include "platform/dos_path.h"
#include "platform/error.h"
#include "support/work_folder.h"

namespace vellano::records {
namespace {

constexpr const char* kVersion = "2011.07a";

// TTY.DAT: colour byte 1, drive byte 8, extension source byte 9, extension 10-12,
// folder 15-34; the other bytes blank.
std::string tty(char drive = 'C', char source = ' ', const std::string& extension = "   ",
                const std::string& folder = "D:\\DITTE", char colour = 'C') {
  std::string bytes(35, ' ');
  bytes[0] = colour;
  bytes[7] = drive;
  bytes[8] = source;
  bytes.replace(9, 3, fitLeft(extension, 3));
  bytes.replace(14, 20, fitLeft(folder, 20));
  return bytes;
}

// QMENU.DAT record: company number (field 2), host-mode code (field 7), request (field 9);
// the other fields hold recognisable text that must survive.
std::string qmenu(const std::string& company, const std::string& modeCode,
                  const std::string& request = "00") {
  std::string bytes(111, ' ');
  bytes.replace(0, 1, "Q");
  bytes.replace(1, 3, fitLeft(company, 3));
  bytes.replace(13, 20, fitLeft("ROSSI MARIO", 20));
  bytes.replace(33, 2, fitLeft(modeCode, 2));
  bytes.replace(41, 2, fitLeft(request, 2));
  bytes.replace(48, 50, fitLeft("MESSAGGIO DEL LAUNCHER", 50));
  return bytes;
}

// DATA.DAT with field 3 and field 5 given.
std::string hostSettings(char field3, char field5) {
  std::string bytes = "010111ABC" + std::string(1, field3) + "DEFGH" + std::string(1, field5) + "N1";
  return bytes;
}

class Startup : public testing::WorkFolder {
 protected:
  void start(std::vector<std::string> args, bool restart = false, FolderPrompt* folders = nullptr) {
    StartupOptions options;
    options.version = kVersion;
    options.restart = restart;
    options.folders = folders;
    resolveContext(catalogue, args, options);
  }
  // Puts a file where the DOS name points.
  static void place(const std::string& dosName, const std::string& bytes) {
    writeFile(platform::hostPath(dosName), bytes);
  }

  Context context;
  Catalogue catalogue{context};
};

struct StartCase {
  const char* title;
  std::vector<std::string> args;
  std::string tty;
  std::string dataDat;      // DATA.DAT host settings, when present
  const char* qmenuFolder;  // host folder of QMENU.DAT, when one is written
  long qmenuRecord;
  std::string qmenu;
  // Expected.
  int mode;
  const char* label;
  const char* prefix;
  const char* handOverFolder;
  const char* hostFolder;
  const char* hostSwitch;
  long record;
  const char* extension;
  int companyNumber;
  const char* customers;  // channel 1
  const char* sales;      // channel 4 with the sales stems
  const char* dateFile;   // channel 11
  const char* registry;   // channel 14
};

TEST_F(Startup, HostModesAndDataFolders) {
  const StartCase cases[] = {
      {"no arguments, drive C", {}, tty(), "", nullptr, 0, "",
       1, "Alba", "C:", "", "", "", 1, "DAT", 1,
       "C:CLIFOR.DAT", "C:VENDIT10.DAT", "C:DATA.DAT", "D:\\DITTE\\DIKTA.DAT"},
      {"no switch ignores the TTY extension", {}, tty('C', 'P', "005"), "", nullptr, 0, "",
       1, "Alba", "C:", "", "", "", 1, "DAT", 1,
       "C:CLIFOR.DAT", "C:VENDIT10.DAT", "C:DATA.DAT", "D:\\DITTE\\DIKTA.DAT"},
      {"byte 8 Z means drive C", {}, tty('Z'), "", nullptr, 0, "",
       1, "Alba", "C:", "", "", "", 1, "DAT", 1,
       "C:CLIFOR.DAT", "C:VENDIT10.DAT", "C:DATA.DAT", "D:\\DITTE\\DIKTA.DAT"},
      {"byte 8 D", {}, tty('D'), "", nullptr, 0, "",
       1, "Alba", "D:", "", "", "", 1, "DAT", 1,
       "D:CLIFOR.DAT", "D:VENDIT10.DAT", "D:DATA.DAT", "D:\\DITTE\\DIKTA.DAT"},
      {"unknown switch", {"/X", "2"}, tty(), "", nullptr, 0, "",
       1, "Alba", "C:", "", "", "", 1, "DAT", 1,
       "C:CLIFOR.DAT", "C:VENDIT10.DAT", "C:DATA.DAT", "D:\\DITTE\\DIKTA.DAT"},
      {"/M", {"/M", "2"}, tty('C', 'M', "005"), "", "", 1, qmenu("009", "0"),
       2, "Borea", "", "", "C:\\CIR\\", " /M", 1, "005", 5,
       "CLIFOR.005", "VENDIT10.005", "DATA.005", "DIKTA.005"},
      {"/m in small letters", {"/m", "2"}, tty('C', 'M', "005"), "", "", 1, qmenu("009", ""),
       2, "Borea", "", "", "C:\\CIR\\", " /M", 1, "005", 5,
       "CLIFOR.005", "VENDIT10.005", "DATA.005", "DIKTA.005"},
      {"/M with DIS looks on drive A", {"/M", "2"}, tty('C', 'M', "DIS"), "", "", 1,
       qmenu("009", "0"),
       2, "Borea", "A:", "", "C:\\CIR\\", " /M", 1, "DIS", 0,
       "A:CLIFOR.DIS", "A:VENDIT10.DIS", "A:DATA.DIS", "A:DIKTA.DIS"},
      {"hand-over code 3", {"/M", "2"}, tty('E', 'X', "004"), "", "", 1, qmenu("", " 3"),
       3, "Cirro", "E:", "", "C:\\CIR\\", " /M", 1, "004", 4,
       "E:CLIFOR.004", "E:VENDIT10.004", "E:DATA.004", "D:\\DITTE\\DIKTA.004"},
      {"hand-over code 4", {"/M", "2"}, tty('C', 'X', "004"), "", "", 1, qmenu("", "4"),
       4, "", "C:", "", "C:\\CIR\\", " /M", 1, "004", 4,
       "C:CLIFOR.004", "C:VENDIT10.004", "C:DATA.004", "D:\\DITTE\\DIKTA.004"},
      {"hand-over code 5", {"/M", "2"}, tty('B', 'X', "004"), "", "", 1, qmenu("", "05"),
       5, "Dune", "B:", "", "C:\\CIR\\", " /M", 1, "004", 4,
       "B:CLIFOR.004", "B:VENDIT10.004", "B:DATA.004", "D:\\DITTE\\DIKTA.004"},
      {"hand-over code 9 is no mode", {"/M", "2"}, tty('C', 'M', "005"), "", "", 1,
       qmenu("", "9"),
       2, "Borea", "", "", "C:\\CIR\\", " /M", 1, "005", 5,
       "CLIFOR.005", "VENDIT10.005", "DATA.005", "DIKTA.005"},
      {"/P local terminal", {"/P", "4"}, tty(), hostSettings('S', ' '), "ALB", 1,
       qmenu("7", "0"),
       6, "Egeo", "", "C:\\ALB\\", "C:\\ALB\\", " /P", 1, "007", 7,
       "CLIFOR.007", "VENDIT10.007", "C:\\ALB\\DATATERM.DAT", "D:\\DITTE\\DIKTA.007"},
      {"/P networked terminal 3", {"/P", "3"}, tty(), hostSettings(' ', 'R'), "XTERM", 3,
       qmenu("012", ""),
       6, "Egeo", "", "XTERM\\", "C:\\ALB\\", " /P", 3, "012", 12,
       "CLIFOR.012", "VENDIT10.012", "XTERM\\DATATERM.DAT", "D:\\DITTE\\DIKTA.012"},
      {"/P networked terminal 0, company 0", {"/P", "0"}, tty(), hostSettings(' ', 'R'),
       "XTERM", 1, qmenu("000", ""),
       6, "Egeo", "", "XTERM\\", "C:\\ALB\\", " /P", 1, "001", 1,
       "CLIFOR.001", "VENDIT10.001", "XTERM\\DATATERM.DAT", "D:\\DITTE\\DIKTA.001"},
      {"/P networked without terminal number", {"/P"}, tty(), hostSettings(' ', 'R'), "XTERM",
       1, qmenu("", ""),
       6, "Egeo", "", "XTERM\\", "C:\\ALB\\", " /P", 1, "001", 1,
       "CLIFOR.001", "VENDIT10.001", "XTERM\\DATATERM.DAT", "D:\\DITTE\\DIKTA.001"},
      {"/P with hand-over code 2 keeps the TTY extension", {"/P", "1"}, tty('C', 'P', "003"),
       hostSettings(' ', ' '), "ALB", 1, qmenu("008", "2"),
       2, "Borea", "", "C:\\ALB\\", "C:\\ALB\\", " /P", 1, "003", 3,
       "CLIFOR.003", "VENDIT10.003", "DATA.003", "DIKTA.003"},
      {"/F", {"/F", "1"}, tty('C', 'F', "003"), "", "", 1, qmenu("", ""),
       7, "Fiordo", "D:\\DITTE\\", "", "C:\\BOR\\", " /F", 1, "003", 3,
       "D:\\DITTE\\CLIFOR.003", "D:\\DITTE\\VENDIT10.003", "D:\\DITTE\\DATA.003",
       "D:\\DITTE\\DIKTA.003"},
      {"/F with hand-over code 6", {"/F", "1"}, tty('C', 'F', "003"), "", "", 1,
       qmenu("002", "6"),
       6, "Egeo", "", "", "C:\\BOR\\", " /F", 1, "002", 2,
       "CLIFOR.002", "VENDIT10.002", "DATATERM.DAT", "D:\\DITTE\\DIKTA.002"},
      {"extension neither number nor DAT/DIS", {"/M", "1"}, tty('C', 'X', "12 "), "", "", 1,
       qmenu("", ""),
       2, "Borea", "", "", "C:\\CIR\\", " /M", 1, "DAT", 1,
       "CLIFOR.DAT", "VENDIT10.DAT", "DATA.DAT", "DIKTA.DAT"},
      {"extension with another source byte", {"/M", "1"}, tty('C', 'Q', "005"), "", "", 1,
       qmenu("", ""),
       2, "Borea", "", "", "C:\\CIR\\", " /M", 1, "DAT", 1,
       "CLIFOR.DAT", "VENDIT10.DAT", "DATA.DAT", "DIKTA.DAT"},
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(c.title);
    catalogue.closeAll();
    TearDown();
    SetUp();
    context = Context{};
    writeFile("TTY.DAT", c.tty);
    if (!c.dataDat.empty()) writeFile("DATA.DAT", c.dataDat);
    if (c.qmenuFolder != nullptr) {
      const std::filesystem::path folder = c.qmenuFolder;
      writeFile(folder / "QMENU.DAT",
                std::string(static_cast<std::size_t>(c.qmenuRecord - 1) * 111, 'z') + c.qmenu);
    }
    // The folders of the expected files exist; the date file holds 31/12/2010.
    for (const char* name : {c.customers, c.registry}) {
      const std::filesystem::path folder = platform::hostPath(name).parent_path();
      if (!folder.empty()) std::filesystem::create_directories(folder);
    }
    place(c.dateFile, "311210");

    start(c.args);

    EXPECT_EQ(context.hostMode, c.mode);
    EXPECT_EQ(hostModeLabel(context.hostMode), c.label);
    EXPECT_EQ(context.version, kVersion);
    EXPECT_EQ(context.dataPrefix, c.prefix);
    EXPECT_EQ(context.handOverFolder, c.handOverFolder);
    EXPECT_EQ(context.hostFolder, c.hostFolder);
    EXPECT_EQ(context.hostSwitch, c.hostSwitch);
    EXPECT_EQ(context.terminalNumber, c.args.size() > 1 ? c.args[1] : "");
    EXPECT_EQ(context.handOverRecord, c.record);
    EXPECT_EQ(context.companyExtension, c.extension);
    EXPECT_EQ(context.companyNumber, c.companyNumber);
    EXPECT_EQ(context.customerExtension, c.extension);
    EXPECT_EQ(context.workingDate, "311210");
    EXPECT_EQ(context.yearSuffix, "10");

    EXPECT_EQ(catalogue.channel(1).dosName(), c.customers);  // opened by the start-up
    EXPECT_TRUE(std::filesystem::exists(platform::hostPath(c.customers)));
    EXPECT_EQ(catalogue.channel(11).dosName(), c.dateFile);
    EXPECT_EQ(catalogue.dosName(14), c.registry);
    setRegisterStems(catalogue, kSalesStems);
    EXPECT_EQ(catalogue.dosName(4), c.sales);
  }
}

// The programs start each other with "NAME" + switch + " " + terminal: without a switch the
// terminal number comes alone, and it stays the terminal number.
TEST_F(Startup, LoneArgumentWithoutSlashIsTheTerminalNumber) {
  struct Case {
    std::vector<std::string> args;
    int mode;
    const char* hostSwitch;
    const char* terminal;
  };
  const Case cases[] = {
      {{}, 1, "", ""},
      {{"5"}, 1, "", "5"},
      {{"", "5"}, 1, "", "5"},
      {{"/M"}, 2, " /M", ""},
      {{"/m", "7"}, 2, " /M", "7"},
      {{"X", "7"}, 1, "", "7"},  // two arguments: the first is the switch, even unknown
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? std::string("none") : c.args[0]);
    catalogue.closeAll();
    context = Context{};
    writeFile("TTY.DAT", tty());
    writeFile("QMENU.DAT", qmenu("", "0"));
    std::filesystem::create_directories("DRIVE-D/DITTE");
    start(c.args);
    EXPECT_EQ(context.hostMode, c.mode);
    EXPECT_EQ(context.hostSwitch, c.hostSwitch);
    EXPECT_EQ(context.terminalNumber, c.terminal);
  }
}

TEST_F(Startup, SharedCustomerArchiveKeepsRegistrationsPerCompany) {
  writeFile("TTY.DAT", tty());
  writeFile("ALB/QMENU.DAT", qmenu("001", "0"));
  writeFile("PARAM.DAT", "SN");
  writeFile("ALB/DATATERM.DAT", "311210");
  writeFile("INDICECL.DAT", " 12 ");
  writeFile("INDICEST.DAT", " 3");
  writeFile("INDEX.DAT", " 5   ");
  start({"/P", "1"});
  EXPECT_EQ(context.sharedCustomerArchive, 'S');
  EXPECT_EQ(context.fullVatTables, 'N');
  EXPECT_EQ(context.customerExtension, "DAT");
  EXPECT_EQ(context.companyExtension, "001");
  EXPECT_EQ(catalogue.channel(1).dosName(), "CLIFOR.DAT");
  EXPECT_EQ(catalogue.channel(7).dosName(), "ESTC.DAT");
  EXPECT_EQ(catalogue.dosName(2), "INDICECL.DAT");
  EXPECT_EQ(catalogue.dosName(9), "INDICEST.DAT");
  EXPECT_EQ(catalogue.dosName(71), "ESTCNO.001");
  setRegisterStems(catalogue, kSalesStems);
  EXPECT_EQ(catalogue.dosName(4), "VENDIT10.001");
  EXPECT_EQ(context.customerCount, 12.0f);
  EXPECT_EQ(context.supplierCount, 3.0f);
  EXPECT_EQ(context.causalCount, 5.0f);

  // A parameter change is picked up at the next restart of the main loop.
  writeFile("PARAM.DAT", "NN");
  start({}, true);
  EXPECT_EQ(context.customerExtension, "001");
  EXPECT_EQ(catalogue.channel(1).dosName(), "CLIFOR.001");
}

TEST_F(Startup, DirectStartRequestIsServedOnce) {
  writeFile("TTY.DAT", tty());
  writeFile("DATA.DAT", hostSettings(' ', 'R'));
  const std::string first(111, 'y');
  const std::string record = qmenu("001", "0", "43");
  writeFile("XTERM/QMENU.DAT", first + record);

  start({"/P", "2"});
  EXPECT_EQ(context.directStartRequest, "43");
  std::string cleared = record;
  cleared.replace(41, 2, "  ");
  EXPECT_EQ(readFile("XTERM/QMENU.DAT"), first + cleared);
  EXPECT_EQ(context.handOver.field[HandOver::kMessage], record.substr(48, 50));

  Context again;
  Catalogue secondRun(again);
  StartupOptions options;
  options.version = kVersion;
  const std::vector<std::string> args{"/P", "2"};
  resolveContext(secondRun, args, options);
  EXPECT_EQ(again.directStartRequest, "  ");
  EXPECT_EQ(readFile("XTERM/QMENU.DAT"), first + cleared);
}

TEST_F(Startup, RequestWrittenForThePrintProgramKeepsTheRecord) {
  writeFile("TTY.DAT", tty());
  const std::string record = qmenu("004", "0", "  ");
  writeFile("QMENU.DAT", record);
  start({"/M", "1"});
  storeHandOverRequest(catalogue, "00");
  std::string expected = record;
  expected.replace(41, 2, "00");
  EXPECT_EQ(readFile("QMENU.DAT"), expected);
  EXPECT_EQ(context.handOver.field[HandOver::kRequest], "00");
}

TEST_F(Startup, CompanyNameByHostModeAndRestart) {
  struct Case {
    const char* title;
    std::vector<std::string> args;
    std::string qmenu;
    bool restart;
    const char* name;
  };
  const Case cases[] = {
      {"mode 1 reads the long registry", {}, "", false, "DITTA LUNGA"},
      {"mode 2 reads the short registry", {"/M", "1"}, qmenu("", "0"), false, "DITTA CORTA"},
      {"mode 3 keeps the name", {"/M", "1"}, qmenu("", "3"), false, ""},
      {"mode 5 at start-up keeps the name", {"/M", "1"}, qmenu("", "5"), false, ""},
      {"mode 5 after a restart", {"/M", "1"}, qmenu("", "5"), true, "DITTA LUNGA"},
      {"mode 7 at start-up", {"/F", "1"}, qmenu("", "0"), false, "DITTA LUNGA"},
      {"mode 7 after a restart keeps the name", {"/F", "1"}, qmenu("", "0"), true, "PRIMA"},
      {"mode 6 from the company list", {"/F", "1"}, qmenu("2", "6"), false, "DITTA ELENCO 2"},
      {"mode 6 after a restart", {"/F", "1"}, qmenu("2", "6"), true, "DITTA ELENCO 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    catalogue.closeAll();
    TearDown();
    SetUp();
    context = Context{};
    writeFile("TTY.DAT", tty('C', ' ', "", "DITTE"));
    writeFile("DITTE/DIKTA.DAT", fitLeft("DITTA LUNGA", 619));
    writeFile("DIKTA.DAT", fitLeft("DITTA CORTA", 227));
    writeFile("AZIEN00.DAT", fitLeft("DITTA ELENCO 1", 1000) + fitLeft("DITTA ELENCO 2", 1000));
    if (!c.qmenu.empty()) writeFile("QMENU.DAT", c.qmenu);
    start(c.args);
    if (c.restart) {
      context.company.name = "PRIMA";
      start(c.args, true);
    }
    EXPECT_EQ(context.company.name, c.name);
  }
}

TEST_F(Startup, ColourSchemeRepairedAndWrittenBack) {
  struct Case {
    std::string tty;
    char scheme;
    char byte1After;
  };
  const Case cases[] = {
      {tty('C', ' ', "", "", 'X'), 'C', 'C'},
      {tty('C', ' ', "", "", 'M'), 'M', 'M'},
      {tty('C', ' ', "", "", 'm'), 'C', 'C'},
      {"", 'C', 'C'},  // no TTY.DAT: created with the repaired byte
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tty);
    catalogue.closeAll();
    TearDown();
    SetUp();
    context = Context{};
    if (!c.tty.empty()) writeFile("TTY.DAT", c.tty);
    start({});
    EXPECT_EQ(context.install.colourScheme, c.scheme);
    const std::string bytes = readFile("TTY.DAT");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes[0], c.byte1After);
    if (!c.tty.empty()) {
      EXPECT_EQ(bytes.substr(1), c.tty.substr(1));
    }
  }
}

TEST_F(Startup, TtyFolderLosesNulsAndTrailingBlanks) {
  std::string bytes = tty();
  bytes.replace(14, 20, std::string("D:\\DIT\0TE  \0\0  \0\0\0\0\0\0", 20));
  writeFile("TTY.DAT", bytes);
  std::filesystem::create_directories("DRIVE-D/DITTE");
  start({"/F", "1"});
  EXPECT_EQ(context.ttyFolder(), "D:\\DITTE");
  EXPECT_EQ(context.dataPrefix, "D:\\DITTE\\");
}

TEST_F(Startup, DamagedOrMissingFilesGiveDefaults) {
  struct Case {
    const char* title;
    std::vector<std::string> args;
    std::string tty;
    std::string qmenu;
    std::string dateFile;
    const char* extension;
    int mode;
    float customers;
  };
  std::string binary;
  for (int i = 0; i < 256; ++i) binary += static_cast<char>(255 - i);
  const Case cases[] = {
      {"nothing at all", {}, "", "", "", "DAT", 1, 0},
      {"garbage everywhere", {"/M", "1"}, binary.substr(0, 35), binary.substr(100, 111),
       binary.substr(0, 17), "DAT", 2, 0},
      {"truncated files", {"/M", "1"}, "M", "1", "31", "DAT", 2, 31},
      {"NULs only", {"/P", "1"}, std::string(35, '\0'), std::string(111, '\0'),
       std::string(6, '\0'), "001", 6, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    catalogue.closeAll();
    TearDown();
    SetUp();
    context = Context{};
    if (!c.tty.empty()) writeFile("TTY.DAT", c.tty);
    if (!c.qmenu.empty()) {
      writeFile("QMENU.DAT", c.qmenu);
      writeFile("ALB/QMENU.DAT", c.qmenu);
    }
    std::filesystem::create_directories("ALB");
    for (const char* name : {"DATA.DAT", "ALB/DATATERM.DAT", "PARAM.DAT", "INDEX.DAT",
                             "INDICECL.DAT", "DIKTA.DAT"})
      if (!c.dateFile.empty()) writeFile(name, c.dateFile);
    ASSERT_NO_THROW(start(c.args));
    EXPECT_EQ(context.hostMode, c.mode);
    EXPECT_EQ(context.companyExtension, c.extension);
    EXPECT_EQ(context.handOverRecord, 1);
    EXPECT_EQ(context.yearSuffix, "00");
    EXPECT_TRUE(context.install.colourScheme == 'C' || context.install.colourScheme == 'M');
    EXPECT_EQ(context.customerCount, c.customers);
  }
}

TEST_F(Startup, HugeTerminalNumberIsABadRecordNumber) {
  writeFile("TTY.DAT", tty());
  writeFile("DATA.DAT", hostSettings(' ', 'R'));
  std::filesystem::create_directories("XTERM");
  try {
    start({"/P", "99999999999"});
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), error::kBadRecordNumber);
  }
}

TEST_F(Startup, DateChangeReopensTheYearFiles) {
  writeFile("TTY.DAT", tty('C', 'P', "001"));
  writeFile("QMENU.DAT", qmenu("", "0"));
  writeFile("DATA.001", "311210" + std::string("abcdefghijk"));
  start({"/M", "1"});
  setRegisterStems(catalogue, kSalesStems);
  catalogue.open(channel::kRegistrations);
  catalogue.open(channel::kCausals);
  EXPECT_EQ(catalogue.channel(4).dosName(), "VENDIT10.001");

  changeWorkingDate(catalogue, "010111");
  EXPECT_EQ(readFile("DATA.001"), "010111abcdefghijk");
  EXPECT_EQ(context.workingDate, "010111");
  EXPECT_EQ(context.yearSuffix, "11");
  EXPECT_EQ(catalogue.channel(4).dosName(), "VENDIT11.001");
  EXPECT_EQ(catalogue.channel(6).dosName(), "CAUCON.DAT");
  EXPECT_TRUE(std::filesystem::exists("VENDIT11.001"));
}

// Answers every folder question the same way and counts nothing but what it shows.
class AnswerAll : public FolderPrompt {
 public:
  explicit AnswerAll(std::string answer) : answer_(std::move(answer)) {}
  std::string ask(std::string_view message, std::string_view) override {
    messages.emplace_back(message);
    return answer_;
  }
  void tell(std::string_view message, std::string_view) override { told.emplace_back(message); }
  std::vector<std::string> told;
  std::vector<std::string> messages;

 private:
  std::string answer_;
};

TEST_F(Startup, MissingDataFolderGoesToTheFolderQuestion) {
  writeFile("TTY.DAT", tty('C', 'F', "003", "D:\\NUOVA"));
  writeFile("QMENU.DAT", qmenu("", "0"));
  EXPECT_THROW(start({"/F", "1"}), RuntimeError);

  context = Context{};
  AnswerAll yes("S");
  start({"/F", "1"}, false, &yes);
  ASSERT_FALSE(yes.messages.empty());
  EXPECT_EQ(yes.messages[0], "La Cartella DRIVE-D/NUOVA non esiste.");
  EXPECT_FALSE(context.folderRefused);
  // The folder made, the following steps find it.
  EXPECT_TRUE(std::filesystem::exists("DRIVE-D/NUOVA/PARAM.DAT"));
  EXPECT_TRUE(catalogue.channel(1).isOpen());

  std::filesystem::remove_all("DRIVE-D");
  catalogue.closeAll();
  context = Context{};
  AnswerAll no("N");
  start({"/F", "1"}, false, &no);
  EXPECT_TRUE(context.folderRefused);
  EXPECT_FALSE(std::filesystem::exists("DRIVE-D"));
  EXPECT_FALSE(catalogue.channel(1).isOpen());
}

// A TTY.DAT folder with control characters is shown and refused, never created: start-up
// stops at the first step that needs it.
TEST_F(Startup, TtyFolderWithControlCharactersIsNeverCreated) {
  writeFile("TTY.DAT", tty('C', 'F', "003", std::string("D:\\NU\x01VA")));
  writeFile("QMENU.DAT", qmenu("", "0"));
  AnswerAll yes("S");
  EXPECT_THROW(start({"/F", "1"}, false, &yes), RuntimeError);  // to the error box
  EXPECT_TRUE(yes.messages.empty());
  ASSERT_EQ(yes.told.size(), 1u);
  EXPECT_EQ(yes.told[0], "La Cartella DRIVE-D/NU?VA non esiste.");
  EXPECT_TRUE(context.folderRefused);
  EXPECT_FALSE(std::filesystem::exists("DRIVE-D"));

  // Accented letters of the console code page make a valid name.
  catalogue.closeAll();
  context = Context{};
  AnswerAll again("S");
  writeFile("TTY.DAT", tty('C', 'F', "003", std::string("D:\\CONTABILIT\xB7")));
  start({"/F", "1"}, false, &again);
  EXPECT_TRUE(again.told.empty());
  ASSERT_FALSE(again.messages.empty());
  EXPECT_TRUE(std::filesystem::is_directory(std::string("DRIVE-D/CONTABILIT\xB7")));
  EXPECT_FALSE(context.folderRefused);
}

}  // namespace
}  // namespace vellano::records
