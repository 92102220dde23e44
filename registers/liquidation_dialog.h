// The "LIQUIDAZIONE IVA" questions, the print of the liquidation and the F24 window after it.
#pragma once

#include <optional>

#include "screen/session.h"
#include "registers/liquidation.h"

namespace vellano::registers {

struct LiquidationSession;

// The period asked in the "LIQUIDAZIONE IVA" window; none when ESC left it.
std::optional<Period> askPeriod(screen::Session& session);

// F9 of the situation screen: questions, print dialog, print, ORBWWS, then the F24 window
// with the proposed row. A cancel anywhere prints nothing; no file is changed.
void runLiquidationDialog(screen::Session& session, LiquidationSession& state);

// The annual VAT communication's call: the whole year computed and printed to the open
// channel 99, ending with the form feed; no questions, no dialog, no ORBWWS, no F24.
Liquidation printYearLiquidation(records::Catalogue& catalogue, printout::PrintChannel& channel);

}  // namespace vellano::registers
