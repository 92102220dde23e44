// The corrispettivi register print: the daily takings of one month on one page, as a trial
// or definitively (the page number and the month's mark are then stored).
#pragma once

#include <string>
#include <vector>

#include "records/context.h"
#include "records/registration_files.h"
#include "printout/print_output.h"
#include "screen/session.h"

namespace vellano::registers {

// The hatching after a definitive page: one line more per column to the right.
inline constexpr int kTakingsHatchLines = 21;

// The lines of month `month`'s page numbered `page`, up to the closing rule: heading, the 31
// day lines and the totals. Pure, so the page can be checked without a print channel.
std::vector<std::string> takingsPageLines(const records::Context& context, int month, int page,
                                          const records::Takings& takings);

// The print menu item "STAMPA registro Corrispettivi".
void runTakingsRegister(screen::Session& session, printout::PrintOutput& output);

}  // namespace vellano::registers
