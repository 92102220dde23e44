// Search lists of the registration screen.
#include "entry/registration_lists.h"

#include <algorithm>
#include <string_view>

#include "records/registration_files.h"
#include "records/cp437_text.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/list_select.h"
#include "records/customer_files.h"
#include "records/lookups.h"
#include "records/vat_code_file.h"

namespace vellano::entry {
namespace {

constexpr const char* kGridMask = "###,###.##";

}  // namespace

std::string registrationListHeading() {
  return records::cp437("Prog│Data Doc N°Doc│Data Reg│Importo   │Ragione Sociale");
}

std::vector<std::string> registrationListEntries(records::Catalogue& catalogue, int count) {
  static const std::string bar = records::cp437("│");
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  // Every line from one read of the register, and the names from one read of each file they
  // come from, so the list costs a few reads however long it is.
  records::Lookups names(catalogue);
  const auto appendFitted = [](std::string& line, std::string_view text, std::size_t width) {
    const std::size_t kept = std::min(text.size(), width);
    line.append(text.data(), kept);
    line.append(width - kept, ' ');
  };
  records::forEachRegistration(catalogue, count, [&](long i, const records::Registration& r) {
    std::string line;
    line.reserve(96);
    line += records::printUsing("####", static_cast<double>(i));
    line += bar;
    line += records::dateText(r.documentDate);
    line += ' ';
    appendFitted(line, r.documentNumber, 5);
    line += bar;
    line += records::dateText(r.date);
    line += bar;
    line += records::printUsing(kGridMask, r.totals().total);
    line += bar;
    // The name cut or padded to 20 characters, so every line is as wide as the heading.
    appendFitted(line, names.counterpartyName(r.counterpartyCode()), 20);
    entries.push_back(std::move(line));
  });
  return entries;
}

std::string vatListHeading() {
  return records::cp437("Pr.│Cod. │Al.│%Ve│%Com│Note                ");
}

std::vector<std::string> vatListEntries(records::Catalogue& catalogue) {
  static const std::string bar = records::cp437("│");
  std::vector<std::string> entries;
  for (int n = 1; n <= records::kVatPositions; ++n) {
    const records::VatCode v = records::readVatCode(catalogue, n);
    entries.push_back(records::printUsing("###", n) + bar + records::fitLeft(v.code, 5) + bar +
                      records::fitLeft(v.rateText, 3) + bar + records::fitLeft(v.ventilationText, 3) + bar +
                      records::fitLeft(v.compensationText, 4) + bar + records::fitLeft(v.note, 20));
  }
  return entries;
}

int chooseFromList(platform::Console& console, const std::vector<std::string>& entries, int from,
                   std::string_view title) {
  return screen::selectFromList(console, entries, from, screen::searchListWindow(), title, screen::kSearchHighlight);
}

}  // namespace vellano::entry
