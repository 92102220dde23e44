// Runs the command lines the programs build (CMD /C ..., START, DEL, COPY, .BAT files,
// outside programs), waiting for each. Never through a shell: arguments go to the program
// as a list, so nothing a user typed can become a command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellano::platform {

class Console;

struct CommandResult {
  bool started = false;   // a program was found and run (or a built-in done)
  int exitCode = 0;       // not read by the callers; kept for tests
};

// Appends `commandLine` to $VELLANO_COMMANDS (when set), then runs it. The console is
// handed to the child (terminal released, key script written back for our own programs).
CommandResult runCommand(std::string_view commandLine, Console& console);

// Same without a console (no terminal to release): used by outside stand-ins and tests.
CommandResult runCommand(std::string_view commandLine);

// Splits a DOS command line into words: blanks separate, double quotes group.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

}  // namespace vellano::platform
