// The backup copy: the eight commands in order, a real PCOP.ZIP made by 7-Zip and copied to
// drive A:, and a message on screen when the archive or its copy could not be made.
#include "entry/backup_copies.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "records/text.h"
#include "support/work_folder.h"
#include "master/causals_support.h"
#include "platform/programs.h"
#include "support/headless_run.h"

namespace vellano::entry {
namespace {

using master::testing::columns;

// The names 7-Zip lists in an archive, one per line of "7zz l -ba" (the name is the last word).
std::vector<std::string> archiveNames(const std::filesystem::path& archive) {
  const std::filesystem::path sevenZip = platform::findInPath("7zz");
  if (sevenZip.empty()) return {};
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    execl(sevenZip.c_str(), "7zz", "l", "-ba", archive.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<std::size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  std::vector<std::string> names;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t cut = line.find_last_of(' ');
    if (cut != std::string::npos && cut + 1 < line.size()) names.push_back(line.substr(cut + 1));
  }
  return names;
}

// Sets an environment variable for one run and puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

constexpr const char* kCopiesScript = "<END> <UP> <ENTER> <SNAP> <ENTER> <ESC>";

class BackupRun : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    writeFile("DATA.DAT", "150311" + std::string(11, ' '));
    for (const char* name : {"INDICECL.DAT", "INDICEST.DAT", "CLIFOR.DAT", "ESTC.DAT", "INDEX.DAT", "INDVEN11.DAT",
                             "INDACQ11.DAT", "VENDIT11.DAT", "ACQUIS11.DAT", "CDIVA11.DAT", "IVVER11.DAT",
                             "TABIVA.DAT", "CAUCON.DAT", "CASBAN.DAT", "SOTCON.DAT", "PAGVEN11.DAT", "PSALCL11.DAT",
                             "CORRIS11.DAT", "VENDIT10.DAT", "DIKTA.DAT"})
      writeFile(name, std::string("data of ") + name);
    writeFile("PCOP.ZIP", "an old archive, not a zip");
  }
  vellano::testing::HeadlessRun run() {
    return vellano::testing::runHeadless("VELLA10W", {}, std::filesystem::current_path(), kCopiesScript);
  }
  static std::string message(const vellano::testing::HeadlessRun& r) { return columns(r.row(0, 46), 2, 80); }
};

TEST(BackupCommands, EightCommandsWithTheYearAndTheRegistryFolder) {
  const std::vector<std::string> commands = backupCommands("11", "C:\\ALB\\");
  ASSERT_EQ(commands.size(), 8u);
  EXPECT_EQ(commands[0], "CMD /C DEL PCOP.ZIP");
  EXPECT_EQ(commands[1], "CMD /C 7Z a PCOP.ZIP INDICECL.* INDICEST.* COMATIC.* INDEX.DAT CLIFOR.* ESTC.* ESTCNO.*");
  EXPECT_EQ(commands[2],
            "CMD /C 7Z a PCOP.ZIP INDVEN11.* INDACQ11.* IVVER11.* VENDIT11.* ACQUIS11.* CDIVA11.* TABIVA.DAT ");
  EXPECT_EQ(commands[3],
            "CMD /C 7Z a PCOP.ZIP SOTCON.DAT CAUCON.DAT CASBAN.DAT PAGVEN11.* PAGACQ11.* PSALCL11.* PSALFO11.* "
            "QMENU.DAT ");
  EXPECT_EQ(commands[4], commands[1]);
  EXPECT_EQ(commands[5], "CMD /C 7Z a PCOP.ZIP DATA1.DAT DATA.DAT DIKTA.* C:\\ALB\\DIKTA.*");
  EXPECT_EQ(commands[6], "CMD /C 7Z a PCOP.ZIP TEL11.DAT INDAZ11.DAT AZIEN11.DAT");
  EXPECT_EQ(commands[7], "CMD /C COPY PCOP.ZIP A:");
}

TEST_F(BackupRun, ArchivesTheDataFilesOfTheYearAndCopiesThemToDriveA) {
  if (platform::findInPath("7zz").empty()) GTEST_SKIP() << "7-Zip (7zz) is not installed";
  auto r = run();
  ASSERT_EQ(r.status, 0);
  records::Context context;
  context.yearSuffix = "11";
  records::Catalogue catalogue(context);
  EXPECT_EQ(r.commands, backupCommands("11", registryFolder(catalogue)));

  std::vector<std::string> names = archiveNames("PCOP.ZIP");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"ACQUIS11.DAT", "CASBAN.DAT", "CAUCON.DAT", "CDIVA11.DAT", "CLIFOR.DAT",
                                             "DATA.DAT", "DIKTA.DAT", "ESTC.DAT", "INDACQ11.DAT", "INDEX.DAT", "INDICECL.DAT",
                                             "INDICEST.DAT", "INDVEN11.DAT", "IVVER11.DAT", "PAGVEN11.DAT",
                                             "PSALCL11.DAT", "SOTCON.DAT", "TABIVA.DAT", "VENDIT11.DAT"}));
  EXPECT_EQ(readFile("DRIVE-A/PCOP.ZIP"), readFile("PCOP.ZIP"));
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(records::trimRight(message(r)), "Copia eseguita. Premi un tasto.");
}

TEST_F(BackupRun, AMissingArchiverIsSaidOnScreen) {
  const std::filesystem::path empty = std::filesystem::current_path() / "no-programs";
  std::filesystem::create_directory(empty);
  ScopedEnv path("PATH", empty.string());
  auto r = run();
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(records::trimRight(message(r)), "ATTENZIONE: programma 7-Zip non trovato, archivio PCOP.ZIP non creato.");
  EXPECT_FALSE(std::filesystem::exists("PCOP.ZIP"));  // the old one went with command 1
}

TEST_F(BackupRun, AMissingDriveAFolderIsSaidOnScreen) {
  if (platform::findInPath("7zz").empty()) GTEST_SKIP() << "7-Zip (7zz) is not installed";
  ScopedEnv drive("VELLANO_DRIVE_A", (std::filesystem::current_path() / "no-diskette").string());
  auto r = run();
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(records::trimRight(message(r)),
            "ATTENZIONE: copia di PCOP.ZIP su A: non riuscita (unita' A: non trovata).");
  EXPECT_TRUE(std::filesystem::exists("PCOP.ZIP"));
}

}  // namespace
}  // namespace vellano::entry
