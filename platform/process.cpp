// fork + exec with an argument vector. A pipe closed on exec tells the parent whether the
// program really started, so a missing or broken executable is reported, not guessed.
#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>

#include "platform/console.h"

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

std::string missingProgramMessage(std::string_view program, std::string_view package) {
  return "Manca il programma " + std::string(program) + ": installare il pacchetto " + std::string(package) +
         " (apt-get install " + std::string(package) + "). Premere un tasto.";
}

namespace {

constexpr int kMessageRow = 25;
constexpr std::uint8_t kMessageAttr = 0x4F;  // white on red

// One line across the middle of the screen until a key is pressed; the row is given back.
void showMissing(Console* console, const ProgramPlan& plan) {
  const std::string text = missingProgramMessage(plan.hostProgram, plan.package);
  if (console == nullptr) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return;
  }
  ScreenBuffer& screen = console->screen();
  std::array<Cell, kCols> saved;
  for (int col = 1; col <= kCols; ++col) saved[static_cast<std::size_t>(col - 1)] = screen.at(kMessageRow, col);
  std::string line(kCols, ' ');
  line.replace(1, std::min(text.size(), line.size() - 1), text.substr(0, line.size() - 1));
  screen.putText(kMessageRow, 1, line, kMessageAttr);
  const CursorState cursor = console->cursor();
  console->showCursor(false);
  console->beep();
  console->readKey();
  console->showCursor(cursor.visible);
  for (int col = 1; col <= kCols; ++col) screen.at(kMessageRow, col) = saved[static_cast<std::size_t>(col - 1)];
}

}  // namespace

CommandResult runProgram(const ProgramPlan& plan, Console* console, bool headless, bool wait) {
  if (plan.interactive && headless) return {};
  if (plan.executable.empty()) {
    if (!plan.package.empty()) showMissing(console, plan);
    return {};
  }
  const bool terminal = console != nullptr && !headless;
  SpawnRequest request{plan.executable, plan.args, wait};
  if (!wait) {
    // Runs beside us as in a window of its own: it gets nothing of this console.
    request.nullInput = request.nullOutput = request.nullErrors = true;
  } else if (!plan.systemProgram && !plan.interactive) {
    // Converters and archivers chatter into a window of their own on DOS; here it must not
    // land on the screen we draw, and nobody is there to answer them.
    request.nullInput = request.nullOutput = true;
    request.nullErrors = terminal;
  }
  const bool handOver =
      wait && console != nullptr && (plan.systemProgram || (plan.interactive && terminal));
  if (handOver) console->backend().releaseForChild(plan.systemProgram);
  const SpawnResult spawned = spawnProgram(request);
  if (handOver) console->backend().reclaimAfterChild(plan.systemProgram);
  return {spawned.started, spawned.exitCode};
}

}  // namespace vellano::platform
