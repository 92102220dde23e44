// The balance reports in their windows: destination, totals, print or export file.
#include "lists/balance_report.h"

#include "records/counters.h"
#include "screen/kit.h"
#include "screen/window.h"
#include "lists/causal_balance.h"
#include "lists/tax_return_export.h"

namespace vellano::lists {
namespace {

constexpr int kTop = 12;
constexpr int kLeft = 35;
constexpr int kBottom = 23;
constexpr int kRight = 101;
constexpr int kTitleTopCentre = 2;

screen::Window reportWindow(screen::Session& session, std::string_view title) {
  return screen::Window(session.console.screen(),
                        screen::screenWindow(session.context(), kTop, kLeft, kBottom, kRight, kTitleTopCentre), title);
}

printout::PrintRequest balanceRequest() {
  printout::PrintRequest request;
  request.options = "1..1.1";
  request.pitch = "15";
  return request;
}

}  // namespace

void runBalance(screen::Session& session, printout::PrintOutput& output, int mode) {
  records::Catalogue& catalogue = session.catalogue;
  if (mode != kBalanceMode) {
    const screen::Window window = reportWindow(session, "CREAZIONE FILE X UNICO (TRIBUTEK)");
    const CausalTotals totals = totalYear(catalogue);
    AccountNames names(catalogue, totals.causalCount());
    exportForTaxReturn(session, totals, names);
    return;
  }
  const screen::Window window = reportWindow(session, "BILANCIO");
  output.ORBWW(session, balanceRequest());
  if (!output.confirmed()) return;
  const CausalTotals totals = totalYear(catalogue);
  AccountNames names(catalogue, totals.causalCount());
  const records::Context& context = session.context();
  printBalance(output.channel(), balanceHeading(context.company.name, " - BILANCIO - ", context.workingDate), totals,
               names);
  output.ORBWWS(session);
}

void runCashAndBankBalance(screen::Session& session, printout::PrintOutput& output) {
  records::Catalogue& catalogue = session.catalogue;
  const screen::Window window = reportWindow(session, "BILANCIO CASSA E BANCHE");
  output.ORBWW(session, balanceRequest());
  if (!output.confirmed()) return;
  const std::vector<records::CashBank> accounts =
      readCashBanks(catalogue, records::readCounter(catalogue, records::kCashBankCounter));
  const records::Context& context = session.context();
  printCashAndBanks(output.channel(),
                    balanceHeading(context.company.name, " - BILANCIO CASSA E BANCHE - ", context.workingDate),
                    accounts);
  output.ORBWWS(session);
}

}  // namespace vellano::lists
