// The command line a Windows program receives: one string its C runtime splits again. Quoting
// follows the runtime's rules, so every argument arrives exactly as given. Pure, so it is
// tested on every host.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellano::platform {

// One argument as it must appear on the line.
std::wstring quoteWindowsArgument(std::wstring_view argument);

// The program (quoted when needed) followed by each argument.
std::wstring windowsCommandLine(std::wstring_view program, const std::vector<std::wstring>& args);

}  // namespace vellano::platform
