// SOTCON.DAT through its table, and the catalogue lists.
#include "records/sub_account_file.h"

#include "records/cp437_text.h"
#include "records/tax_return_codes.h"
#include "records/text.h"

namespace vellano::records {
namespace {

static_assert(tiles(sub_account_layout::kTable, sub_account_layout::kLength));

std::string bar() { return std::string(1, static_cast<char>(0xB3)); }

}  // namespace

long subAccountRecord(int causal, int n) {
  return static_cast<long>(causal - 1) * kSubAccountsPerCausal + n;
}

void L_26(const Catalogue& catalogue, SubAccount& account) {
  load(catalogue.channel(channel::kSubAccounts).buffer(), sub_account_layout::kTable, account);
}

void W_26(Catalogue& catalogue, const SubAccount& account) {
  store(catalogue.channel(channel::kSubAccounts).buffer(), sub_account_layout::kTable, account, "W_26");
}

void SubAccounts::load(Catalogue& catalogue, int causal) {
  causal_ = causal;
  Channel& file = openChannel(catalogue, channel::kSubAccounts);
  for (int n = 1; n <= kSubAccountsPerCausal; ++n) {
    file.read(subAccountRecord(causal, n));
    L_26(catalogue, (*this)[n]);
  }
}

int SubAccounts::firstFree() const {
  for (int n = 1; n <= kSubAccountsPerCausal; ++n) {
    const std::string& code = (*this)[n].code;
    if (code.find_first_not_of(" \0", 0, 2) == std::string::npos) return n;
  }
  return 0;
}

void writeSubAccount(Catalogue& catalogue, int causal, int n, const SubAccount& account) {
  Channel& file = openChannel(catalogue, channel::kSubAccounts);
  const long record = subAccountRecord(causal, n);
  file.read(record);
  W_26(catalogue, account);
  file.write(record);
}

std::vector<std::string> catalogueByDescription() {
  std::vector<std::string> entries;
  entries.reserve(kTaxReturnCodeCount);
  for (int i = 1; i <= static_cast<int>(kTaxReturnCodeCount); ++i)
    entries.push_back(storedTaxDescription(i) + bar() + storedTaxCode(i));
  return entries;
}

std::vector<std::string> catalogueByCode() {
  std::vector<std::string> entries;
  entries.reserve(kTaxReturnCodeCount);
  for (int i = 1; i <= static_cast<int>(kTaxReturnCodeCount); ++i)
    entries.push_back(storedTaxCode(i) + bar() + storedTaxDescription(i));
  return entries;
}

// Padded like the entries so that its bar stands over theirs.
std::string catalogueByDescriptionHeading() {
  return fitLeft("Descrizione", kTaxDescriptionWidth) + bar() + "Codice";
}

std::string catalogueByCodeHeading() { return cp437("Codice │Descrizione"); }

}  // namespace vellano::records
