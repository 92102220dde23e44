// The "GESTIONE" screen of customers and suppliers: code field, search list, record fields
// with their checks, balance totals, saving and the hand-overs to the print program.
#pragma once

#include <string_view>

#include "frame/session.h"
#include "master/customer_files.h"

namespace vellano::master {

// `request` is the direct-start request that opened the screen ("41".."44") or "" from the
// menu; the screen opens the same way for both.
void runCustomerScreen(frame::Session& session, std::string_view request);
void runSupplierScreen(frame::Session& session, std::string_view request);
void runCounterpartyScreen(frame::Session& session, CounterpartyKind kind);

}  // namespace vellano::master
