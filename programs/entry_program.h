// The entry program VELLA10W: start-up, title and screen, main menu and its dispatch, the
// hand-over to the print program and the exit through the host launcher.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "screen/session.h"
#include "platform/console.h"

namespace vellano::programs {

inline constexpr std::string_view kEntryVersion = "2011.07a";
inline constexpr std::string_view kEntryProgramName = "VELLA10W";

// The screens of the other subsystems, wired in by the program. An empty one is not built
// yet: its menu item beeps.
struct EntryScreens {
  using Screen = std::function<void(screen::Session&)>;
  Screen sales;
  Screen purchases;
  Screen takings;
  // Customers and suppliers take the direct-start request that opened them ("" from the menu).
  std::function<void(screen::Session&, std::string_view request)> customers;
  std::function<void(screen::Session&, std::string_view request)> suppliers;
  Screen cashAndBanks;
  Screen causals;
  Screen vatTable;
  Screen zeroing;
  Screen copies;
};

// Runs the program on `console` with the command-line arguments after the program name and
// returns its exit status.
int runEntryProgram(platform::Console& console, std::span<const std::string> args,
                    const EntryScreens& screens);

}  // namespace vellano::programs
