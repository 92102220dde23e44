// Cash and bank accounts: the records of CASBAN.DAT (channel 15), one per account; their count
// lives in INDEX.DAT record 2 (counters.h).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/layout.h"
#include "records/record_file.h"

namespace vellano::records {

struct CashBank {
  std::string description;  // trailing blanks removed
  double debit = 0;         // Dare
  double credit = 0;        // Avere
  double balance() const { return debit - credit; }  // Saldo, never stored
};

// Record layout of CASBAN.DAT (50 bytes): the totals in standard text form, fitted to their
// fields; one that cannot fit stops the write with the record as read.
namespace cash_bank_layout {
inline constexpr std::size_t kLength = 50;
inline constexpr Field kDescription{0, 26};
inline constexpr Field kDebit{26, 12};
inline constexpr Field kCredit{38, 12};
inline constexpr std::array kTable{
    trimmed<CashBank>(kDescription, &CashBank::description),
    amount<CashBank>(kDebit, &CashBank::debit),
    amount<CashBank>(kCredit, &CashBank::credit),
};
}  // namespace cash_bank_layout

// Channel 15: buffer to variables / variables to buffer.
void L_15(const Catalogue& catalogue, CashBank& account);
void W_15(Catalogue& catalogue, const CashBank& account);

// Account n, opening the channel when needed.
CashBank readCashBank(Catalogue& catalogue, int n);
void writeCashBank(Catalogue& catalogue, int n, const CashBank& account);

// The account list: "###" number, blank, description, one entry per account 1..count.
std::vector<std::string> cashBankListEntries(Catalogue& catalogue, int count);

}  // namespace vellano::records
