// The CALCOLI screen of the corrispettivi register: takings, purchases for resale and the
// ventilation of each month, and the F9 edit of the previous year's stock and coefficient.
#pragma once

#include "entry/ventilation.h"
#include "screen/session.h"
#include "platform/screen_buffer.h"

namespace vellano::entry {

// Draws the three tables of `input` and its computation inside the CALCOLI window.
void drawVentilation(platform::ScreenBuffer& screen, const VentilationInput& input,
                     const VentilationTables& tables, std::uint8_t attr);

// F9 of the corrispettivi screen: computes from the files, shows, and returns on ESC.
void runVentilationScreen(screen::Session& session);

}  // namespace vellano::entry
