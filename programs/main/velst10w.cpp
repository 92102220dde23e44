// VELST10W, the print program.
#include <string>
#include <vector>

#include "programs/print_program.h"
#include "platform/console.h"
#include "printout/print_output.h"
#include "registers/vat_situation.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vellano::platform::Console console(vellano::platform::makeBackend());
  vellano::printout::PrintOutput output;
  vellano::programs::PrintReports reports;
  reports.closePrintChannel = [&output] { output.closeChannel(); };
  // The F24 row of the last liquidation printed lives as long as the program.
  vellano::registers::LiquidationSession liquidation{output, {}};
  reports.liquidation = [&liquidation](vellano::screen::Session& session) {
    vellano::registers::runVatSituation(session, liquidation);
  };
  return vellano::programs::runPrintProgram(console, args, reports);
}
