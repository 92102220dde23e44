// The payments list: heading on the first line listed, 55 lines a page, rule and
// "Ultima pagina." at the end.
#include "lists/payments_list.h"

#include <cmath>

#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"

namespace vellano::lists {
namespace {

constexpr std::string_view kRule =
    "+--------+-----------------------------------+----------------------------------------------------------------------+------------+";
constexpr std::string_view kColumns =
    "|  DATA  | Ragione Sociale                   | Descrizione                                                          |  Importo   |";

long wholeValue(std::string_view text) {
  const double v = records::val(text);
  return std::isfinite(v) && std::fabs(v) < 1e9 ? static_cast<long>(std::trunc(v)) : 0;
}

// Codes below 8000 are the register's own counterparties; above 8000 and below 9000 cash or
// bank accounts, above 9000 suppliers (in the sales register).
const std::string& counterpartyName(ReportNames& names, bool sales, long code) {
  static const std::string none;
  if (!sales) return names.supplier(code);
  if (code < 8000) return names.customer(code);
  if (code > 8000 && code < 9000) return names.cashBank(code - 8000);
  if (code > 9000) return names.supplier(code - 9000);
  return none;
}

void heading(printout::PrintChannel& channel, const PaymentsListRequest& request) {
  channel.print(request.period);
  channel.tab(55);
  channel.printLine("LISTA PAGAMENTI - " + std::string(request.title));
  channel.printLine(request.companyLine);
  channel.printLine(kRule);
  channel.printLine(kColumns);
  channel.printLine(kRule);
}

void paymentLine(printout::PrintChannel& channel, ReportNames& names, bool sales, const records::Payment& p) {
  const long code = wholeValue(p.counterparty);
  const long account = wholeValue(p.cashBank);
  channel.tab(1);
  channel.print("|");
  channel.tab(2);
  channel.print(records::dateText(p.date));
  channel.tab(10);
  channel.print("|");
  channel.tab(11);
  channel.print(records::printUsing("####", static_cast<double>(code)));
  channel.tab(16);
  channel.print(records::left(counterpartyName(names, sales, code), 30));
  channel.tab(46);
  channel.print("|");
  channel.tab(47);
  if (account > 0) {
    channel.print(records::left(p.description, 50));
    channel.tab(98);
    channel.print(records::left(names.cashBank(account), 19));
  } else {
    channel.print(records::left(p.description, 70));
  }
  channel.tab(117);
  channel.print("|");
  channel.tab(118);
  // The amount is 13 wide and runs to column 130: the bar follows it on the same line.
  channel.print(records::printUsing("##,###,###.##", records::val(p.amount)));
  channel.printLine("|");
}

}  // namespace

void printPaymentsList(printout::PrintChannel& channel, ReportNames& names, const PaymentsListRequest& request,
                       const std::vector<records::Payment>& payments) {
  const long from = records::dateKey(request.fromDate);
  const long to = records::dateKey(request.toDate);
  int lines = 0;
  bool headed = false;
  for (const records::Payment& p : payments) {
    const long key = records::dateKey(p.date);
    if (key < from || key > to) continue;
    if (!headed) {
      heading(channel, request);
      headed = true;
    }
    paymentLine(channel, names, request.sales, p);
    if (++lines >= kPaymentLinesPerPage) {
      channel.printLine(kRule);
      channel.formFeed();
      lines = 0;
    }
  }
  channel.printLine(kRule);
  channel.printLine("Ultima pagina.");
}

}  // namespace vellano::lists
