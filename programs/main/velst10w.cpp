// VELST10W, the print program.
#include <string>
#include <vector>

#include "lists/balance_report.h"
#include "programs/print_program.h"
#include "platform/console.h"
#include "printout/print_output.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vellano::platform::Console console(vellano::platform::makeBackend());
  vellano::printout::PrintOutput output;
  vellano::programs::PrintReports reports;
  reports.closePrintChannel = [&output] { output.closeChannel(); };
  reports.balance = [&output](vellano::screen::Session& session, int mode) {
    vellano::lists::runBalance(session, output, mode);
  };
  reports.cashAndBankBalance = [&output](vellano::screen::Session& session) {
    vellano::lists::runCashAndBankBalance(session, output);
  };
  return vellano::programs::runPrintProgram(console, args, reports);
}
