// Running balances moved by payments: the posting table of a payment (which side of which
// account an amount goes to) and the read-change-write of each touched record. Balances are
// running totals, never recomputed: a re-saved payment first takes its old effect out, then
// puts its new one in.
#pragma once

#include <vector>

#include "records/registration_files.h"
#include "records/catalogue.h"

namespace vellano::entry {

// Counterparty codes of a payment: below this a customer or supplier, above it a cash or
// bank account (code - kCashBankBase).
inline constexpr long kCashBankBase = 8000;

// What a payment does to the accounts: its counterparty, amount and contropartita.
struct PaymentEffect {
  long counterparty = 0;  // 1..7999 balance record; 8001.. cash/bank account; else nothing
  double amount = 0;
  long cashBank = 0;      // contropartita, 0 = none
  friend bool operator==(const PaymentEffect&, const PaymentEffect&) = default;
};

// The effect of a stored payment: the numeric values of its fields; codes that are not whole
// numbers name no account.
PaymentEffect effectOf(const records::Payment& payment);

enum class AccountFile { Balance, CashBank };  // channel 8 record / CASBAN.DAT record
enum class Side { Dare, Avere };

// One amount added to one side of one account.
struct Posting {
  AccountFile file = AccountFile::Balance;
  long record = 0;
  Side side = Side::Dare;
  double amount = 0;
  friend bool operator==(const Posting&, const Posting&) = default;
};

// The postings of a payment by the posting table: counterparty Avere (sales) or Dare
// (purchases), contropartita the other side.
std::vector<Posting> postingsOf(records::RegisterKind kind, const PaymentEffect& effect);

// Reads the record, adds the amount in double precision and writes it back in standard text
// form; a record past the end reads as zero and is created. Channel 8 must be open on the
// register's balance file; the cash/bank file is opened when needed.
void post(records::Catalogue& catalogue, const Posting& posting);

// Takes the old effect out of every account it moved, then puts the new one in.
void repost(records::Catalogue& catalogue, records::RegisterKind kind, const PaymentEffect& before, const PaymentEffect& after);

}  // namespace vellano::entry
