// The account statement "ESTRATTO CONTO" of one customer or supplier: its sales and purchase
// registrations and its payments, section by section, with a pause on screen every 23 lines,
// then the section totals and the SALDO.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/catalogue.h"
#include "records/customer_files.h"
#include "screen/session.h"
#include "printout/print_output.h"

namespace vellano::lists {

inline constexpr int kStatementLinesPerScreen = 23;

struct StatementLine {
  std::string date;               // ddmmyy as stored
  double number = 0;              // N.Doc: the document number's value, or the payment's record
  double amount = 0;
  std::string note;
  std::optional<double> protocol;  // registrations only
};

struct StatementSection {
  std::string_view title;
  std::vector<StatementLine> lines;
  double total = 0;
};

// The four sections in print order: VENDITE, ACQUISTI, PAGAMENTI VENDITE (customers only,
// else empty), PAGAMENTI ACQUISTI (suppliers only, else empty). Opens the register channels
// it needs; causal descriptions are read once each.
std::array<StatementSection, 4> statementSections(records::Catalogue& catalogue, records::CounterpartyKind kind,
                                                  long code);

// The whole report for `code` of `kind`: destination, body with its pauses, totals, print
// end. A code outside 1..count prints the heading alone.
void printAccountStatement(screen::Session& session, printout::PrintOutput& output,
                           records::CounterpartyKind kind, long code);

}  // namespace vellano::lists
