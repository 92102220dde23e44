// The print program VELST10W: start-up shared with the entry program, the print menu, the
// print requests handed over by the entry program, and the return to a new entry program.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/catalogue.h"
#include "screen/menu.h"
#include "screen/session.h"
#include "platform/console.h"

namespace vellano::programs {

inline constexpr std::string_view kPrintVersion = "2011.01a";
inline constexpr std::string_view kPrintProgramName = "VELST10W";

// The 12 rows of the print menu.
const std::vector<screen::MenuItem>& printMenuItems();

// The reports of the other subsystems, wired in by the program. An empty one is not built
// yet: its menu item beeps and its hand-over request shows the menu.
struct PrintReports {
  using Report = std::function<void(screen::Session&)>;
  // Items 1 and 2 (requests "1V", "1A"): the register stems are set before the call;
  // `stateStem` is "SDEFVE" or "SDEFAC".
  std::function<void(screen::Session&, std::string_view stateStem)> vatRegister;
  Report takingsRegister;  // item 3
  Report liquidation;      // item 4, with the F24 payment data
  // Items 5 and 6: "ELENCO   CLIENTI" / "ELENCO FORNITORI".
  std::function<void(screen::Session&, std::string_view title)> counterpartyList;
  // Items 7 and 12, requests "2B" and "2U": mode 1 balance, mode 2 tax-return export.
  std::function<void(screen::Session&, int mode)> balance;
  Report registerHeaders;     // item 8
  Report vatCommunication;    // item 10
  Report counterpartyFile;    // item 11, the Spesometro file
  Report cashAndBankBalance;  // request "3."
  // Requests "41"-"44": the request, the balance stem ("PSALCL"/"PSALFO") and the kind ("C"/"F").
  // Afterwards the request is put back in the hand-over record for the entry program.
  std::function<void(screen::Session&, std::string_view request, std::string_view balanceStem, char kind)>
      counterpartyPrint;
  // Closes print channel 99: before every item and before handing back to the entry program.
  std::function<void()> closePrintChannel;
};

// Runs the program on `console` with the command-line arguments after the program name and
// returns its exit status.
int runPrintProgram(platform::Console& console, std::span<const std::string> args,
                    const PrintReports& reports);

}  // namespace vellano::programs
