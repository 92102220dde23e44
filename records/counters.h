// INDEX.DAT: the counters of the master files kept outside them (causals, cash/bank accounts).
#pragma once

#include "records/catalogue.h"

namespace vellano::records {

// INDEX.DAT: record 1 counts the causals, record 2 the cash/bank accounts.
inline constexpr long kCausalCounter = 1;
inline constexpr long kCashBankCounter = 2;
int readCounter(Catalogue& catalogue, long record);
void writeCounter(Catalogue& catalogue, long record, int count);

}  // namespace vellano::records
