// Sub-accounts (sottoconti): 100 fixed slots per causal in SOTCON.DAT, each with a
// description and the tax-return code its amounts are totalled under; the sub-account line
// of the causal screen and the lists it opens.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/record_file.h"
#include "records/sub_account_file.h"
#include "screen/session.h"

namespace vellano::master {

// The sub-account records and the catalogue lists live in records/sub_account_file.h; the
// screens here name them unqualified.

// Entries of the sub-account list: "###" number, blank, description, blank, code; a
// description or code whose first character sorts below "0" shows as dots (40 and 20).
std::vector<std::string> subAccountListEntries(const records::SubAccounts& accounts);

// Draws the empty sub-account line (row 7).
void drawSubAccountLine(screen::Session& session);

// How the sub-account line was left.
enum class SubAccountExit { Up, Esc };

// Edits the sub-account line of causal `accounts.causal()` until Up (back to the causal's
// last field) or ESC in the number field (back to the causal code).
SubAccountExit editSubAccounts(screen::Session& session, records::SubAccounts& accounts);

}  // namespace vellano::master
