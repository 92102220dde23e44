// Sub-accounts (sottoconti): 100 fixed slots per causal in SOTCON.DAT (channel 26), each with a
// description and the tax-return code its amounts are totalled under, and the lists of the
// tax-return code catalogue the sub-account code is chosen from.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/layout.h"
#include "records/record_file.h"

namespace vellano::records {

inline constexpr int kSubAccountsPerCausal = 100;

struct SubAccount {
  std::string description;  // trailing blanks removed
  std::string code;
};

// Record layout of SOTCON.DAT (500 bytes): NULs read as blanks; the reserved part stays as read
// (writeSubAccount reads the record before writing it).
namespace sub_account_layout {
inline constexpr std::size_t kLength = 500;
inline constexpr Field kDescription{0, 35};
inline constexpr Field kCode{35, 20};
inline constexpr Field kReserved{55, 445};
inline constexpr std::array kTable{
    trimmed<SubAccount>(kDescription, &SubAccount::description),
    trimmed<SubAccount>(kCode, &SubAccount::code),
    kept<SubAccount>(kReserved),
};
}  // namespace sub_account_layout

// The record of sub-account n (1-100) of causal c: (c - 1) * 100 + n.
long subAccountRecord(int causal, int n);

// Channel 26: buffer to variables / variables to buffer (the rest of the buffer untouched).
void L_26(const Catalogue& catalogue, SubAccount& account);
void W_26(Catalogue& catalogue, const SubAccount& account);

// The 100 sub-accounts of one causal, indexed 1-100.
class SubAccounts {
 public:
  void load(Catalogue& catalogue, int causal);
  int causal() const { return causal_; }
  SubAccount& operator[](int n) { return slots_.at(static_cast<std::size_t>(n)); }
  const SubAccount& operator[](int n) const { return slots_.at(static_cast<std::size_t>(n)); }
  // The lowest slot whose code, with blanks removed, is empty; 0 when every slot has a code.
  int firstFree() const;

 private:
  int causal_ = 0;
  std::array<SubAccount, kSubAccountsPerCausal + 1> slots_{};
};

// Writes sub-account n of causal c, keeping the reserved part of its record as read.
void writeSubAccount(Catalogue& catalogue, int causal, int n, const SubAccount& account);

// The catalogue lists: description + bar + code, or code + bar + description (code page 437),
// one entry per catalogue index, and their headings.
std::vector<std::string> catalogueByDescription();
std::vector<std::string> catalogueByCode();
std::string catalogueByDescriptionHeading();
std::string catalogueByCodeHeading();

}  // namespace vellano::records
