// Search lists of the registration screen.
#include "entry/registration_lists.h"

#include <map>

#include "entry/registration_files.h"
#include "frame/cp437_text.h"
#include "frame/dates.h"
#include "frame/numbers.h"
#include "frame/text.h"
#include "master/causals_fields.h"
#include "master/customer_files.h"
#include "master/vat_table.h"

namespace vellano::entry {
namespace {

constexpr const char* kGridMask = "###,###.##";

// A counterparty's name cut or padded to 20 characters, so every line of the list is as wide
// as its heading; each code is read once per list.
class NameCache {
 public:
  explicit NameCache(frame::Catalogue& catalogue) : catalogue_(catalogue) {}

  const std::string& name(long code) {
    auto found = names_.find(code);
    if (found != names_.end()) return found->second;
    std::string name;
    if (code > 0 && code < 9000) name = read(1, code);
    else if (code > 9000) name = read(7, code - 9000);
    return names_.emplace(code, frame::fitLeft(name, 20)).first->second;
  }

 private:
  std::string read(int channel, long record) {
    master::openChannel(catalogue_, channel).read(record);
    master::Counterparty who;
    if (channel == 1) master::L_1(catalogue_, who);
    else master::L_7(catalogue_, who);
    return who.name;
  }

  frame::Catalogue& catalogue_;
  std::map<long, std::string> names_;
};

}  // namespace

std::string registrationListHeading() {
  return frame::cp437("Prog│Data Doc N°Doc│Data Reg│Importo   │Ragione Sociale");
}

std::vector<std::string> registrationListEntries(frame::Catalogue& catalogue, int count) {
  static const std::string bar = frame::cp437("│");
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  NameCache names(catalogue);
  for (int i = 1; i <= count; ++i) {
    const Registration r = readRegistration(catalogue, i);
    std::string line = frame::printUsing("####", i);
    line += bar + frame::dateText(r.documentDate) + " " + frame::fitLeft(r.documentNumber, 5);
    line += bar + frame::dateText(r.date);
    line += bar + frame::printUsing(kGridMask, r.totals().total);
    line += bar + names.name(r.counterpartyCode());
    entries.push_back(std::move(line));
  }
  return entries;
}

std::string vatListHeading() {
  return frame::cp437("Pr.│Cod. │Al.│%Ve│%Com│Note                ");
}

std::vector<std::string> vatListEntries(frame::Catalogue& catalogue) {
  static const std::string bar = frame::cp437("│");
  std::vector<std::string> entries;
  for (int n = 1; n <= master::kVatPositions; ++n) {
    const master::VatCode v = master::readVatCode(catalogue, n);
    entries.push_back(frame::printUsing("###", n) + bar + frame::fitLeft(v.code, 5) + bar +
                      frame::fitLeft(v.rateText, 3) + bar + frame::fitLeft(v.ventilationText, 3) + bar +
                      frame::fitLeft(v.compensationText, 4) + bar + frame::fitLeft(v.note, 20));
  }
  return entries;
}

frame::WindowDescriptor searchWindow() { return master::searchListWindow(); }

}  // namespace vellano::entry
