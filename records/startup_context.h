// Start-up resolution of the context values, the same for both programs: command line,
// installation settings, host hand-over, data folder, working date, parameters, company
// and counters. What differs between the programs comes in through StartupOptions.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "records/catalogue.h"
#include "records/context.h"

namespace vellano::records {

class FolderPrompt;

struct StartupOptions {
  std::string version;             // version text of the program starting
  // A restart of the main loop: the command line and host values stay as settled; the
  // working date, parameters, company and counters are read again.
  bool restart = false;
  // Serves a missing folder during start-up (the error box, once installed); without it
  // the error reaches the caller.
  FolderPrompt* folders = nullptr;
};

// Settles catalogue.context() from the command-line arguments (program name excluded:
// args[0] is the host switch, args[1] the terminal number; a lone argument that does not
// start with "/" is the terminal number) and the context files.
void resolveContext(Catalogue& catalogue, std::span<const std::string> args,
                    const StartupOptions& options);

// Main-loop entry: parameters (customer/supplier extension), counters, customer and
// supplier files.
void reopenContext(Catalogue& catalogue);

// Reads the working date file and sets the working date and year suffix.
void readWorkingDate(Catalogue& catalogue);

// Whether the working date is a date: six digits passing the date check.
bool workingDateValid(const Context& context);
// The date file holds bytes that are no valid date: damaged. Left as it is, it would choose
// the year files of a year nobody works in (00, 99). A date file without bytes is a new
// folder's, where no year files are there to be confused.
bool workingDateDamaged(const Catalogue& catalogue);

// Stores a new working date in the date file, reads it back and reopens the open channels
// of the year under the new suffix.
void changeWorkingDate(Catalogue& catalogue, std::string_view date);

// Writes a request code into field 9 of this terminal's hand-over record, every other byte
// kept as stored ("00" before a plain start of the print program).
void storeHandOverRequest(Catalogue& catalogue, std::string_view request);

}  // namespace vellano::records
