// The balance list of customers or suppliers: every code whose Dare - Avere is not zero,
// 60 lines a page, each page under its heading.
#pragma once

#include "records/customer_files.h"
#include "screen/session.h"
#include "printout/print_output.h"

namespace vellano::lists {

inline constexpr int kBalanceLinesPerPage = 60;

// The whole report over the balance file already chosen for channel kBalances ("PSALCL" for
// customers, "PSALFO" for suppliers): window, destination, pages and print end.
void printBalanceList(screen::Session& session, printout::PrintOutput& output, records::CounterpartyKind kind);

}  // namespace vellano::lists
