// The corrispettivi register: the daily takings of a month, four amounts per day.
#pragma once

#include <string>

#include "screen/session.h"

namespace vellano::entry {

// A takings amount on screen: the grid format when it is not zero, the dotted placeholder
// otherwise (10 characters either way).
std::string takingsCell(double amount);

// The main-menu entry "registro coRrispettivi".
void runTakings(screen::Session& session);

}  // namespace vellano::entry
