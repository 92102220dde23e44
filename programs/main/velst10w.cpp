// VELST10W, the print program.
#include <string>
#include <vector>

#include "programs/print_program.h"
#include "platform/console.h"
#include "printout/print_output.h"
#include "registers/register_headers.h"
#include "registers/takings_register.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vellano::platform::Console console(vellano::platform::makeBackend());
  vellano::printout::PrintOutput output;
  vellano::programs::PrintReports reports;
  reports.closePrintChannel = [&output] { output.closeChannel(); };
  reports.takingsRegister = [&output](vellano::screen::Session& session) {
    vellano::registers::runTakingsRegister(session, output);
  };
  reports.registerHeaders = [&output](vellano::screen::Session& session) {
    vellano::registers::runRegisterHeaders(session, output);
  };
  return vellano::programs::runPrintProgram(console, args, reports);
}
