// CASBAN.DAT through its table.
#include "records/cash_bank_file.h"

#include "records/numbers.h"
#include "records/text.h"

namespace vellano::records {

static_assert(tiles(cash_bank_layout::kTable, cash_bank_layout::kLength));

void L_15(const Catalogue& catalogue, CashBank& account) {
  load(catalogue.channel(channel::kCashBanks).buffer(), cash_bank_layout::kTable, account);
}

void W_15(Catalogue& catalogue, const CashBank& account) {
  store(catalogue.channel(channel::kCashBanks).buffer(), cash_bank_layout::kTable, account, "W_15");
}

CashBank readCashBank(Catalogue& catalogue, int n) {
  openChannel(catalogue, channel::kCashBanks).read(n);
  CashBank account;
  L_15(catalogue, account);
  return account;
}

void writeCashBank(Catalogue& catalogue, int n, const CashBank& account) {
  Channel& accounts = openChannel(catalogue, channel::kCashBanks);
  W_15(catalogue, account);
  accounts.write(n);
}

std::vector<std::string> cashBankListEntries(Catalogue& catalogue, int count) {
  std::vector<std::string> entries;
  for (int n = 1; n <= count; ++n)
    entries.push_back(printUsing("###", n) + " " + fitLeft(readCashBank(catalogue, n).description, 26));
  return entries;
}

}  // namespace vellano::records
