// The headless mode seen from outside: a small program of the system run with a key script
// and a screen file, as every scripted test of the real programs will run them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/key_script.h"
#include "support/dump_text.h"
#include "support/files.h"

extern char** environ;

namespace vellano::platform {
namespace {

namespace fs = std::filesystem;

using vellano::testing::readFile;
using vellano::testing::writeFile;

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::string pad(const std::string& utf8, std::size_t width) {
  return utf8 + std::string(width - vellano::testing::codePoints(utf8), ' ');
}

// The probe's screen: its box with the echoed text on row 2 and the status on row 3.
std::string probeDump(const std::string& title, const std::string& typed, const std::string& status) {
  const std::string rest(80, ' ');
  std::string out = "title: " + title + "\n";
  out += "┌" + repeat("─", 38) + "┐" + rest + "\n";
  out += "│" + pad(typed, 38) + "│" + rest + "\n";
  out += "│" + pad(status, 38) + "│" + rest + "\n";
  out += "└" + repeat("─", 38) + "┘" + rest + "\n";
  out += repeat(std::string(120, ' ') + "\n", 46);
  out += "----\n";
  return out;
}

std::vector<std::string> splitDumps(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("----\n", start);
    if (end == std::string::npos) {
      out.push_back(text.substr(start));
      break;
    }
    out.push_back(text.substr(start, end + 5 - start));
    start = end + 5;
  }
  return out;
}

class HeadlessProgram : public ::testing::Test {
 protected:
  HeadlessProgram() {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~HeadlessProgram() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  // Runs the probe with `script` as its key script; returns its exit status (-1: killed).
  int run(const std::string& script) {
    writeFile(keys, script);
    std::string probe = std::string(VELLANO_BIN_DIR) + "/headless_probe";
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
      if (!std::string_view(*e).starts_with("VELLANO_")) env.emplace_back(*e);
    }
    env.push_back("VELLANO_KEYS=" + keys.string());
    env.push_back("VELLANO_SCREEN=" + screens.string());
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* const argv[] = {probe.data(), nullptr};
    const std::string errPath = errors.string();

    const pid_t pid = ::fork();
    if (pid == 0) {
      const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, 0);
      ::dup2(null, 1);
      ::dup2(err, 2);
      ::execve(probe.c_str(), argv, envp.data());
      ::_exit(127);
    }
    int raw = 0;
    if (pid < 0 || ::waitpid(pid, &raw, 0) != pid) return -2;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  std::vector<ScriptItem> keysLeft() const {
    auto parsed = parseKeyScript(readFile(keys));
    return std::get<std::vector<ScriptItem>>(parsed);
  }

  static fs::path freshDir() {
    static int counter = 0;
    return fs::temp_directory_path() /
           ("vellano-probe-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  }

  fs::path dir_ = freshDir();
  fs::path keys = dir_ / "keys.txt";
  fs::path screens = dir_ / "screens.txt";
  fs::path errors = dir_ / "stderr.txt";
};

TEST_F(HeadlessProgram, TypedTextNamedKeysAndSnapsGiveExactDumps) {
  const int status = run(
      "# typed text, named keys and snaps\n"
      "\"h\xC3\xA9llo \\\"\xE2\x94\x80\\\"\" <UP> <SNAP>\n"
      "<MOUSE 10 20> <SNAP> <F1*2> <ESC>\n");
  EXPECT_EQ(status, 0) << readFile(errors);
  const auto dumps = splitDumps(readFile(screens));
  ASSERT_EQ(dumps.size(), 3u) << readFile(screens);
  EXPECT_EQ(dumps[0], probeDump("probe", "héllo \"─\"", "key UP"));
  EXPECT_EQ(dumps[1], probeDump("probe", "héllo \"─\"", "mouse 10 20"));
  EXPECT_EQ(dumps[2], probeDump("probe", "héllo \"─\"", "key F1"));
  EXPECT_EQ(readFile(errors), "");
}

TEST_F(HeadlessProgram, ScriptRunningOutEndsWithStatus3AndTheFinalScreen) {
  EXPECT_EQ(run("# nothing to type\n\"x\"\n"), 3);
  EXPECT_EQ(readFile(screens), probeDump("probe", "x", ""));
  EXPECT_EQ(readFile(keys), "");
}

TEST_F(HeadlessProgram, MalformedScriptEndsWithStatus2NamingTheLine) {
  EXPECT_EQ(run("\"ok\"\n<ENTER>\n<NOPE> <ESC>\n"), 2);
  EXPECT_EQ(readFile(errors), keys.string() + ": line 3: unknown key name <NOPE>\n");
  EXPECT_FALSE(fs::exists(screens));
}

TEST_F(HeadlessProgram, ChildProgramTakesItsKeysFromTheSameQueue) {
  EXPECT_EQ(run("\"ab\" <F5> \"cd\" <SNAP> <ESC> \"ef\" <ESC>"), 0) << readFile(errors);
  const auto dumps = splitDumps(readFile(screens));
  ASSERT_EQ(dumps.size(), 3u) << readFile(screens);
  EXPECT_EQ(dumps[0], probeDump("probe child", "cd", ""));
  EXPECT_EQ(dumps[1], probeDump("probe child", "cd", ""));
  EXPECT_EQ(dumps[2], probeDump("probe", "abef", "child 0"));
  EXPECT_TRUE(keysLeft().empty());
}

TEST_F(HeadlessProgram, KeysUsedByAChildThatRanOutAreNotReplayed) {
  EXPECT_EQ(run("\"ab\" <F5> \"cd\""), 3) << readFile(errors);
  const auto dumps = splitDumps(readFile(screens));
  ASSERT_EQ(dumps.size(), 2u) << readFile(screens);
  EXPECT_EQ(dumps[0], probeDump("probe child", "cd", ""));
  EXPECT_EQ(dumps[1], probeDump("probe", "ab", "child 3"));
}

TEST_F(HeadlessProgram, KeysLeftWhenTheProgramEndsStayInTheScript) {
  EXPECT_EQ(run("\"a\" <ESC> \"rest\" <SNAP> <F2*2>"), 0) << readFile(errors);
  auto expected = parseKeyScript("\"rest\" <SNAP> <F2> <F2>");
  EXPECT_EQ(keysLeft(), std::get<std::vector<ScriptItem>>(expected));
  EXPECT_EQ(splitDumps(readFile(screens)).size(), 1u);
}

}  // namespace
}  // namespace vellano::platform
