// The turnover list of customers or suppliers, "ELENCO   CLIENTI" / "ELENCO FORNITORI": one
// line per code with registrations in the year, with their number, taxable, exempt, VAT and
// total amounts, over the sales or purchase registrations.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "records/customer_files.h"
#include "records/registration_files.h"
#include "screen/session.h"
#include "printout/print_output.h"

namespace vellano::lists {

inline constexpr std::string_view kCustomerListTitle = "ELENCO   CLIENTI";
inline constexpr std::string_view kSupplierListTitle = "ELENCO FORNITORI";

struct Turnover {
  int registrations = 0;
  double taxable = 0;  // Imponibile: lines with a rate
  double exempt = 0;   // Esente: lines at rate 0
  double vat = 0;
  double total() const { return taxable + exempt + vat; }
};

// Totals by code 1..count (element 0 unused). Annulled registrations count nowhere; a
// supplier's code 9000 + n counts for n; a code outside 1..count is left out.
std::vector<Turnover> sumTurnover(std::span<const records::Registration> registrations, int count);

// The body between the start and the end of print: the pass over the year's register and
// the print with the set-up and reset of a laser (`laser`) or of a dot-matrix printer.
void writeTurnoverList(records::Catalogue& catalogue, printout::PrintChannel& out, bool laser,
                       records::CounterpartyKind kind);

// The whole report: destination, pass over the year's register, print and print end.
void printTurnoverList(screen::Session& session, printout::PrintOutput& output,
                       records::CounterpartyKind kind);

}  // namespace vellano::lists
