// The posting table of payments and the moving of balance and cash/bank totals.
#include "entry/balances.h"

#include "records/numbers.h"
#include "records/cash_bank_file.h"
#include "records/customer_files.h"

namespace vellano::entry {
namespace {

// A stored code as an account number; anything but a whole positive number is none.
long wholeCode(std::string_view text) {
  const long code = records::wholeNumberIn(records::val(text), 1, 99999);  // the widest code field holds 5 digits
  return code < 0 ? 0 : code;
}

void moveSide(double& dare, double& avere, Side side, double amount) {
  (side == Side::Dare ? dare : avere) += amount;
}

}  // namespace

PaymentEffect effectOf(const records::Payment& payment) {
  PaymentEffect effect;
  effect.counterparty = wholeCode(payment.counterparty);
  effect.amount = records::val(payment.amount);
  effect.cashBank = wholeCode(payment.cashBank);
  return effect;
}

std::vector<Posting> postingsOf(records::RegisterKind kind, const PaymentEffect& effect) {
  const bool sales = kind == records::RegisterKind::Sales;
  const Side counterpartySide = sales ? Side::Avere : Side::Dare;
  const Side cashBankSide = sales ? Side::Dare : Side::Avere;
  std::vector<Posting> postings;
  const long c = effect.counterparty;
  if (c > 0 && c < kCashBankBase)
    postings.push_back({AccountFile::Balance, c, counterpartySide, effect.amount});
  else if (c > kCashBankBase)
    postings.push_back({AccountFile::CashBank, c - kCashBankBase, counterpartySide, effect.amount});
  if (effect.cashBank > 0) postings.push_back({AccountFile::CashBank, effect.cashBank, cashBankSide, effect.amount});
  return postings;
}

void post(records::Catalogue& catalogue, const Posting& posting) {
  if (posting.record < 1) return;
  if (posting.file == AccountFile::Balance) {
    records::Channel& balances = catalogue.channel(records::channel::kBalances);
    balances.read(posting.record);
    records::BalanceTotals totals;
    records::L_8(catalogue, totals);
    moveSide(totals.dare, totals.avere, posting.side, posting.amount);
    records::W_8(catalogue, totals);
    balances.write(posting.record);
    return;
  }
  const int n = static_cast<int>(posting.record);
  records::CashBank account = records::readCashBank(catalogue, n);
  moveSide(account.debit, account.credit, posting.side, posting.amount);
  records::writeCashBank(catalogue, n, account);
}

void repost(records::Catalogue& catalogue, records::RegisterKind kind, const PaymentEffect& before, const PaymentEffect& after) {
  for (Posting p : postingsOf(kind, before)) {
    p.amount = -p.amount;
    post(catalogue, p);
  }
  for (const Posting& p : postingsOf(kind, after)) post(catalogue, p);
}

}  // namespace vellano::entry
