// Which registrations a register print takes, and their order: date, protocol, record.
#include <algorithm>
#include <cmath>

#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"
#include "registers/vat_register_print.h"

namespace vellano::registers {

double sortProtocol(const records::Registration& registration) {
  const double number = records::val(registration.protocolNumber);
  if (number != 0) return number;
  return records::val(records::mid(registration.protocolNumber, 3));
}

std::string sortKey(const records::Registration& registration, long record) {
  const long date = records::dateKey(registration.date);
  const long yy = date / 10000;
  const double dateNumber = static_cast<double>(date) + (yy < 50 ? 2000000.0 : 0.0);
  return records::str(dateNumber) + records::printUsing("####", sortProtocol(registration)) +
         records::printUsing("####", static_cast<double>(record));
}

std::vector<Selected> selectRegistrations(const std::vector<records::Registration>& all, const RegisterAnswers& answers,
                                          int workingYear) {
  const long from = records::dateKey(answers.fromDate);
  const long to = records::dateKey(answers.toDate);
  const std::string section = records::trim(answers.section);
  struct Keyed {
    std::string key;
    Selected selected;
  };
  std::vector<Keyed> keyed;
  for (std::size_t k = 0; k < all.size(); ++k) {
    const records::Registration& r = all[k];
    if (r.annulled()) continue;
    const long date = records::dateKey(r.date);
    if (date < from || date > to) continue;
    if (date / 10000 != workingYear) continue;
    if (answers.month != 0 && date / 100 % 100 != answers.month) continue;
    if (!section.empty() && records::trim(r.section) != section) continue;
    const long record = static_cast<long>(k) + 1;
    keyed.push_back({sortKey(r, record), {record, &r}});
  }
  std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
  std::vector<Selected> out;
  out.reserve(keyed.size());
  for (Keyed& k : keyed) out.push_back(k.selected);
  return out;
}

}  // namespace vellano::registers
