// Annulling and restoring one registration (F9 in the date field of the registration screen).
#pragma once

#include "records/registration_files.h"
#include "screen/session.h"

namespace vellano::entry {

enum class AnnulResult {
  Unchanged,  // ESC or "N": back to the date field
  Changed,    // the record was rewritten: back to the record-number field
};

// The annulled form of a date: "~" and its last five characters (140511 -> ~40511).
std::string annulledDate(std::string_view date);

// Asks and, on "S", annuls registration `number` of the register `kind` (or restores it
// with a newly typed full date when it is annulled), writing the record at its number.
// `registration` is updated to what was written. Nothing else changes: no balance, counter
// or other field.
AnnulResult annulOrRestore(screen::Session& session, records::RegisterKind kind, long number, records::Registration& registration);

}  // namespace vellano::entry
