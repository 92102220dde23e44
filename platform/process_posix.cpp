// fork + exec with an argument vector. A pipe closed on exec tells the parent whether the
// program really started, so a missing or broken executable is reported, not guessed.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/process.h"

namespace vellano::platform {

namespace {

// In the child between fork and exec only async-signal-safe calls are made.
[[noreturn]] void failChild(int reportFd) {
  const int err = errno;
  [[maybe_unused]] const ssize_t n = ::write(reportFd, &err, sizeof err);
  ::_exit(127);
}

void redirect(int devNull, const SpawnRequest& r, int reportFd) {
  if (devNull < 0) return;
  if (r.nullInput && ::dup2(devNull, STDIN_FILENO) < 0) failChild(reportFd);
  if (r.nullOutput && ::dup2(devNull, STDOUT_FILENO) < 0) failChild(reportFd);
  if (r.nullErrors && ::dup2(devNull, STDERR_FILENO) < 0) failChild(reportFd);
}

class IgnoreInterrupts {
 public:
  explicit IgnoreInterrupts(bool active) : active_(active) {
    if (!active_) return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGINT, &ignore, &oldInt_);
    ::sigaction(SIGQUIT, &ignore, &oldQuit_);
  }
  ~IgnoreInterrupts() { restore(); }
  IgnoreInterrupts(const IgnoreInterrupts&) = delete;
  IgnoreInterrupts& operator=(const IgnoreInterrupts&) = delete;
  void restore() {
    if (!active_) return;
    ::sigaction(SIGINT, &oldInt_, nullptr);
    ::sigaction(SIGQUIT, &oldQuit_, nullptr);
    active_ = false;
  }

 private:
  bool active_;
  struct sigaction oldInt_ {};
  struct sigaction oldQuit_ {};
};

}  // namespace

SpawnResult spawnProgram(const SpawnRequest& request) {
  if (request.executable.empty()) return {};
  const std::string program = request.executable.string();
  std::vector<std::string> words;
  words.reserve(request.args.size() + 1);
  words.push_back(program);
  words.insert(words.end(), request.args.begin(), request.args.end());
  std::vector<char*> argv;
  argv.reserve(words.size() + 1);
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return {};
  const bool quiet = request.nullInput || request.nullOutput || request.nullErrors;
  const int devNull = quiet ? ::open("/dev/null", O_RDWR | O_CLOEXEC) : -1;

  IgnoreInterrupts guard(request.wait);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(report[0]);
    guard.restore();
    if (!request.wait) {
      // A second fork leaves the program to init, so nothing is left to reap later.
      const pid_t grandchild = ::fork();
      if (grandchild < 0) failChild(report[1]);
      if (grandchild > 0) ::_exit(0);
      ::setsid();
    }
    redirect(devNull, request, report[1]);
    ::execv(program.c_str(), argv.data());
    failChild(report[1]);
  }
  ::close(report[1]);
  if (devNull >= 0) ::close(devNull);
  if (pid < 0) {
    ::close(report[0]);
    return {};
  }

  int childErrno = 0;
  ssize_t got;
  do {
    got = ::read(report[0], &childErrno, sizeof childErrno);
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);

  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (got > 0) return {false, 127};
  if (!request.wait) return {true, 0};
  if (WIFEXITED(status)) return {true, WEXITSTATUS(status)};
  if (WIFSIGNALED(status)) return {true, 128 + WTERMSIG(status)};
  return {true, 0};
}

}  // namespace vellano::platform
