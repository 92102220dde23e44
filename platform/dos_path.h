// DOS file names as the data files and commands spell them, mapped to host paths.
#pragma once

#include <filesystem>
#include <string_view>

namespace vellano::platform {

// "C:CLIFOR.DAT" -> ./CLIFOR.DAT, "C:\ALB\QMENU.DAT" -> ./ALB/QMENU.DAT,
// "A:X" -> ./DRIVE-A/X (or $VELLANO_DRIVE_A/X), "LPT1:" -> LPT1.PRN (or $VELLANO_LPT1).
// Relative to the working folder; backslashes become slashes; the name keeps its spelling.
std::filesystem::path hostPath(std::string_view dosName);

// The host folder a drive letter names ("C" -> working folder).
std::filesystem::path driveFolder(char letter);

}  // namespace vellano::platform
