// The "GESTIONE" screen of customers and suppliers: code field, search list, record fields
// with their checks, balance totals, saving and the hand-overs to the print program.
#pragma once

#include <string_view>

#include "screen/session.h"
#include "records/customer_files.h"

namespace vellano::master {

// `request` is the direct-start request that opened the screen ("41".."44") or "" from the
// menu; the screen opens the same way for both.
void runCustomerScreen(screen::Session& session, std::string_view request);
void runSupplierScreen(screen::Session& session, std::string_view request);
void runCounterpartyScreen(screen::Session& session, records::CounterpartyKind kind);

}  // namespace vellano::master
