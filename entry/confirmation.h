// The "[S/N]" questions of the entry screens that change files with no way back.
#pragma once

#include <string_view>

#include "screen/session.h"

namespace vellano::entry {

// Writes `prompt` at (row, col) and asks the answer right after it, offering `offered`:
// "S" true, "N" or ESC false; anything else beeps and is asked again.
bool confirmed(screen::Session& session, int row, int col, std::string_view prompt, std::string_view offered);

}  // namespace vellano::entry
