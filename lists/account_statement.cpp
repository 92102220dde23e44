// Account statement: the movements of one counterparty at pitch 17 (condensed on a printer).
#include "lists/account_statement.h"

#include <map>

#include "records/causal_file.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "records/registration_files.h"
#include "records/text.h"
#include "screen/kit.h"

namespace vellano::lists {
namespace {

constexpr std::string_view kRule =
    "-------------+--------+-----+-----------+----------------------------------------------------------------------+";
constexpr std::string_view kColumns =
    "|  Data  |N.Doc|  Importo  | Note                                                                 |";
constexpr std::string_view kColumnRule =
    "+--------+-----+-----------+----------------------------------------------------------------------+";
constexpr std::array<std::string_view, 4> kTitles{" VENDITE           ", " ACQUISTI          ",
                                                  " PAGAMENTI VENDITE ", " PAGAMENTI ACQUISTI"};
constexpr std::array<std::string_view, 4> kTotalLabels{"TOT. VENDITE           : ", "TOT. ACQUISTI          : ",
                                                       "TOT. PAGAMENTI VEN     : ", "TOT. PAGAMENTI ACQ     : "};
constexpr std::string_view kLineMask = "####,###.##";
constexpr std::string_view kTotalMask = "####,###,###.##";
constexpr char kCondensedOn = '\x0F';
constexpr char kCondensedOff = '\x12';

// Causal descriptions, each read once in a run.
class CausalNames {
 public:
  explicit CausalNames(records::Catalogue& catalogue) : catalogue_(catalogue) {}
  const std::string& operator()(int n) {
    static const std::string none;
    if (n < 1) return none;
    auto [it, added] = names_.try_emplace(n);
    if (added) it->second = records::readCausal(catalogue_, n).description;
    return it->second;
  }

 private:
  records::Catalogue& catalogue_;
  std::map<int, std::string> names_;
};

void addRegistrations(records::Catalogue& catalogue, records::RegisterKind kind, long searched,
                      CausalNames& causals, StatementSection& section) {
  const records::RegisterHeader header = records::openRegister(catalogue, kind);
  for (const records::Registration& r : records::readRegistrations(catalogue, header.count)) {
    if (r.annulled() || r.counterpartyCode() != searched) continue;
    StatementLine line;
    line.date = r.documentDate;
    line.number = records::val(r.documentNumber);
    for (const records::VatLine& vatLine : r.lines) line.amount += vatLine.taxable + vatLine.vat;
    line.note = causals(r.lines[0].causal());
    line.protocol = records::val(r.protocolNumber);
    section.total += line.amount;
    section.lines.push_back(std::move(line));
  }
}

void addPayments(records::Catalogue& catalogue, records::RegisterKind kind, long code, StatementSection& section) {
  const records::RegisterHeader header = records::openRegister(catalogue, kind);
  const std::vector<records::Payment> payments = records::readPayments(catalogue, header.payments);
  for (std::size_t k = 0; k < payments.size(); ++k) {
    const records::Payment& p = payments[k];
    if (records::val(p.counterparty) != static_cast<double>(code)) continue;
    StatementLine line;
    line.date = p.date;
    line.number = static_cast<double>(k + 1);
    line.amount = records::val(p.amount);
    line.note = p.description;
    section.total += line.amount;
    section.lines.push_back(std::move(line));
  }
}

// The body of the print, with the screen pause of every 23 lines.
class StatementPrint {
 public:
  StatementPrint(screen::Session& session, printout::PrintChannel& out) : session_(session), out_(out) {}

  void heading(const records::Counterparty& who) {
    out_.printLine("ESTRATTO CONTO");
    out_.printLine(records::fitLeft(who.name, 30) + " - " + records::fitLeft(who.street, records::kStreetWidth) +
                   " - " + records::fitLeft(who.town, 20));
    out_.printLine();
  }

  // False when ESC at a pause ended the report.
  bool sections(const std::array<StatementSection, 4>& sections) {
    for (std::size_t s = 0; s < sections.size(); ++s) {
      bool headingDue = true;
      for (const StatementLine& line : sections[s].lines) {
        if (headingDue) sectionHeading(kTitles[s]);
        headingDue = false;
        printLine(line);
        if (++counted_ == kStatementLinesPerScreen) {
          if (!pause()) return false;
          counted_ = 0;
          headingDue = true;
        }
      }
    }
    return true;
  }

