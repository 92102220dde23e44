// Register page headers: a run of numbered sheets with the company heading, for loose-leaf
// registers to be stamped before use; the last sheet carries the declaration of their number.
#pragma once

#include "records/context.h"
#include "printout/print_channel.h"
#include "printout/print_output.h"
#include "screen/session.h"

namespace vellano::registers {

// Sheets `first` to `last` (none when last is below first) on an open print channel.
void printRegisterSheets(printout::PrintChannel& out, const records::Context& context, int first, int last);

// The print menu item "iNtestazione registri".
void runRegisterHeaders(screen::Session& session, printout::PrintOutput& output);

}  // namespace vellano::registers
