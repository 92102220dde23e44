// The periodic VAT liquidation: taxable amounts and VAT by rate and by VAT code for purchases,
// sales and takings, the agricultural block (article 34), the final balance with interest,
// and its print. The computation is pure and has one entry point per step, so the annual VAT
// communication runs it for the whole year without questions or dialog.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "records/catalogue.h"
#include "records/registration_files.h"
#include "records/vat_code_file.h"
#include "printout/print_channel.h"

namespace vellano::registers {

inline constexpr int kMaxRate = 100;  // the rate accumulators hold whole rates 1-100
inline constexpr int kTakingsRates = 3;
inline constexpr std::array<int, kTakingsRates> kTakingsRateValues{4, 10, 20};

// "M" one month, "T" one quarter, "A" the whole year.
struct Period {
  char kind = 'A';
  int number = 0;  // month 1-12 or quarter 1-4; unused for "A"

  static Period month(int m) { return {'M', m}; }
  static Period quarter(int q) { return {'T', q}; }
  static Period year() { return {'A', 0}; }
  int firstMonth() const;
  int lastMonth() const;
  bool holds(int month) const { return month >= firstMonth() && month <= lastMonth(); }
};

// The month of a registration date: characters 3-4, whatever the first one holds (an
// annulled registration keeps its month); 0 when they are no month.
int registrationMonth(std::string_view date);

// Everything one liquidation reads.
struct LiquidationInput {
  std::vector<records::Registration> sales;
  std::vector<records::Registration> purchases;
  // Gross takings at 4, 10 and 20 % of day d of month m: [m][rate][d - 1], m = 1-12.
  std::array<std::array<std::array<double, records::kDays>, kTakingsRates>, 13> takings{};
  std::array<records::VatCode, records::kVatPositions + 1> codes;  // positions 1-40
  float interestPercent = 0;  // "% Interessi" of CDIVA record 1
};

// Taxable and VAT of one column of the table; `present` when the taxable is above 0.
struct Cell {
  double taxable = 0;
  double vat = 0;
  bool present() const { return taxable > 0; }
};

struct RateRow {
  int rate = 0;
  Cell purchases, sales, takings;
};

struct CodeRow {
  int code = 0;
  std::string codeText;  // the code of the table position, 5 characters
  float rate = 0;        // the code's rate, after a leading "I"
  Cell purchases, sales;
};

struct AgriculturalRow {
  double deductible = 0;
  float compensation = 0;
  double taxable = 0;
};

// The computed liquidation: what the print shows and what a caller takes the amount from.
struct Liquidation {
  Period period;
  std::vector<RateRow> rateRows;
  std::vector<CodeRow> codeRows;
  double purchasesExempt = 0, salesExempt = 0;
  double purchasesTaxable = 0, salesTaxable = 0, takingsTaxable = 0;
  double purchasesVat = 0, salesVat = 0, takingsVat = 0;
  bool agricultural = false;
  std::vector<AgriculturalRow> agriculturalRows;
  double agriculturalTaxable = 0, agriculturalDeductible = 0;
  double balance = 0;      // above 0 to pay, below 0 a credit
  double interest = 0;
  double amountToPay = 0;  // balance + interest
};

// The whole computation for `period`.
Liquidation liquidate(const LiquidationInput& input, Period period);

// Reads the registrations, the takings, the VAT codes and CDIVA record 1 from the files of
// the context's year. Changes no file; the register channels are left on the purchase stems.
LiquidationInput readLiquidationInput(records::Catalogue& catalogue);

// The print lines of the report, without the closing form feed. `companyName` is printed as
// given, `yearSuffix` makes the four-digit year.
std::vector<std::string> liquidationLines(const Liquidation& liquidation, std::string_view companyName,
                                          std::string_view yearSuffix);

// The lines to channel 99, then the closing form feed. Nothing else: no dialog, no ORBWWS.
void printLiquidation(printout::PrintChannel& channel, const Liquidation& liquidation,
                      const records::Context& context);

}  // namespace vellano::registers
