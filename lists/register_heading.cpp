// Register headings: period and company texts.
#include "lists/register_heading.h"

#include <algorithm>

#include "records/catalogue.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"

namespace vellano::lists {
namespace {

namespace C = records::context_layout;

// The company record the context's values came from: the short registry record (host mode 2,
// and the company list of mode 6, which starts with the same fields) or the long one.
struct CompanyWidths {
  std::size_t name, address, town, vatNumber, fiscalCode;
};
CompanyWidths companyWidths(const records::Context& context) {
  if (context.hostMode == 2 || context.hostMode == 6) {
    const auto& f = C::kRegistryShortFields;
    return {f[0].width, f[1].width, f[2].width, f[3].width, f[8].width};
  }
  const auto& f = C::kRegistryLongFields;
  return {f[0].width, f[1].width, f[2].width, f[3].width, f[9].width};
}

// The first `n` characters of a value padded to its field.
std::string firstOf(const std::string& value, std::size_t fieldWidth, std::size_t n) {
  return records::fitLeft(value, std::min(fieldWidth, n));
}

}  // namespace

std::string longDate(std::string_view ddmmyy) {
  const std::string shortText = records::dateText(ddmmyy);
  if (records::isBlank(shortText)) return std::string(10, ' ');
  return shortText.substr(0, 6) + "20" + shortText.substr(6, 2);
}

std::string periodText(int month, std::string_view fromDate, std::string_view toDate, std::string_view yearSuffix) {
  if (month >= 1 && month <= 12) {
    return "Mese " + std::string(records::monthName(month)) + " 20" + std::string(yearSuffix);
  }
  return "Dalla data: " + longDate(fromDate) + " Alla data: " + longDate(toDate);
}

std::string companyLine(const records::Context& context) {
  const records::Company& c = context.company;
  const CompanyWidths w = companyWidths(context);
  return firstOf(c.name, w.name, 33) + " " + firstOf(c.address, w.address, 20) + " " +
         firstOf(c.town, w.town, 30) + " P.IVA:" + records::fitLeft(c.vatNumber, w.vatNumber) +
         " Cod Fis:" + records::fitLeft(c.fiscalCode, w.fiscalCode);
}

std::string companyName(const records::Context& context) {
  return records::fitLeft(context.company.name, companyWidths(context).name);
}

}  // namespace vellano::lists
