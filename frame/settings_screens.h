// The "Parametri" screen and the "Data" function of the main menus.
#pragma once

#include "frame/session.h"

namespace vellano::frame {

// Asks the two company parameters and writes them to PARAM.DAT; ESC leaves them unchanged.
// Returns true when they were written.
bool runParametersScreen(Session& session);

// Asks a new working date; a valid one is written to the date file and the year's open files
// follow it. Returns true when the date changed.
bool runWorkingDateScreen(Session& session);

}  // namespace vellano::frame
