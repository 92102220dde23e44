// Starting a host program with an argument list (never through a command shell).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/commands.h"
#include "platform/programs.h"

namespace vellano::platform {

struct SpawnRequest {
  std::filesystem::path executable;
  std::vector<std::string> args;  // after the program name
  bool wait = true;  // false: the program runs on its own, in its own session
  bool nullInput = false;   // stdin from /dev/null
  bool nullOutput = false;  // stdout to /dev/null
  bool nullErrors = false;  // stderr to /dev/null
  // Windows: the shell opens or prints `args[0]` with its own program ("open", "print").
  std::string shellVerb;
};

struct SpawnResult {
  bool started = false;  // the program was executed
  int exitCode = 0;      // its exit status when waited for; 128 + signal when killed
};

// Runs the program. While waiting, Ctrl+C and Ctrl+\ belong to the child, as with a shell.
SpawnResult spawnProgram(const SpawnRequest& request);

// The line shown when a mapped host program is missing.
std::string missingProgramMessage(std::string_view program, std::string_view package);

// Runs a resolved program as the command runner does. Headless, an interactive program is
// not run (nor looked for: only logged). A missing program with a package is named on the
// console in one line and a key is awaited (on stderr without a console); any other missing
// program starts nothing and `started` stays false. With `wait`, the console is handed over around it: always for a program of ours
// (the key script is written back and read again), in a terminal for an interactive
// one. Other programs get no input and their output goes nowhere near the screen. Without
// `wait` the program is left running on its own, detached from this console.
CommandResult runProgram(const ProgramPlan& plan, Console* console, bool headless, bool wait);

}  // namespace vellano::platform
