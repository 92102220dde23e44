// The host side of finding programs, one implementation per operating system: what counts as
// an executable file, and the host programs that stand in where the two systems differ.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/programs.h"

namespace vellano::platform {

// The executable file a candidate names: the file itself where it may be run (on Windows also
// with ".exe" or ".com" added); empty when there is none.
std::filesystem::path executableFile(const std::filesystem::path& candidate);

// Fills in the host program for a DOS name (upper case, without ".EXE") where this system
// has its own way of doing it; false leaves the plan to the common mapping.
bool nativeHostProgram(std::string_view dosName, ProgramPlan& plan);

}  // namespace vellano::platform
