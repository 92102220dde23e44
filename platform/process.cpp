// Running a resolved program as the command runner does: the console handed over around it,
// a missing program named on screen. Starting it is the host's part (process_posix.cpp,
// win32/process.cpp).
#include "platform/process.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/console.h"

namespace vellano::platform {

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
  SpawnRequest request;
  request.executable = plan.executable;
  request.args = plan.args;
  request.wait = wait;
  request.shellVerb = plan.shellVerb;
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
