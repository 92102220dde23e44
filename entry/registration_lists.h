// The search lists of the registration screen: registrations of the register (F9 on the
// record number) and the VAT code table (F9 on a line's VAT code).
#pragma once

#include <string>
#include <vector>

#include "records/catalogue.h"
#include "screen/window.h"

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

// The search-list window: single frame, title top-left, shadow, black on white, (1,1) to row 43.
screen::WindowDescriptor searchWindow();
inline constexpr std::uint8_t kSearchHighlight = 0x4F;

}  // namespace vellano::entry
