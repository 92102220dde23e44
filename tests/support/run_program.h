// Runs a program with an argument list, never through a shell, as the command runner does:
// its standard output is collected, its standard error dropped, its input empty.
#pragma once

#include <errno.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace vellano::testing {

struct ProgramRun {
  int status = -1;     // exit status, or -1 when it did not exit normally
  std::string output;  // what it wrote on its standard output
};

// `argv[0]` is a path or a name looked up on PATH.
inline ProgramRun runProgram(const std::vector<std::string>& argv) {
  ProgramRun run;
  int out[2];
  if (argv.empty() || ::pipe(out) != 0) return run;
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int nothing = ::open("/dev/null", O_RDWR);
    ::dup2(nothing, 0);
    ::dup2(out[1], 1);
    ::dup2(nothing, 2);
    ::close(out[0]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ::close(out[1]);
  if (pid < 0) {
    ::close(out[0]);
    return run;
  }
  char buffer[4096];
  for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) != 0;) {
    if (n > 0) run.output.append(buffer, static_cast<std::size_t>(n));
    else if (errno != EINTR) break;
  }
  ::close(out[0]);
  int wstatus = 0;
  while (::waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(wstatus)) run.status = WEXITSTATUS(wstatus);
  return run;
}

}  // namespace vellano::testing
