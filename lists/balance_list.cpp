// Balance list: one line per non-zero balance, pages of 60 lines at pitch 10.
#include "lists/balance_list.h"

#include <string>

#include "lists/counterparty_pass.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/kit.h"
#include "screen/window.h"

namespace vellano::lists {
namespace {

constexpr std::string_view kRule = "+-----------------------------------+-----------+-----------+-----------+";
constexpr std::string_view kColumns = "| Ragione Sociale                   | Dare      | Avere     | Saldo     |";
// The hand-over names no kind, so nothing stands between the two halves of the title.
constexpr std::string_view kKindWord = "";
constexpr std::string_view kAmountMask = "####,###.##";

void heading(printout::PrintChannel& out) {
  out.printLine(" LISTA " + std::string(kKindWord) + " con Saldo diverso da 0 (zero)");
  out.printLine(kRule);
  out.printLine(kColumns);
  out.printLine(kRule);
}

}  // namespace

void printBalanceList(screen::Session& session, printout::PrintOutput& output, records::CounterpartyKind kind) {
  screen::Window window(session.console.screen(), screen::screenWindow(session.context(), 1, 1, 25, 80, 2),
                        "LISTA MOVIMENTI");
  output.ORBWW(session, printout::PrintRequest{"1..1.1", "10", ""});
  if (!output.confirmed()) return;

  records::Catalogue& catalogue = session.catalogue;
  const bool customers = kind == records::CounterpartyKind::Customer;
  catalogue.open(customers ? records::channel::kCustomers : records::channel::kSuppliers);
  catalogue.open(customers ? records::channel::kCustomerCount : records::channel::kSupplierCount);
  catalogue.open(records::channel::kBalances);
  const int count = records::readCount(catalogue, kind);
  const std::vector<ListedParty> parties = readListedParties(catalogue, kind, count);
  const std::vector<records::BalanceTotals> balances = readBalances(catalogue, count);

  printout::PrintChannel& out = output.channel();
  int lines = 0;
  for (int code = 1; code <= count; ++code) {
    const records::BalanceTotals& b = balances[static_cast<std::size_t>(code - 1)];
    const double saldo = b.dare - b.avere;
    if (saldo == 0) continue;
    if (lines == 0) heading(out);
    out.printLine("|" + records::printUsing("####", code) + " " +
                  records::fitLeft(parties[static_cast<std::size_t>(code - 1)].name, 30) + "|" +
                  records::printUsing(kAmountMask, b.dare) + "|" + records::printUsing(kAmountMask, b.avere) + "|" +
                  records::printUsing(kAmountMask, saldo) + "|" + (saldo >= 0 ? "D" : "A"));
    if (++lines == kBalanceLinesPerPage) {
      out.printLine(kRule);
      out.formFeed();
      lines = 0;
    }
  }
  if (lines > 0) {
    out.printLine(kRule);
    out.formFeed();
  }
  output.ORBWWS(session);
}

}  // namespace vellano::lists
