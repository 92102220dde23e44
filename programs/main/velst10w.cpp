// VELST10W, the print program.
#include <string>
#include <vector>

#include "programs/print_program.h"
#include "platform/console.h"
#include "printout/print_output.h"
#include "registers/vat_register.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vellano::platform::Console console(vellano::platform::makeBackend());
  vellano::printout::PrintOutput output;
  vellano::programs::PrintReports reports;
  reports.closePrintChannel = [&output] { output.closeChannel(); };
  reports.vatRegister = [&output](vellano::screen::Session& session, std::string_view marksStem) {
    vellano::registers::vatRegister(session, output, marksStem);
  };
  return vellano::programs::runPrintProgram(console, args, reports);
}
