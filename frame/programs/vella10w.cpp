// VELLA10W, the entry program.
#include <string>
#include <vector>

#include "frame/entry_program.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vellano::platform::Console console(vellano::platform::makeBackend());
  vellano::frame::EntryScreens screens;
  return vellano::frame::runEntryProgram(console, args, screens);
}