  void totals(const std::array<StatementSection, 4>& sections) {
    bool any = false;
    for (const StatementSection& s : sections) any = any || s.total != 0;
    if (!any) return;
    out_.printLine(kRule);
    for (std::size_t s = 0; s < sections.size(); ++s) {
      if (sections[s].total > 0)
        out_.printLine(std::string(kTotalLabels[s]) + records::printUsing(kTotalMask, sections[s].total));
    }
    const double saldo = sections[0].total + sections[1].total - sections[2].total - sections[3].total;
    out_.printLine("                         ----------------");
    out_.printLine("SALDO..................: " + records::printUsing(kTotalMask, saldo));
    out_.printLine("                         ================");
    out_.formFeed();
  }

 private:
  void sectionHeading(std::string_view title) {
    out_.printLine(kRule);
    out_.printLine(title);
    out_.printLine(kRule);
    out_.tab(14);
    out_.printLine(kColumns);
    out_.tab(14);
    out_.printLine(kColumnRule);
  }

  void printLine(const StatementLine& line) {
    out_.tab(14);
    out_.print("|");
    out_.tab(15);
    out_.print(records::dateText(line.date));
    out_.tab(23);
    out_.print("|");
    out_.tab(24);
    out_.print(records::printUsing("#####", line.number));
    out_.tab(29);
    out_.print("|");
    out_.tab(30);
    out_.print(records::printUsing(kLineMask, line.amount));
    out_.tab(41);
    out_.print("|");
    out_.tab(42);
    out_.print(line.note);
    out_.tab(112);
    out_.print("| ");
    if (line.protocol) out_.print(records::printUsing("######", *line.protocol));
    out_.printLine();
  }

  // "ESC Fine" and a key: ESC stops, any other key clears the screen and goes on.
  bool pause() {
    platform::ScreenBuffer& screen = session_.console.screen();
    const std::uint8_t attr = screen::screenColours(session_.context()).text;
    screen.putText(25, 1, "ESC Fine", attr);
    const platform::KeyEvent key = session_.console.readKey();
    if (key.is(platform::Key::Esc) || key.isChar(27)) return false;
    screen.fill(' ', attr);
    return true;
  }

  screen::Session& session_;
  printout::PrintChannel& out_;
  int counted_ = 0;
};

}  // namespace

std::array<StatementSection, 4> statementSections(records::Catalogue& catalogue, records::CounterpartyKind kind,
                                                  long code) {
  std::array<StatementSection, 4> sections;
  for (std::size_t s = 0; s < sections.size(); ++s) sections[s].title = kTitles[s];
  const bool customers = kind == records::CounterpartyKind::Customer;
  const long searched = customers ? code : 9000 + code;
  CausalNames causals(catalogue);
  addRegistrations(catalogue, records::RegisterKind::Sales, searched, causals, sections[0]);
  addRegistrations(catalogue, records::RegisterKind::Purchases, searched, causals, sections[1]);
  if (customers) {
    addPayments(catalogue, records::RegisterKind::Sales, code, sections[2]);
  } else {
    addPayments(catalogue, records::RegisterKind::Purchases, code, sections[3]);
  }
  return sections;
}

void printAccountStatement(screen::Session& session, printout::PrintOutput& output,
                           records::CounterpartyKind kind, long code) {
  output.ORBWW(session, printout::PrintRequest{"1..1.1", "10", ""});
  if (!output.confirmed()) return;

  records::Catalogue& catalogue = session.catalogue;
  records::openCounterpartyFiles(catalogue, kind);
  const bool known = code >= 1 && code <= records::readCount(catalogue, kind);
  const records::Counterparty who = known ? records::readCounterparty(catalogue, kind, code) : records::Counterparty{};

  printout::PrintChannel& out = output.channel();
  if (output.laser()) {
    output.LASON("X", "17");
  } else {
    out.control(kCondensedOn);
  }
  StatementPrint print(session, out);
  print.heading(who);
  if (known) {
    const std::array<StatementSection, 4> sections = statementSections(catalogue, kind, code);
    if (print.sections(sections)) print.totals(sections);
  }
  if (output.laser()) {
    output.LASOFF("X");
  } else {
    out.control(kCondensedOff);
  }
  output.ORBWWS(session);
}

}  // namespace vellano::lists
