// The "Parametri" screen and the "Data" function of the main menus.
#pragma once

#include "screen/session.h"

namespace vellano::programs {

// Asks the two company parameters and writes them to PARAM.DAT; ESC leaves them unchanged.
// Returns true when they were written.
bool runParametersScreen(screen::Session& session);

// Asks a new working date; a valid one is written to the date file and the year's open files
// follow it. Returns true when the date changed.
bool runWorkingDateScreen(screen::Session& session);

}  // namespace vellano::programs
