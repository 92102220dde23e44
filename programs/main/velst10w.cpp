// VELST10W, the print program.
#include <string>
#include <vector>

#include "lists/account_statement.h"
#include "lists/balance_list.h"
#include "lists/balance_report.h"
#include "lists/turnover_list.h"
#include "programs/print_program.h"
#include "platform/console.h"
#include "printout/print_output.h"
#include "records/numbers.h"
#include "registers/register_headers.h"
#include "registers/takings_register.h"
#include "registers/vat_register.h"
#include "registers/vat_situation.h"
#include "telematic/customer_list_file.h"
#include "telematic/vat_communication.h"

int main(int argc, char** argv) {
  using namespace vellano;
  std::vector<std::string> args(argv + 1, argv + argc);
  platform::Console console(platform::makeBackend());
  printout::PrintOutput output;
  programs::PrintReports reports;
  reports.closePrintChannel = [&output] { output.closeChannel(); };
  reports.counterpartyList = [&output](screen::Session& session, std::string_view title) {
    lists::printTurnoverList(session, output,
                             title == lists::kSupplierListTitle ? records::CounterpartyKind::Supplier
                                                                : records::CounterpartyKind::Customer);
  };
  reports.counterpartyPrint = [&output](screen::Session& session, std::string_view request,
                                        std::string_view balanceStem, char kindLetter) {
    const auto kind = kindLetter == 'F' ? records::CounterpartyKind::Supplier : records::CounterpartyKind::Customer;
    if (request == "41" || request == "42") {
      session.catalogue.setStem(records::channel::kBalances, std::string(balanceStem));
      lists::printBalanceList(session, output, kind);
    } else {
      const std::string& code = session.context().handOver.field[records::HandOver::kCode];
      lists::printAccountStatement(session, output, kind, records::wholeNumberIn(records::val(code), 0, 99999));
    }
  };
  reports.balance = [&output](screen::Session& session, int mode) { lists::runBalance(session, output, mode); };
  reports.cashAndBankBalance = [&output](screen::Session& session) { lists::runCashAndBankBalance(session, output); };
  reports.takingsRegister = [&output](screen::Session& session) { registers::runTakingsRegister(session, output); };
  reports.registerHeaders = [&output](screen::Session& session) { registers::runRegisterHeaders(session, output); };
  reports.vatRegister = [&output](screen::Session& session, std::string_view marksStem) {
    registers::vatRegister(session, output, marksStem);
  };
  // The F24 row of the last liquidation printed lives as long as the program.
  registers::LiquidationSession liquidation{output, {}};
  reports.liquidation = [&liquidation](screen::Session& session) { registers::runVatSituation(session, liquidation); };
  reports.vatCommunication = [&output](screen::Session& session) { telematic::runVatCommunication(session, output); };
  reports.counterpartyFile = [](screen::Session& session) { telematic::runCustomerListFile(session); };
  return programs::runPrintProgram(console, args, reports);
}
