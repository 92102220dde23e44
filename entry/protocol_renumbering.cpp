// The two numbering orders of the protocol reordering.
#include "entry/protocol_renumbering.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/text.h"

namespace vellano::entry {
namespace {

constexpr const char* kCountMask = "####";

// Renumbers one record in place: a date that reads as 0 (annulled or blank) loses its
// protocol, any other takes the next number.
void renumberOne(records::Catalogue& catalogue, records::RegisterKind kind, long record, long& counter) {
  records::Registration r = records::readRegistration(catalogue, record);
  if (records::val(r.date) == 0) {
    r.protocolLetter.clear();
    r.protocolNumber.clear();
  } else {
    ++counter;
    r.protocolLetter = std::string(records::registerInfo(kind).letter);
    r.protocolNumber = std::to_string(counter);
  }
  records::writeRegistration(catalogue, record, r);
}

double protocolValue(std::string_view text) {
  const double v = records::val(text);
  return v != 0 ? v : records::val(records::mid(text, 3));
}

}  // namespace

std::string reorderKey(const records::Registration& registration, long record) {
  const std::string d = records::fitLeft(registration.date, 6);
  return d.substr(4, 2) + d.substr(2, 2) + d.substr(0, 2) +
         records::printUsing(kCountMask, protocolValue(registration.protocolNumber)) +
         records::printUsing(kCountMask, static_cast<double>(record));
}

void renumberProtocols(records::Catalogue& catalogue, records::RegisterKind kind, const ReorderRange& range,
                       ReorderMode mode, const std::function<void(long record)>& progress) {
  long counter = range.start - 1;
  if (mode == ReorderMode::Records) {
    for (long r = range.first; r <= range.last; ++r) {
      if (progress) progress(r);
      renumberOne(catalogue, kind, r, counter);
    }
    return;
  }
  std::vector<std::pair<std::string, long>> keys;
  for (long r = range.first; r <= range.last; ++r) {
    const records::Registration reg = records::readRegistration(catalogue, r);
    if (reg.annulled()) continue;
    keys.emplace_back(reorderKey(reg, r), r);
  }
  std::sort(keys.begin(), keys.end());
  for (const auto& [key, r] : keys) {
    if (progress) progress(r);
    renumberOne(catalogue, kind, r, counter);
  }
}

void reorderRegister(records::Catalogue& catalogue, records::RegisterKind kind, const ReorderAnswers& answers,
                     const std::function<void(long record)>& progress) {
  const records::RegisterInfo& info = records::registerInfo(kind);
  if (!catalogue.channel(records::channel::kRegistrations).isOpen() ||
      catalogue.stem(records::channel::kRegistrations) != info.stems.registrations) {
    catalogue.setStem(records::channel::kRegistrations, std::string(info.stems.registrations));
    catalogue.open(records::channel::kRegistrations);
  }
  // One save for the whole range, so no other terminal's save falls in between.
  records::SaveTransaction transaction(catalogue);
  renumberProtocols(catalogue, kind, answers.range, answers.mode, progress);
  transaction.commit();
}

}  // namespace vellano::entry
