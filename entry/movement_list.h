// The movement list of a cash/bank account ("9Lista Mov" of the cash/bank screen): every
// payment of the sales and then of the purchase payment file whose contropartita is the
// account, listed in a window and in the print file "LASER", which the text editor then shows.
#pragma once

#include <string>
#include <vector>

#include "records/registration_files.h"
#include "screen/session.h"

namespace vellano::entry {

// One selected payment.
struct Movement {
  int number = 0;
  std::string date;  // ddmmyy as stored
  double amount = 0;
  std::string description;
  friend bool operator==(const Movement&, const Movement&) = default;
};

// The payments 1..count of the register's payment file whose contropartita is `account`.
// Opens channels 3 and 12 on the register's files.
std::vector<Movement> selectMovements(records::Catalogue& catalogue, records::RegisterKind kind, int account);

// The list for `account`; the channels it borrows (3 and 12) are put back as it found them.
void runMovementList(screen::Session& session, int account);

}  // namespace vellano::entry
