// Causals (causali contabili): CAUCON.DAT, their count in INDEX.DAT record 1, and the
// "GESTIONE CAUSALI" screen with the sub-account line.
#pragma once

#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/causal_file.h"
#include "records/record_file.h"
#include "screen/session.h"

namespace vellano::master {

// The causal records live in records/causal_file.h; the screens here name them unqualified.

// The Ventilazione value the screen offers: a stored value other than "S" or "N" is "N".
char shownVentilation(char stored);

// The menu entry "caUsali contabili".
void runCausals(screen::Session& session);

// The same screen called from another one: ESC returns the causal last shown in the code
// field (0 when none was).
int pickCausal(screen::Session& session);

}  // namespace vellano::master
