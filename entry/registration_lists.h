// The search lists of the registration screen: registrations of the register (F9 on the
// record number) and the VAT code table (F9 on a line's VAT code), and the list window they
// and the payments open.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "records/catalogue.h"
#include "platform/console.h"

namespace vellano::entry {

// "Prog│Data Doc N°Doc│Data Reg│Importo   │Ragione Sociale", code page 437.
std::string registrationListHeading();
// One line per registration 1..count of the open register: number, document date and
// number, registration date (blank when annulled), total, the counterparty's name cut or
// padded to 20 characters (customer file below 9000, supplier file above, blanks for 0).
std::vector<std::string> registrationListEntries(records::Catalogue& catalogue, int count);

// "Pr.│Cod. │Al.│%Ve│%Com│Note", code page 437, and the 40 positions of the table.
std::string vatListHeading();
std::vector<std::string> vatListEntries(records::Catalogue& catalogue);

// The entry chosen from a search list opened at entry `from` (from 1), or a value below 1
// when the list was left with ESC.
int chooseFromList(platform::Console& console, const std::vector<std::string>& entries, int from,
                   std::string_view title = {});

}  // namespace vellano::entry
