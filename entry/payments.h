// The "P A G A M E N T I" window of a register: choosing a payment, its counterparty (a
// customer or supplier, or a cash/bank account as 8000 + code), date, amount, contropartita
// and description, and saving it with its postings to the running balances.
#pragma once

#include <string>
#include <vector>

#include "records/registration_files.h"
#include "screen/session.h"

namespace vellano::entry {

// F2 from the registration screen. `header` is the caller's copy of the register header: a
// new payment raises its payment count and writes it, so the caller's copy stays the one on
// file. The register's channels are (re)opened on its files when needed.
void runPaymentsWindow(screen::Session& session, records::RegisterKind kind, records::RegisterHeader& header);

// The F9 list of the payment number: one line per payment 1..count: number "####", date,
// counterparty name (30), amount "#,###,###,###".
std::vector<std::string> paymentListEntries(records::Catalogue& catalogue, records::RegisterKind kind, int count);

}  // namespace vellano::entry
