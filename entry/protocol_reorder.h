// "RIORDINO PROTOCOLLO": renumbering the protocols of a range of registrations, in record
// order ("S") or in date order ("D"). Records never move; only letter and number change.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "records/registration_files.h"
#include "screen/session.h"

namespace vellano::entry {

enum class ReorderMode { Records, Dates };

struct ReorderRange {
  long first = 1;  // F
  long last = 1;   // T
  long start = 1;  // S, the first protocol number given
};

// The date-order key: yymmdd, the protocol number and the record number through "####".
std::string reorderKey(const records::Registration& registration, long record);

// Renumbers the records of the range in registration file channel 4 (already open on the
// register of `kind`). `progress` is told every record about to be renumbered.
void renumberProtocols(records::Catalogue& catalogue, records::RegisterKind kind, const ReorderRange& range, ReorderMode mode,
                       const std::function<void(long record)>& progress = {});

// The window of F4 on the record-number field of the registration screen, for a register of
// `count` registrations. True when the protocols were renumbered (the caller re-reads the
// registration on show).
bool reorderProtocols(screen::Session& session, records::RegisterKind kind, long count);

}  // namespace vellano::entry
