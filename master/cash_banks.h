// Cash and bank accounts: CASBAN.DAT, their count in INDEX.DAT record 2, and the
// "GESTIONE CASSA E BANCHE" screen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/record_file.h"
#include "screen/session.h"

namespace vellano::master {

// Record layout of CASBAN.DAT (50 bytes).
namespace cash_bank_layout {
inline constexpr records::Field kDescription{0, 26};
inline constexpr records::Field kDebit{26, 12};   // Dare, decimal text
inline constexpr records::Field kCredit{38, 12};  // Avere, decimal text
}  // namespace cash_bank_layout

struct CashBank {
  std::string description;  // trailing blanks removed
  double debit = 0;         // Dare
  double credit = 0;        // Avere
  double balance() const { return debit - credit; }  // Saldo, never stored
};

// Channel 15: buffer to variables / variables to buffer (amounts in standard text form).
void L_15(const records::Catalogue& catalogue, CashBank& account);
void W_15(records::Catalogue& catalogue, const CashBank& account);

CashBank readCashBank(records::Catalogue& catalogue, int n);
void writeCashBank(records::Catalogue& catalogue, int n, const CashBank& account);

// The account list: "###" number, blank, description, one entry per account 1..count.
std::vector<std::string> cashBankListEntries(records::Catalogue& catalogue, int count);

// Main-menu item of the sales register: F8 in the code field hands over "3." only when the
// screen was reached from there.
inline constexpr int kSalesRegisterItem = 1;

struct CashBankOptions {
  int menuItem = 0;  // the main-menu item the user came through
  // "9Lista Mov" in the description: the movement list of the account on show (payments).
  // Without one the key only beeps.
  std::function<void(screen::Session&, int account)> movementList;
};

// The menu entry "cassa e Banche".
void runCashAndBanks(screen::Session& session);

// The screen called from another one: ESC returns the account last shown in the code field
// (0 when none was).
int pickCashBank(screen::Session& session, const CashBankOptions& options);

}  // namespace vellano::master
