// Sub-accounts (sottoconti): 100 fixed slots per causal in SOTCON.DAT, each with a
// description and the tax-return code its amounts are totalled under; the sub-account line
// of the causal screen and the lists it opens.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/record_file.h"
#include "screen/session.h"

namespace vellano::master {

inline constexpr int kSubAccountsPerCausal = 100;

// Record layout of SOTCON.DAT (500 bytes); the reserved part is written back as read.
namespace sub_account_layout {
inline constexpr records::Field kDescription{0, 35};
inline constexpr records::Field kCode{35, 20};
}  // namespace sub_account_layout

struct SubAccount {
  std::string description;  // trailing blanks removed
  std::string code;
};

// The record of sub-account n (1-100) of causal c: (c - 1) * 100 + n.
long subAccountRecord(int causal, int n);

// Channel 26: buffer to variables / variables to buffer (the rest of the buffer untouched).
void L_26(const records::Catalogue& catalogue, SubAccount& account);
void W_26(records::Catalogue& catalogue, const SubAccount& account);

// The 100 sub-accounts of one causal, indexed 1-100.
class SubAccounts {
 public:
  void load(records::Catalogue& catalogue, int causal);
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
void writeSubAccount(records::Catalogue& catalogue, int causal, int n, const SubAccount& account);

// Entries of the sub-account list: "###" number, blank, description, blank, code; a
// description or code whose first character sorts below "0" shows as dots (40 and 20).
std::vector<std::string> subAccountListEntries(const SubAccounts& accounts);

// The catalogue lists: description + bar + code, or code + bar + description (code page 437),
// one entry per catalogue index, and their headings.
std::vector<std::string> catalogueByDescription();
std::vector<std::string> catalogueByCode();
std::string catalogueByDescriptionHeading();
std::string catalogueByCodeHeading();

// Draws the empty sub-account line (row 7).
void drawSubAccountLine(screen::Session& session);

// How the sub-account line was left.
enum class SubAccountExit { Up, Esc };

// Edits the sub-account line of causal `accounts.causal()` until Up (back to the causal's
// last field) or ESC in the number field (back to the causal code).
SubAccountExit editSubAccounts(screen::Session& session, SubAccounts& accounts);

}  // namespace vellano::master
