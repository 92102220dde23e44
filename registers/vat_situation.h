// The VAT situation of the year ("SITUAZIONE IVA"): monthly and quarterly VAT of purchases
// and sales, the running balance from the opening position, VAT paid, interest and amount to
// pay, recomputed from the files every time it is shown. The screen starts the liquidation
// (F9) and shows the F24 row of the last one printed (F8).
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "records/registration_files.h"
#include "screen/session.h"
#include "platform/screen_buffer.h"
#include "printout/print_output.h"
#include "registers/f24.h"

namespace vellano::registers {

// What the situation is computed from.
struct SituationInput {
  std::array<double, 13> purchases{};  // A(m): VAT of the month's purchases, non-deductible left out
  std::array<double, 13> sales{};      // V(m)
  std::array<double, 13> paid{};       // IVA VERSATA of month m (IVVER)
  double opening = 0;                  // CDIVA record 1: credit positive, debit negative
  float interestPercent = 0;
};

struct SituationRow {
  double purchases = 0;
  double sales = 0;
  double balance = 0;     // S: above 0 a credit ("C"), below 0 a debit ("D")
  double difference = 0;  // purchases - sales
  double paid = 0;
  double interest = 0;
  double toPay = 0;       // the amount shown: amount to pay plus interest
};

struct VatSituation {
  std::array<SituationRow, 13> months{};   // 1-12
  std::array<SituationRow, 5> quarters{};  // 1-4
};

// A(m) and V(m) of a register's registrations: each one's VAT minus its non-deductible VAT,
// by the month characters of its date (annulled registrations included).
std::array<double, 13> monthlyVat(const std::vector<records::Registration>& registrations);

VatSituation computeSituation(const SituationInput& input);

// Reads both registers, IVVER record 1 and CDIVA record 1. Changes no file.
SituationInput readSituationInput(records::Catalogue& catalogue);

// The screen's contents inside its window: row 2 (opening position and "% Interessi"), the
// quarter rows 5-8, the month rows 11-22 and the note at row 40.
void drawSituation(platform::ScreenBuffer& screen, const records::ControlRecord& control,
                   const VatSituation& situation, std::uint8_t attr);

// What the "IVA" item keeps while the print program runs: the print module and the F24 row of
// the last liquidation printed.
struct LiquidationSession {
  printout::PrintOutput& output;
  std::optional<F24Row> lastRow;
};

// The "IVA" menu item: the situation screen until ESC.
void runVatSituation(screen::Session& session, LiquidationSession& state);

}  // namespace vellano::registers
