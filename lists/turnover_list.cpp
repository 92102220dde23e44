// Turnover list: totals per counterparty over the year's register, printed at pitch 15.
#include "lists/turnover_list.h"

#include <string>

#include "lists/counterparty_pass.h"
#include "records/numbers.h"

namespace vellano::lists {
namespace {

constexpr std::string_view kRule =
    "+------+--------------------------------+--------------------+------+------------+------------+"
    "------------+------------+";
constexpr std::string_view kColumns =
    "|CODICE| RAGIONE SOCIALE                | PARTITA IVA        |N. FAT| IMPONIBILE |   ESENTE   |"
    "   I.V.A.   |   TOTALE   |";
constexpr std::string_view kAmountMask = "#,###,###.##";
constexpr char kCondensedOn = '\x0F';
constexpr char kCondensedOff = '\x12';

// The Courier font lines of the set-up and the reset, at `pitch` characters per inch.
void fontLine(printout::PrintChannel& out, std::string_view pitch) {
  out.escape("(s3T");
  out.escape("(s0S");
  out.escape("(s0P");
  out.escape("(s" + std::string(pitch) + "H");
  out.printLine();
}

void amountsAt(printout::PrintChannel& out, const Turnover& t) {
  out.tab(70);
  out.print(records::printUsing(kAmountMask, t.taxable));
  out.tab(82);
  out.print("|");
  out.tab(83);
  out.print(records::printUsing(kAmountMask, t.exempt));
  out.tab(95);
  out.print("|");
  out.tab(96);
  out.print(records::printUsing(kAmountMask, t.vat));
  out.tab(108);
  out.print("|");
  out.tab(109);
  out.print(records::printUsing(kAmountMask, t.total()));
}

void printLine(printout::PrintChannel& out, long code, const ListedParty& who, const Turnover& t) {
  out.print("|");
  out.tab(3);
  out.print(records::printUsing("####", static_cast<double>(code)));
  out.tab(8);
  out.print("|");
  out.tab(10);
  out.print(who.name);
  out.tab(41);
  out.print("|");
  out.tab(43);
  out.print(who.vatNumber);
  out.tab(62);
  out.print("|");
  out.tab(64);
  out.print(records::printUsing("####", t.registrations));
  out.tab(69);
  out.print("|");
  amountsAt(out, t);
  out.tab(121);
  out.print("|");
  out.printLine();
}

}  // namespace

std::vector<Turnover> sumTurnover(std::span<const records::Registration> registrations, int count) {
  std::vector<Turnover> totals(static_cast<std::size_t>(count > 0 ? count : 0) + 1);
  for (const records::Registration& r : registrations) {
    if (r.annulled()) continue;
    long code = r.counterpartyCode();
    if (code > 9000) code -= 9000;
    if (code < 1 || code > count) continue;
    Turnover& t = totals[static_cast<std::size_t>(code)];
    ++t.registrations;
    for (const records::VatLine& line : r.lines) {
      if (line.taxable == 0) continue;
      if (line.rate == 0) {
        t.exempt += line.taxable;
      } else {
        t.taxable += line.taxable;
        t.vat += line.vat;
      }
    }
  }
  return totals;
}

void writeTurnoverList(records::Catalogue& catalogue, printout::PrintChannel& out, bool laser,
                       records::CounterpartyKind kind) {
  const bool customers = kind == records::CounterpartyKind::Customer;
  const records::RegisterHeader header =
      records::openRegister(catalogue, customers ? records::RegisterKind::Sales : records::RegisterKind::Purchases);
  records::openCounterpartyFiles(catalogue, kind);
  const int count = records::readCount(catalogue, kind);
  const std::vector<Turnover> totals = sumTurnover(records::readRegistrations(catalogue, header.count), count);
  const std::vector<ListedParty> parties = readListedParties(catalogue, kind, count);

  if (laser) {
    fontLine(out, "18");
  } else {
    out.control(kCondensedOn);
  }
  out.control(kCondensedOn);
  out.printLine();

  out.printLine(" STAMPA " + std::string(customers ? kCustomerListTitle : kSupplierListTitle));
  out.printLine(kRule);
  out.printLine(kColumns);
  out.printLine(kRule);
  Turnover grand;
  for (int code = 1; code <= count; ++code) {
    const Turnover& t = totals[static_cast<std::size_t>(code)];
    if (t.registrations == 0) continue;
    printLine(out, code, parties[static_cast<std::size_t>(code - 1)], t);
    grand.taxable += t.taxable;
    grand.exempt += t.exempt;
    grand.vat += t.vat;
  }
  out.printLine(kRule);
  // The grand totals stand under their columns without separators.
  out.tab(70);
  out.print(records::printUsing(kAmountMask, grand.taxable));
  out.tab(83);
  out.print(records::printUsing(kAmountMask, grand.exempt));
  out.tab(96);
  out.print(records::printUsing(kAmountMask, grand.vat));
  out.tab(109);
  out.print(records::printUsing(kAmountMask, grand.total()));
  out.printLine();
  out.printLine("*** FINE STAMPA ***");

  if (laser) {
    fontLine(out, "10");
  } else {
    out.control(kCondensedOff);
  }
  out.formFeed();
}

void printTurnoverList(screen::Session& session, printout::PrintOutput& output,
                       records::CounterpartyKind kind) {
  output.ORBWW(session, printout::PrintRequest{"1..1.1", "15", ""});
  if (!output.confirmed()) return;
  writeTurnoverList(session.catalogue, output.channel(), output.laser(), kind);
  output.ORBWWS(session);
}

}  // namespace vellano::lists
