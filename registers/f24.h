// The VAT row of the F24 payment form ("2. SEZIONE ERARIO"): proposed from a liquidation,
// corrected in the "F 2 4" window and handed over to the F24 form program MODUVX.EXE through
// field 11 of the hand-over record.
#pragma once

#include <string>
#include <string_view>

#include "screen/session.h"

namespace vellano::registers {

struct Period;

// The four fields as shown and typed; an empty amount is no amount.
struct F24Row {
  std::string code;    // Codice Tributo, 4 characters
  std::string period;  // rrmmaaaa, 8 characters
  std::string debit;   // Importo a Debito, 9 characters
  std::string credit;  // Importo a Credito, 9 characters
  friend bool operator==(const F24Row&, const F24Row&) = default;
};

inline constexpr std::string_view kF24AmountMask = "######.##";

// The row proposed for a liquidation of `period` with `amountToPay` (above 0: the debit).
F24Row proposeF24Row(const Period& period, double amountToPay, std::string_view yearSuffix);

// kind ("C" paper, "T" electronic) + "-" + code + "-" + period + "-" + masked debit + "-" +
// masked credit.
std::string f24HandOverText(char kind, const F24Row& row);

// True when the amount typed fits the "######.##" mask.
bool fitsF24Mask(std::string_view amountText);

// The "F 2 4" window with `row`. Returns when the user leaves it; after "S" the row is handed
// over, MODUVX.EXE runs and the program ends (screen::ProgramEnd).
void runF24Window(screen::Session& session, F24Row row);

}  // namespace vellano::registers
