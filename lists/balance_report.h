// The runs of the print program's balance reports: "BILANCIO" (mode 1), the tax-return export
// file (mode 2) and the cash and bank balance, each in its window.
#pragma once

#include "screen/session.h"
#include "printout/print_output.h"

namespace vellano::lists {

inline constexpr int kBalanceMode = 1;
inline constexpr int kExportMode = 2;

// Mode 1 asks for the destination and prints the balance; mode 2 writes the export file.
void runBalance(screen::Session& session, printout::PrintOutput& output, int mode);

// The balance of the cash and bank accounts.
void runCashAndBankBalance(screen::Session& session, printout::PrintOutput& output);

}  // namespace vellano::lists
