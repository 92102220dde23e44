// Handing the user over to the print program: the request goes into the hand-over record,
// every file is closed, VELST10W runs and is waited for, and the entry program then ends.
#pragma once

#include <string_view>

#include "screen/session.h"

namespace vellano::screen {

// Thrown to end the program once the print program has returned; the program's main loop
// catches it and ends with `status`.
struct ProgramEnd {
  int status = 0;
};

// `request` goes into field 9 of the hand-over record; a non-empty `code` into its
// 4-character code field (left-aligned). Never returns: throws ProgramEnd.
[[noreturn]] void handOverToPrintProgram(Session& session, std::string_view request,
                                         std::string_view code = {});

}  // namespace vellano::screen
