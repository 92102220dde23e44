// The balance by causal: the year's sales and purchases totalled by causal and sub-account,
// the causal and sub-account names the print and the export file need, and the "BILANCIO"
// print itself. The cash and bank balance is printed in the same form.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "records/cash_bank_file.h"
#include "records/catalogue.h"
#include "records/registration_files.h"
#include "records/sub_account_file.h"
#include "printout/print_channel.h"

namespace vellano::lists {

// Sub-accounts 1-100 of a causal; 0 holds what has no sub-account ("GENERICO").
inline constexpr int kSubAccounts = records::kSubAccountsPerCausal;

// The working totals of one run, causals 0..count and sub-accounts 0..100.
class CausalTotals {
 public:
  explicit CausalTotals(int causalCount);

  int causalCount() const { return count_; }

  // A sales registration: causal and sub-account of its first line for all five lines.
  void addSale(const records::Registration& registration);
  // A purchase registration: causal of its first line, each line's own sub-account.
  void addPurchase(const records::Registration& registration);

  // Uscite / Entrate: taxable amounts plus the VAT of the "I" lines.
  double outgoing(int causal) const { return causalAt(outgoing_, causal); }
  double incoming(int causal) const { return causalAt(incoming_, causal); }
  // Taxable amounts only.
  double outgoingSub(int causal, int sub) const { return subAt(outgoingSub_, causal, sub); }
  double incomingSub(int causal, int sub) const { return subAt(incomingSub_, causal, sub); }

 private:
  void add(const records::Registration& registration, bool sale);
  double causalAt(const std::vector<double>& totals, int causal) const;
  double subAt(const std::vector<double>& totals, int causal, int sub) const;
  std::size_t index(int causal, int sub) const;

  int count_;
  std::vector<double> outgoing_;  // [causal]
  std::vector<double> incoming_;
  std::vector<double> outgoingSub_;  // [causal * 101 + sub]
  std::vector<double> incomingSub_;
};

// Both registers of the year totalled, each read in one pass. The register channels are left
// on the purchase register.
CausalTotals totalYear(records::Catalogue& catalogue);

// Causal descriptions and sub-accounts for one run: the causals are read in one block, the
// 100 sub-accounts of a causal in one block the first time one of them is asked for.
class AccountNames {
 public:
  AccountNames(records::Catalogue& catalogue, int causalCount);

  // Trailing blanks removed; blank for a causal outside 1..count.
  const std::string& causal(int causal) const;
  // Sub-account 1-100 of a causal (description and code as stored, trailing blanks removed).
  const records::SubAccount& subAccount(int causal, int sub);

 private:
  records::Catalogue& catalogue_;
  std::vector<std::string> causals_;  // [causal]
  std::map<int, std::vector<records::SubAccount>> subAccounts_;  // causal -> [sub]
  records::SubAccount none_;
};

// The heading line: the company name in its 40-character field, the caption, the date.
std::string balanceHeading(std::string_view companyName, std::string_view caption, std::string_view ddmmyy);

// The "BILANCIO" print from the heading to the form feed after the grand totals.
void printBalance(printout::PrintChannel& out, std::string_view heading, const CausalTotals& totals,
                  AccountNames& names);

// The cash and bank accounts 1..n read in one block.
std::vector<records::CashBank> readCashBanks(records::Catalogue& catalogue, int count);

// The cash and bank balance in the same form: one line per account with its Dare and Avere,
// the grand totals and the balance of the two.
void printCashAndBanks(printout::PrintChannel& out, std::string_view heading,
                       const std::vector<records::CashBank>& accounts);

}  // namespace vellano::lists
