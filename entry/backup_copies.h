// "coPie": the data files of the company and year packed into PCOP.ZIP by 7-Zip and copied
// to drive A:.
#pragma once

#include <string>
#include <vector>

#include "records/catalogue.h"
#include "screen/session.h"

namespace vellano::entry {

// The eight command lines, in the order they run. `registryFolder` is the folder prefix of
// the company registry file (empty, "C:" or "folder\").
std::vector<std::string> backupCommands(std::string_view yearSuffix, std::string_view registryFolder);

// The folder prefix the company registry DIKTA file is opened under.
std::string registryFolder(const records::Catalogue& catalogue);

// The menu entry: closes every file, runs the commands one after the other, says on screen
// when the archive or its copy could not be made, then waits for a key.
void runBackupCopies(screen::Session& session);

}  // namespace vellano::entry
