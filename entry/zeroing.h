// "aZzeramento registrazioni": the registrations, payments and balances of the year start
// again from nothing. There is no undo, so only an "S" at the prompt does anything.
#pragma once

#include <string>
#include <vector>

#include "screen/session.h"

namespace vellano::entry {

// The delete commands of the zeroing, in the order they run.
std::vector<std::string> zeroingCommands(const records::Context& context);

// The work after the confirmation: delete the yearly files, write back the counts, recreate
// blank balance records for `customers` and `suppliers` codes and blank the cash/bank totals.
void zeroRegistrations(screen::Session& session, int customers, int suppliers);

// The menu entry.
void runZeroing(screen::Session& session);

}  // namespace vellano::entry
