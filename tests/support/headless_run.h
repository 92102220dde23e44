// Runs one of the system's programs headless in a folder, as a script user would: keys from a
// script file, screens and outside commands collected from their files.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace vellano::testing {

struct HeadlessRun {
  int status = -1;                   // exit status, or -1 when it did not exit normally
  std::vector<std::string> dumps;    // every screen dump, "title: ..." line first
  std::vector<std::string> commands; // the outside commands logged, one per line
  std::string dumpText;

  // Line `row` (1-50) of a dump, as UTF-8.
  std::string row(std::size_t dump, int row) const {
    std::istringstream lines(dumps.at(dump));
    std::string line;
    for (int i = 0; i <= row && std::getline(lines, line);) ++i;
    return line;
  }
  std::string title(std::size_t dump) const {
    std::istringstream lines(dumps.at(dump));
    std::string line;
    std::getline(lines, line);
    return line.substr(7);
  }
};

inline std::string readWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs `program` (a file in the build's bin folder) with `args` inside `folder`. With
// `alone`, a copy of the program runs from a folder of its own, so the other programs of the
// system are not found beside it: what it hands over stays in the files for the test to read.
// `companions` are the programs copied beside it there.
inline HeadlessRun runHeadless(const std::string& program, const std::vector<std::string>& args,
                               const std::filesystem::path& folder, const std::string& script,
                               bool alone = false, const std::vector<std::string>& companions = {}) {
  namespace fs = std::filesystem;
  const fs::path keys = folder / "keys.script";
  const fs::path screens = folder / "screens.txt";
  const fs::path commands = folder / "commands.txt";
  {
    std::ofstream out(keys, std::ios::binary | std::ios::trunc);
    out << script;
  }
  fs::remove(screens);
  fs::remove(commands);
  std::string path = std::string(VELLANO_BIN_DIR) + "/" + program;
  if (alone) {
    const fs::path own = folder / ".alone";
    fs::create_directories(own);
    fs::copy_file(path, own / program, fs::copy_options::overwrite_existing);
    for (const std::string& other : companions) {
      fs::copy_file(std::string(VELLANO_BIN_DIR) + "/" + other, own / other, fs::copy_options::overwrite_existing);
    }
    path = (own / program).string();
  }

  HeadlessRun run;
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(126);
    setenv("VELLANO_KEYS", keys.c_str(), 1);
    setenv("VELLANO_SCREEN", screens.c_str(), 1);
    setenv("VELLANO_COMMANDS", commands.c_str(), 1);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  if (WIFEXITED(wstatus)) run.status = WEXITSTATUS(wstatus);

  run.dumpText = readWhole(screens);
  std::istringstream lines(run.dumpText);
  std::string line, current;
  while (std::getline(lines, line)) {
    if (line == "----") {
      run.dumps.push_back(current);
      current.clear();
    } else {
      current += line + "\n";
    }
  }
  std::istringstream logged(readWhole(commands));
  while (std::getline(logged, line)) run.commands.push_back(line);
  return run;
}

}  // namespace vellano::testing
