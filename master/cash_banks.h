// Cash and bank accounts: CASBAN.DAT, their count in INDEX.DAT record 2, and the
// "GESTIONE CASSA E BANCHE" screen.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "records/cash_bank_file.h"
#include "records/catalogue.h"
#include "records/record_file.h"
#include "screen/session.h"

namespace vellano::master {

// The account records live in records/cash_bank_file.h; the screens here name them unqualified.

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
