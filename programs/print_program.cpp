// VELST10W: start-up, print menu, hand-over requests and the return to the entry program.
#include "programs/print_program.h"

#include <exception>
#include <string>

#include "records/registration_files.h"
#include "records/startup_context.h"
#include "screen/print_handover.h"
#include "programs/program_shell.h"
#include "platform/commands.h"
#include "platform/headless.h"

namespace vellano::programs {
namespace {

enum Item {
  kSalesRegister = 1, kPurchaseRegister = 2, kTakingsRegister = 3, kLiquidation = 4,
  kCustomerList = 5, kSupplierList = 6, kBalance = 7, kRegisterHeaders = 8,
  kVatCommunication = 10, kCounterpartyFile = 11, kTaxReturnExport = 12,
};

class PrintProgram {
 public:
  PrintProgram(platform::Console& console, std::span<const std::string> args, const PrintReports& reports)
      : shell_(console, args, kPrintVersion, kPrintProgramName), reports_(reports) {}

  int run();

 private:
  // True when the request was served by a report (the program then leaves).
  bool serveRequest(const std::string& request);
  void mainLoop();
  // False when the item has no report yet.
  bool runItem(int item);
  bool registerPrint(const records::RegisterStems& stems, std::string_view stateStem);
  void closePrintChannel();
  [[noreturn]] void returnToEntry();

  ProgramShell shell_;
  const PrintReports& reports_;
  int currentItem_ = 1;
};

int PrintProgram::run() {
  try {
    if (!shell_.startUp()) returnToEntry();
    const std::string request = shell_.context().directStartRequest;
    bool served = false;
    try {
      served = serveRequest(request);
    } catch (const platform::KeysExhausted&) {
      throw;
    } catch (const screen::ProgramEnd&) {
      throw;
    } catch (const std::exception& e) {
      if (!shell_.survive(e)) returnToEntry();
    }
    if (served) returnToEntry();
    mainLoop();
    returnToEntry();
  } catch (const screen::ProgramEnd& end) {
    return end.status;
  }
}

bool PrintProgram::serveRequest(const std::string& request) {
  screen::Session& session = shell_.session();
  if (request == "1V") return registerPrint(records::kSalesStems, "SDEFVE");
  if (request == "1A") return registerPrint(records::kPurchaseStems, "SDEFAC");
  if (request == "2B" || request == "2U") {
    if (!reports_.balance) return false;
    closePrintChannel();
    reports_.balance(session, request == "2B" ? 1 : 2);
    return true;
  }
  if (request == "3.") {
    if (!reports_.cashAndBankBalance) return false;
    closePrintChannel();
    reports_.cashAndBankBalance(session);
    return true;
  }
  if (request == "41" || request == "43" || request == "42" || request == "44") {
    if (!reports_.counterpartyPrint) return false;
    const bool customers = request == "41" || request == "43";
    closePrintChannel();
    reports_.counterpartyPrint(session, request, customers ? "PSALCL" : "PSALFO", customers ? 'C' : 'F');
    // The request goes back into the hand-over record, so the entry program started next
    // opens the customer or supplier screen the print was asked from.
    records::storeHandOverRequest(shell_.catalogue(), request);
    return true;
  }
  return false;
}

void PrintProgram::mainLoop() {
  bool redraw = true;
  while (true) {
    try {
      if (redraw) shell_.drawFrame();
      const int result = shell_.runMainMenu(printMenuItems(), currentItem_);
      if (result == screen::kMenuEsc) return;
      if (result < 1) {
        redraw = false;
        continue;
      }
      redraw = runItem(result);
      if (!redraw) shell_.console().beep();
    } catch (const platform::KeysExhausted&) {
      throw;
    } catch (const screen::ProgramEnd&) {
      throw;
    } catch (const std::exception& e) {
      if (!shell_.survive(e)) return;
      redraw = true;
    }
  }
}

bool PrintProgram::runItem(int item) {
  screen::Session& session = shell_.session();
  auto plain = [&](const PrintReports::Report& report) {
    if (!report) return false;
    closePrintChannel();
    report(session);
    return true;
  };
  switch (item) {
    case kSalesRegister: return registerPrint(records::kSalesStems, "SDEFVE");
    case kPurchaseRegister: return registerPrint(records::kPurchaseStems, "SDEFAC");
    case kTakingsRegister: return plain(reports_.takingsRegister);
    case kLiquidation: return plain(reports_.liquidation);
    case kCustomerList:
    case kSupplierList:
      if (!reports_.counterpartyList) return false;
      closePrintChannel();
      reports_.counterpartyList(session, item == kCustomerList ? "ELENCO   CLIENTI" : "ELENCO FORNITORI");
      return true;
    case kBalance:
    case kTaxReturnExport:
      if (!reports_.balance) return false;
      closePrintChannel();
      reports_.balance(session, item == kBalance ? 1 : 2);
      return true;
    case kRegisterHeaders: return plain(reports_.registerHeaders);
    case kVatCommunication: return plain(reports_.vatCommunication);
    case kCounterpartyFile: return plain(reports_.counterpartyFile);
    default: return false;
  }
}

bool PrintProgram::registerPrint(const records::RegisterStems& stems, std::string_view stateStem) {
  if (!reports_.vatRegister) return false;
  closePrintChannel();
  records::Catalogue& catalogue = shell_.catalogue();
  records::setRegisterStems(catalogue, stems);
  catalogue.open(records::channel::kRegisterHeader);
  catalogue.open(records::channel::kRegistrations);
  catalogue.open(records::channel::kBalances);
  catalogue.open(records::channel::kPayments);
  reports_.vatRegister(shell_.session(), stateStem);
  // A register print asked for from the registration screen goes straight back there.
  const std::string& request = shell_.context().directStartRequest;
  if (request == "1V" || request == "1A") returnToEntry();
  return true;
}

void PrintProgram::closePrintChannel() {
  if (reports_.closePrintChannel) reports_.closePrintChannel();
}

void PrintProgram::returnToEntry() {
  // Leaving must not fail on a print file that could not be finished.
  try {
    closePrintChannel();
  } catch (const std::exception&) {
  }
  shell_.catalogue().closeAll();
  const records::Context& context = shell_.context();
  platform::runCommand("VELLA10W.EXE" + context.hostSwitch + " " + context.terminalNumber,
                       shell_.console());
  throw screen::ProgramEnd{0};
}

}  // namespace

const std::vector<screen::MenuItem>& printMenuItems() {
  static const std::vector<screen::MenuItem> items = {
      {"STAMPA registro Vendite......", 17, false},
      {"STAMPA registro Acquisti.....", 17, false},
      {"STAMPA registro Corrispettivi", 17, false},
      {"IVA..........................", 1, false},
      {"elenco cLienti...............", 9, false},
      {"elenco Fornitori.............", 8, false},
      {"Bilancio.....................", 1, false},
      {"iNtestazione registri........", 2, false},
      {std::string(29, '\xC4'), 0, true},
      {"invio Telematico iva.........", 7, false},
      {"El cli/for Tel (Spesometro)..", 1, false},
      {"creazione file per mod. Unico", 25, false},
  };
  return items;
}

int runPrintProgram(platform::Console& console, std::span<const std::string> args,
                    const PrintReports& reports) {
  PrintProgram program(console, args, reports);
  return program.run();
}

}  // namespace vellano::programs
