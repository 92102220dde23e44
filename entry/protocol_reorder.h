// "RIORDINO PROTOCOLLO": the window that asks which registrations to renumber, from which
// number and in which order; the renumbering itself is in protocol_renumbering.h.
#pragma once

#include "entry/protocol_renumbering.h"
#include "records/registration_files.h"
#include "screen/session.h"

namespace vellano::entry {

// The window of F4 on the record-number field of the registration screen, for a register of
// `count` registrations. True when the protocols were renumbered (the caller re-reads the
// registration on show).
bool reorderProtocols(screen::Session& session, records::RegisterKind kind, long count);

}  // namespace vellano::entry
