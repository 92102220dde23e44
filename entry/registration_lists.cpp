// Search lists of the registration screen.
#include "entry/registration_lists.h"

#include <map>

#include "records/registration_files.h"
#include "records/cp437_text.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/list_select.h"
#include "records/customer_files.h"
#include "records/vat_code_file.h"

namespace vellano::entry {
namespace {

constexpr const char* kGridMask = "###,###.##";

// A counterparty's name cut or padded to 20 characters, so every line of the list is as wide
// as its heading; each code is read once per list.
class NameCache {
 public:
  explicit NameCache(records::Catalogue& catalogue) : catalogue_(catalogue) {}

  const std::string& name(long code) {
    auto found = names_.find(code);
    if (found != names_.end()) return found->second;
    std::string name;
    if (code > 0 && code < 9000) name = read(records::channel::kCustomers, code);
    else if (code > 9000) name = read(records::channel::kSuppliers, code - 9000);
    return names_.emplace(code, records::fitLeft(name, 20)).first->second;
  }

 private:
  std::string read(int channel, long record) {
    records::openChannel(catalogue_, channel).read(record);
    records::Counterparty who;
    if (channel == records::channel::kCustomers) records::L_1(catalogue_, who);
    else records::L_7(catalogue_, who);
    return who.name;
  }

  records::Catalogue& catalogue_;
  std::map<long, std::string> names_;
};

}  // namespace

std::string registrationListHeading() {
  return records::cp437("Prog│Data Doc N°Doc│Data Reg│Importo   │Ragione Sociale");
}

std::vector<std::string> registrationListEntries(records::Catalogue& catalogue, int count) {
  static const std::string bar = records::cp437("│");
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  NameCache names(catalogue);
  for (int i = 1; i <= count; ++i) {
    const records::Registration r = records::readRegistration(catalogue, i);
    std::string line = records::printUsing("####", i);
    line += bar + records::dateText(r.documentDate) + " " + records::fitLeft(r.documentNumber, 5);
    line += bar + records::dateText(r.date);
    line += bar + records::printUsing(kGridMask, r.totals().total);
    line += bar + names.name(r.counterpartyCode());
    entries.push_back(std::move(line));
  }
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
