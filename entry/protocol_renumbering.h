// The file work of the protocol reordering: renumbering the protocols of a range of
// registrations in record order or in date order. Records never move; only letter and number
// change.
#pragma once

#include <functional>
#include <string>

#include "records/catalogue.h"
#include "records/registration_files.h"

namespace vellano::entry {

enum class ReorderMode { Records, Dates };

struct ReorderRange {
  long first = 1;  // F
  long last = 1;   // T
  long start = 1;  // S, the first protocol number given
};

// What the reordering window asks: the range and the order.
struct ReorderAnswers {
  ReorderRange range;
  ReorderMode mode = ReorderMode::Records;
};

// The date-order key: yymmdd, the protocol number and the record number through "####".
std::string reorderKey(const records::Registration& registration, long record);

// Renumbers the records of the range in registration file channel 4 (already open on the
// register of `kind`). `progress` is told every record about to be renumbered.
void renumberProtocols(records::Catalogue& catalogue, records::RegisterKind kind, const ReorderRange& range,
                       ReorderMode mode, const std::function<void(long record)>& progress = {});

// The reordering as answered: channel 4 opened on the registrations of `kind` unless it already
// is, then the range renumbered.
void reorderRegister(records::Catalogue& catalogue, records::RegisterKind kind, const ReorderAnswers& answers,
                     const std::function<void(long record)>& progress = {});

}  // namespace vellano::entry
