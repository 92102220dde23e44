// Look-up tables: one text field of every record of a file, from one read of the file.
#include "records/lookups.h"

#include <string_view>

#include "records/causal_file.h"
#include "records/customer_files.h"
#include "records/layout.h"
#include "records/sub_account_file.h"

namespace vellano::records {
namespace {

// The field each table holds and the kind its record layout reads it with.
struct Source {
  Field field;
  Kind kind;
};

static_assert(clifor::kTable[0].field.offset == clifor::kName.offset && clifor::kTable[0].kind == Kind::kShown);
static_assert(estc::kTable[0].field.offset == estc::kName.offset && estc::kTable[0].kind == Kind::kShown);
static_assert(causal_layout::kTable[0].kind == Kind::kTrimmed);
static_assert(sub_account_layout::kTable[0].kind == Kind::kTrimmed);

Source sourceOf(int channel) {
  switch (channel) {
    case channel::kCustomers: return {clifor::kName, Kind::kShown};
    case channel::kSuppliers: return {estc::kName, Kind::kShown};
    case channel::kCausals: return {causal_layout::kDescription, Kind::kTrimmed};
    default: return {sub_account_layout::kDescription, Kind::kTrimmed};
  }
}

}  // namespace

const std::string& Lookups::lookUp(Column& column, int number, long record) {
  static const std::string kNone;
  if (!column.read) {
    Channel& file = openChannel(catalogue_, number);
    const long count = file.recordCount();
    const std::string block = file.readBlock(1, count);
    const std::string_view all(block);
    const std::size_t length = file.recordLength();
    const Source source = sourceOf(number);
    column.values.resize(static_cast<std::size_t>(count));
    for (std::size_t k = 0; k < column.values.size(); ++k)
      loadValue(all.substr(k * length, length), source.field, source.kind, column.values[k]);
    column.read = true;
  }
  if (record < 1 || record > static_cast<long>(column.values.size())) return kNone;
  return column.values[static_cast<std::size_t>(record - 1)];
}

const std::string& Lookups::customerName(long code) { return lookUp(customers_, channel::kCustomers, code); }

const std::string& Lookups::supplierName(long code) { return lookUp(suppliers_, channel::kSuppliers, code); }

const std::string& Lookups::counterpartyName(long code) {
  static const std::string kNone;
  if (code > 0 && code < 9000) return customerName(code);
  if (code > 9000) return supplierName(code - 9000);
  return kNone;
}

const std::string& Lookups::causalDescription(int causal) { return lookUp(causals_, channel::kCausals, causal); }

const std::string& Lookups::subAccountDescription(int causal, int n) {
  static const std::string kNone;
  if (causal < 1 || n < 1 || n > kSubAccountsPerCausal) return kNone;
  return lookUp(subAccounts_, channel::kSubAccounts, subAccountRecord(causal, n));
}

}  // namespace vellano::records
