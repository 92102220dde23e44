// Totals by causal and sub-account, the names read once per run, and the two balance prints.
#include "lists/causal_balance.h"
#include "lists/register_heading.h"

#include "records/causal_file.h"
#include "records/counters.h"
#include "records/numbers.h"
#include "records/text.h"

namespace vellano::lists {
namespace {

constexpr std::string_view kRule =
    "+-------------------------------------------------------+-------------------------+-------------------------+";
constexpr std::string_view kColumns =
    "| Causale                                               | Uscite                  | Entrate                 |";
static_assert(kRule.size() == kColumns.size());
constexpr std::string_view kAmountMask = "####,###.##";
constexpr std::size_t kCompanyNameWidth = 40;
constexpr int kSlots = kSubAccounts + 1;

// An amount column of the causal lines: the mask when above 0, else blanks.
std::string positive(double value) {
  return value > 0 ? records::printUsing(kAmountMask, value) : std::string(kAmountMask.size(), ' ');
}

// The cash and bank columns show any amount but 0: a hand-typed negative total must be seen.
std::string nonZero(double value) {
  return value != 0 ? records::printUsing(kAmountMask, value) : std::string(kAmountMask.size(), ' ');
}

std::string entryLine(int number, std::string_view description, const std::string& left, const std::string& right) {
  return "| " + records::printUsing("####", number) + ". " + records::fitLeft(description, 30) +
         "                  | " + left + "             | " + right + "             |";
}

std::string totalsLine(double left, double right) {
  return std::string(58, ' ') + records::printUsing(kAmountMask, left) + std::string(15, ' ') +
         records::printUsing(kAmountMask, right);
}

}  // namespace

// ---- Totals ----

CausalTotals::CausalTotals(int causalCount)
    : count_(causalCount < 0 ? 0 : causalCount),
      outgoing_(static_cast<std::size_t>(count_ + 1), 0.0),
      incoming_(static_cast<std::size_t>(count_ + 1), 0.0),
      outgoingSub_(static_cast<std::size_t>(count_ + 1) * kSlots, 0.0),
      incomingSub_(static_cast<std::size_t>(count_ + 1) * kSlots, 0.0) {}

std::size_t CausalTotals::index(int causal, int sub) const {
  return static_cast<std::size_t>(causal) * kSlots + static_cast<std::size_t>(sub);
}

double CausalTotals::causalAt(const std::vector<double>& totals, int causal) const {
  return causal < 0 || causal > count_ ? 0 : totals[static_cast<std::size_t>(causal)];
}

double CausalTotals::subAt(const std::vector<double>& totals, int causal, int sub) const {
  return causal < 0 || causal > count_ || sub < 0 || sub > kSubAccounts ? 0 : totals[index(causal, sub)];
}

void CausalTotals::addSale(const records::Registration& registration) { add(registration, true); }
void CausalTotals::addPurchase(const records::Registration& registration) { add(registration, false); }

void CausalTotals::add(const records::Registration& registration, bool sale) {
  if (registration.annulled()) return;
  const int causal = registration.lines[0].causal();
  // Causals past the count are hidden from every screen and list; the balance hides them too.
  if (causal == 0 || causal > count_) return;
  const int firstSub = registration.lines[0].subAccount();
  std::vector<double>& total = sale ? incoming_ : outgoing_;
  std::vector<double>& subTotal = sale ? incomingSub_ : outgoingSub_;
  for (const records::VatLine& line : registration.lines) {
    int sub = sale ? firstSub : line.subAccount();
    if (sub > kSubAccounts) sub = 0;
    total[static_cast<std::size_t>(causal)] += line.taxable;
    subTotal[index(causal, sub)] += line.taxable;
    // Non-deductible VAT is a cost (or revenue) of the causal; ordinary VAT is not.
    if (line.nonDeductible()) total[static_cast<std::size_t>(causal)] += line.vat;
  }
}

CausalTotals totalYear(records::Catalogue& catalogue) {
  CausalTotals totals(records::readCounter(catalogue, records::kCausalCounter));
  const records::RegisterHeader sales = records::openRegister(catalogue, records::RegisterKind::Sales);
  for (const records::Registration& r : records::readRegistrations(catalogue, sales.count)) totals.addSale(r);
  const records::RegisterHeader purchases = records::openRegister(catalogue, records::RegisterKind::Purchases);
  for (const records::Registration& r : records::readRegistrations(catalogue, purchases.count)) totals.addPurchase(r);
  return totals;
}

// ---- Names ----

AccountNames::AccountNames(records::Catalogue& catalogue, int causalCount)
    : catalogue_(catalogue), causals_(static_cast<std::size_t>(causalCount < 0 ? 1 : causalCount + 1)) {
  if (causalCount <= 0) return;
  const std::size_t length = records::causal_layout::kLength;
  const std::string block = records::openChannel(catalogue, records::channel::kCausals).readBlock(1, causalCount);
  for (int c = 1; c <= causalCount; ++c) {
    records::Causal causal;
    records::load(records::Record(block.substr(static_cast<std::size_t>(c - 1) * length, length)),
                  records::causal_layout::kTable, causal);
    causals_[static_cast<std::size_t>(c)] = causal.description;
  }
}

const std::string& AccountNames::causal(int causal) const {
  static const std::string blank;
  if (causal < 1 || static_cast<std::size_t>(causal) >= causals_.size()) return blank;
  return causals_[static_cast<std::size_t>(causal)];
}

const records::SubAccount& AccountNames::subAccount(int causal, int sub) {
  if (causal < 1 || sub < 1 || sub > kSubAccounts) return none_;
  auto found = subAccounts_.find(causal);
  if (found == subAccounts_.end()) {
    const std::size_t length = records::sub_account_layout::kLength;
    const std::string block = records::openChannel(catalogue_, records::channel::kSubAccounts)
                                  .readBlock(records::subAccountRecord(causal, 1), kSubAccounts);
    std::vector<records::SubAccount> slots(kSlots);
    for (int s = 1; s <= kSubAccounts; ++s)
      records::load(records::Record(block.substr(static_cast<std::size_t>(s - 1) * length, length)),
                    records::sub_account_layout::kTable, slots[static_cast<std::size_t>(s)]);
    found = subAccounts_.emplace(causal, std::move(slots)).first;
  }
  return found->second[static_cast<std::size_t>(sub)];
}

// ---- Prints ----

std::string balanceHeading(std::string_view companyName, std::string_view caption, std::string_view ddmmyy) {
  return records::fitLeft(companyName, kCompanyNameWidth) + std::string(caption) + longDate(ddmmyy);
}

void printBalance(printout::PrintChannel& out, std::string_view heading, const CausalTotals& totals,
                  AccountNames& names) {
  out.printLine(heading);
  out.printLine(kRule);
  out.printLine(kColumns);
  out.printLine(kRule);
  double totalOutgoing = 0;
  double totalIncoming = 0;
  for (int c = 1; c <= totals.causalCount(); ++c) {
    const double outgoing = totals.outgoing(c);
    const double incoming = totals.incoming(c);
    if (!(outgoing > 0) && !(incoming > 0)) continue;
    if (outgoing > 0) totalOutgoing += outgoing;
    if (incoming > 0) totalIncoming += incoming;
    out.printLine(entryLine(c, names.causal(c), positive(outgoing), positive(incoming)));
    for (int s = 0; s <= kSubAccounts; ++s) {
      const double subOutgoing = totals.outgoingSub(c, s);
      const double subIncoming = totals.incomingSub(c, s);
      if (!(subOutgoing > 0) && !(subIncoming > 0)) continue;
      const std::string name = s == 0 ? std::string("GENERICO") : names.subAccount(c, s).description;
      out.printLine("|             " + records::printUsing("####", s) + ". " + records::fitLeft(name, 35) +
                    " |             " + positive(subOutgoing) + " |             " + positive(subIncoming) + " |");
    }
    out.printLine(kRule);
  }
  out.printLine(totalsLine(totalOutgoing, totalIncoming));
  out.formFeed();
}

std::vector<records::CashBank> readCashBanks(records::Catalogue& catalogue, int count) {
  std::vector<records::CashBank> accounts;
  if (count <= 0) return accounts;
  const std::size_t length = records::cash_bank_layout::kLength;
  const std::string block = records::openChannel(catalogue, records::channel::kCashBanks).readBlock(1, count);
  accounts.resize(static_cast<std::size_t>(count));
  for (int n = 0; n < count; ++n)
    records::load(records::Record(block.substr(static_cast<std::size_t>(n) * length, length)),
                  records::cash_bank_layout::kTable, accounts[static_cast<std::size_t>(n)]);
  return accounts;
}

void printCashAndBanks(printout::PrintChannel& out, std::string_view heading,
                       const std::vector<records::CashBank>& accounts) {
  out.printLine(heading);
  out.printLine(kRule);
  out.printLine("| " + records::fitLeft("Cassa/Banca", 54) + "| " + records::fitLeft("Dare", 24) + "| " +
                records::fitLeft("Avere", 24) + "|");
  out.printLine(kRule);
  double totalDebit = 0;
  double totalCredit = 0;
  for (std::size_t k = 0; k < accounts.size(); ++k) {
    const records::CashBank& account = accounts[k];
    if (account.debit == 0 && account.credit == 0) continue;
    totalDebit += account.debit;
    totalCredit += account.credit;
    out.printLine(entryLine(static_cast<int>(k + 1), account.description, nonZero(account.debit),
                            nonZero(account.credit)));
    out.printLine(kRule);
  }
  out.printLine(totalsLine(totalDebit, totalCredit));
  out.printLine(std::string(37, ' ') + "Saldo (Dare - Avere):" +
                records::printUsing(kAmountMask, records::round2(totalDebit - totalCredit)));
  out.formFeed();
}

}  // namespace vellano::lists
