// The registration screen of the sales and purchase registers: browsing, the registration's
// fields and its five VAT lines, totals and saving, the protocol counters and the register
// print hand-over.
#pragma once

#include "entry/registration_files.h"
#include "frame/session.h"

namespace vellano::entry {

// The main-menu entries "registro Vendite" and "registro Acquisti".
void runSalesRegister(frame::Session& session);
void runPurchaseRegister(frame::Session& session);
void runRegistrationScreen(frame::Session& session, RegisterKind kind);

}  // namespace vellano::entry
