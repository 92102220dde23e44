// The registration screen of the sales and purchase registers: browsing, the registration's
// fields and its five VAT lines, totals and saving, the protocol counters and the register
// print hand-over.
#pragma once

#include "records/registration_files.h"
#include "screen/session.h"

namespace vellano::entry {

// The main-menu entries "registro Vendite" and "registro Acquisti".
void runSalesRegister(screen::Session& session);
void runPurchaseRegister(screen::Session& session);
void runRegistrationScreen(screen::Session& session, records::RegisterKind kind);

}  // namespace vellano::entry
