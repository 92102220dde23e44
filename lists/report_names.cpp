// One block read per file, then names by index.
#include "lists/report_names.h"

#include "records/cash_bank_file.h"
#include "records/causal_file.h"
#include "records/customer_files.h"
#include "records/layout.h"
#include "records/sub_account_file.h"

namespace vellano::lists {
namespace {

const std::string kNone;

// The name field of each channel's record, as its layout declares it.
records::Field nameField(int channel) {
  switch (channel) {
    case records::channel::kCustomers: return records::clifor::kName;
    case records::channel::kSuppliers: return records::estc::kName;
    case records::channel::kCashBanks: return records::cash_bank_layout::kDescription;
    case records::channel::kCausals: return records::causal_layout::kDescription;
    default: return records::sub_account_layout::kDescription;
  }
}

}  // namespace

std::vector<std::string> ReportNames::readNames(int channel, long first, long count) {
  records::Channel& file = records::openChannel(catalogue_, channel);
  const std::size_t length = file.recordLength();
  const std::string block = count > 0 ? file.readBlock(first, count) : std::string();
  const records::Field field = nameField(channel);
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(count));
  for (long k = 0; k < count; ++k) {
    const records::Record record(block.substr(static_cast<std::size_t>(k) * length, length));
    std::string name;
    records::loadValue(record, field, records::Kind::kShown, name);
    names.push_back(std::move(name));
  }
  return names;
}

const std::string& ReportNames::lookUp(Table& table, int channel, long code) {
  if (!table.loaded) {
    table.loaded = true;
    table.names = readNames(channel, 1, records::openChannel(catalogue_, channel).recordCount());
  }
  if (code < 1 || code > static_cast<long>(table.names.size())) return kNone;
  return table.names[static_cast<std::size_t>(code - 1)];
}

const std::string& ReportNames::customer(long code) {
  return lookUp(customers_, records::channel::kCustomers, code);
}
const std::string& ReportNames::supplier(long code) {
  return lookUp(suppliers_, records::channel::kSuppliers, code);
}
const std::string& ReportNames::cashBank(long code) {
  return lookUp(cashBanks_, records::channel::kCashBanks, code);
}
const std::string& ReportNames::causal(long code) { return lookUp(causals_, records::channel::kCausals, code); }

const std::string& ReportNames::subAccount(long causal, long n) {
  if (causal < 1 || causal > 9999 || n < 1 || n > records::kSubAccountsPerCausal) return kNone;
  auto slot = subAccounts_.find(causal);
  if (slot == subAccounts_.end()) {
    const long first = records::subAccountRecord(static_cast<int>(causal), 1);
    slot = subAccounts_.emplace(causal, readNames(records::channel::kSubAccounts, first,
                                                  records::kSubAccountsPerCausal)).first;
  }
  return slot->second[static_cast<std::size_t>(n - 1)];
}

}  // namespace vellano::lists
