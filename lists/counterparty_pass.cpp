// Bulk reads of master and balance records for the lists.
#include "lists/counterparty_pass.h"

#include "records/layout.h"

namespace vellano::lists {
namespace {

// Record k + 1 of a block read of `length`-byte records.
records::Record recordAt(const std::string& block, int k, std::size_t length) {
  return records::Record(block.substr(static_cast<std::size_t>(k) * length, length));
}

}  // namespace

std::vector<ListedParty> readListedParties(const records::Catalogue& catalogue, records::CounterpartyKind kind,
                                           int count) {
  std::vector<ListedParty> out;
  if (count <= 0) return out;
  const bool customers = kind == records::CounterpartyKind::Customer;
  const records::Channel& channel =
      catalogue.channel(customers ? records::channel::kCustomers : records::channel::kSuppliers);
  const std::size_t length = customers ? records::clifor::kLength : records::estc::kLength;
  const std::string block = channel.readBlock(1, count);
  out.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    records::Counterparty who;
    if (customers) {
      records::load(recordAt(block, k, length), records::clifor::kTable, who);
    } else {
      records::load(recordAt(block, k, length), records::estc::kTable, who);
    }
    out.push_back({std::move(who.name), std::move(who.vatNumber), std::move(who.fiscalCode)});
  }
  return out;
}

std::vector<records::BalanceTotals> readBalances(const records::Catalogue& catalogue, int count) {
  std::vector<records::BalanceTotals> out;
  if (count <= 0) return out;
  const std::string block = catalogue.channel(records::channel::kBalances).readBlock(1, count);
  out.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    records::BalanceTotals totals;
    records::load(recordAt(block, k, records::balance::kLength), records::balance::kTable, totals);
    out.push_back(totals);
  }
  return out;
}

}  // namespace vellano::lists
