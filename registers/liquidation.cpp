// The periodic VAT liquidation: accumulators, final block and print lines.
#include "registers/liquidation.h"

#include <cmath>

#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"

namespace vellano::registers {
namespace {

constexpr const char* kAmountMask = "###,###.##";
constexpr std::string_view kEmptyCell = "          |          |";

// round(rate × taxable ÷ 100, 2), the product taken in extended precision as every reader of
// the registrations does.
double vatAt(double rate, double taxable) {
  return records::round2(static_cast<double>(static_cast<long double>(rate) * taxable / 100.0L));
}

// A rate as an accumulator index: the nearest whole rate; 0 when outside 1-100.
int rateIndex(float rate) {
  const long r = std::lround(rate);
  return r >= 1 && r <= kMaxRate ? static_cast<int>(r) : 0;
}

// Taxable of gross takings: the gross divided and rounded in extended precision.
double takingsTaxable(double gross, long double divisor) {
  const long double taxable = static_cast<long double>(gross) / divisor;
  return static_cast<double>(std::nearbyint(taxable * 100.0L) / 100.0L);
}

struct Accumulators {
  std::array<double, kMaxRate + 1> purchasesByRate{}, salesByRate{}, takingsByRate{};
  std::array<double, records::kVatPositions + 1> purchasesByCode{}, salesByCode{};
  double purchasesExempt = 0, salesExempt = 0;
  double purchasesTaxable = 0, salesTaxable = 0, takingsTaxable = 0;
};

// One register's registrations of the period into its accumulators.
void addRegister(const std::vector<records::Registration>& registrations, const Period& period,
                 std::array<double, kMaxRate + 1>& byRate, std::array<double, records::kVatPositions + 1>& byCode,
                 double& taxableTotal, double& exemptTotal) {
  for (const records::Registration& r : registrations) {
    if (!period.holds(registrationMonth(r.date))) continue;
    for (const records::VatLine& line : r.lines) {
      if (line.rate > 0) {
        const int code = line.vatCode();
        if (code > 0) {
          // A code beyond the table has no row to go to.
          if (code > records::kVatPositions) continue;
          byCode[static_cast<std::size_t>(code)] += line.taxable;
        } else {
          const int rate = rateIndex(line.rate);
          if (rate == 0) continue;
          byRate[static_cast<std::size_t>(rate)] += line.taxable;
        }
        taxableTotal += line.taxable;
      } else if (line.rate == 0 && line.taxable > 0) {
        exemptTotal += line.taxable;
      }
    }
  }
}

Accumulators accumulate(const LiquidationInput& in, const Period& period) {
  Accumulators a;
  addRegister(in.sales, period, a.salesByRate, a.salesByCode, a.salesTaxable, a.salesExempt);
  addRegister(in.purchases, period, a.purchasesByRate, a.purchasesByCode, a.purchasesTaxable, a.purchasesExempt);
  static constexpr std::array<long double, kTakingsRates> kDivisors{1.04L, 1.10L, 1.20L};
  for (int m = period.firstMonth(); m <= period.lastMonth(); ++m) {
    for (int k = 0; k < kTakingsRates; ++k) {
      const auto uk = static_cast<std::size_t>(k);
      for (double gross : in.takings[static_cast<std::size_t>(m)][uk]) {
        const double taxable = takingsTaxable(gross, kDivisors[uk]);
        a.takingsByRate[static_cast<std::size_t>(kTakingsRateValues[uk])] += taxable;
        a.takingsTaxable += taxable;
      }
    }
  }
  return a;
}

// A cell of the table at `rate`; its VAT joins `vatTotal` when the cell is printed.
Cell cellAt(double rate, double taxable, double& vatTotal) {
  Cell c;
  c.taxable = taxable;
  if (c.present()) {
    c.vat = vatAt(rate, taxable);
    vatTotal += c.vat;
  }
  return c;
}

void buildTable(const LiquidationInput& in, const Accumulators& a, Liquidation& l) {
  for (int r = 1; r <= kMaxRate; ++r) {
    const auto ur = static_cast<std::size_t>(r);
    if (!(a.purchasesByRate[ur] > 0 || a.salesByRate[ur] > 0 || a.takingsByRate[ur] > 0)) continue;
    RateRow row;
    row.rate = r;
    row.purchases = cellAt(r, a.purchasesByRate[ur], l.purchasesVat);
    row.sales = cellAt(r, a.salesByRate[ur], l.salesVat);
    row.takings = cellAt(r, a.takingsByRate[ur], l.takingsVat);
    l.rateRows.push_back(row);
  }
  for (int c = 1; c <= records::kVatPositions; ++c) {
    const auto uc = static_cast<std::size_t>(c);
    if (!(a.purchasesByCode[uc] > 0 || a.salesByCode[uc] > 0)) continue;
    const records::VatCode& code = in.codes[uc];
    CodeRow row;
    row.code = c;
    row.codeText = records::fitLeft(code.code, 5);
    row.rate = records::rateOf(code.rateText);
    row.purchases = cellAt(row.rate, a.purchasesByCode[uc], l.purchasesVat);
    row.sales = cellAt(row.rate, a.salesByCode[uc], l.salesVat);
    if (row.sales.present() && code.compensation > 0) l.agricultural = true;
    l.codeRows.push_back(row);
  }
}

void buildAgricultural(const LiquidationInput& in, const Accumulators& a, Liquidation& l) {
  if (!l.agricultural) return;
  for (int c = 1; c <= records::kVatPositions; ++c) {
    const auto uc = static_cast<std::size_t>(c);
    const float compensation = in.codes[uc].compensation;
    if (!(a.salesByCode[uc] > 0 && compensation > 0)) continue;
    AgriculturalRow row;
    row.taxable = a.salesByCode[uc];
    row.compensation = compensation;
    row.deductible = vatAt(compensation, row.taxable);
    l.agriculturalTaxable += row.taxable;
    l.agriculturalDeductible += row.deductible;
    l.agriculturalRows.push_back(row);
  }
}

void buildBalance(const LiquidationInput& in, Liquidation& l) {
  double balance = 0;
  if (l.salesVat > 0) balance = l.salesVat;
  if (l.takingsVat > 0) balance = l.takingsVat + l.salesVat;
  if (!l.agricultural && l.purchasesVat > 0) balance = l.takingsVat + l.salesVat - l.purchasesVat;
  if (l.agricultural && l.agriculturalDeductible > 0) {
    balance = l.takingsVat + l.salesVat - l.agriculturalDeductible;
    if (balance < 1) balance = 0;
  }
  l.balance = balance;
  l.amountToPay = balance;
  // A credit earns no interest.
  if (in.interestPercent > 0 && l.amountToPay > 0) {
    l.interest = vatAt(in.interestPercent, l.amountToPay);
    l.amountToPay += l.interest;
  }
}

std::string amount(double value) { return records::printUsing(kAmountMask, value); }

std::string cellText(const Cell& c) {
  return c.present() ? amount(c.taxable) + "|" + amount(c.vat) + "|" : std::string(kEmptyCell);
}

std::string periodHeading(const Period& p, std::string_view yearSuffix) {
  const std::string year = "20" + std::string(yearSuffix);
  switch (p.kind) {
    case 'M': return "Mese di " + std::string(records::monthName(p.number)) + " " + year;
    case 'T': return std::to_string(p.number) + " Trimestre " + " " + year;
    default: return "Anno " + year;
  }
}

std::string finalLine(std::string_view label, double value) {
  return std::string(label) + "    " + amount(value) + "    |";
}

void finalBlock(const Liquidation& l, std::vector<std::string>& out) {
  static constexpr std::string_view kRule = "+------------------------------------------+------------------+";
  out.push_back("");
  out.push_back("+-------------------------------------------------------------+");
  out.push_back("|LIQUIDAZIONE IVA                                             |");
  out.push_back(std::string(kRule));
  if (l.salesVat > 0) out.push_back(finalLine("|IVA SU VENDITE............................|", l.salesVat));
  if (l.takingsVat > 0) out.push_back(finalLine("|IVA SU CORRISPETTVI.......................|", l.takingsVat));
  if (!l.agricultural && l.purchasesVat > 0)
    out.push_back(finalLine("|IVA SU ACQUISTI...........................|", l.purchasesVat));
  if (l.agricultural && l.agriculturalDeductible > 0)
    out.push_back(finalLine("|IVA DETRAIBILE REGIME SPECIALE AGRICOLTURA|", l.agriculturalDeductible));
  if (l.balance > 0) out.push_back(finalLine("|IMPOSTA A DEBITO..........................|", l.balance));
  if (l.balance < 0) out.push_back(finalLine("|IMPOSTA A CREDITO.........................|", l.balance));
  if (l.amountToPay > 0) {
    out.push_back(std::string(kRule));
    if (l.interest > 0) out.push_back(finalLine("|INTERESSI.................................|", l.interest));
    out.push_back(finalLine("|IMPOSTA DA VERSARE........................|", l.amountToPay));
  }
  out.push_back(std::string(kRule));
  if (l.amountToPay > 0) {
    out.push_back("");
    out.push_back("VERSAMENTO ESEGUITO IL _____/_____/__________   A MEZZO F24 _________________");
  }
}

}  // namespace

int Period::firstMonth() const {
  switch (kind) {
    case 'M': return number;
    case 'T': return (number - 1) * 3 + 1;
    default: return 1;
  }
}

int Period::lastMonth() const {
  switch (kind) {
    case 'M': return number;
    case 'T': return number * 3;
    default: return 12;
  }
}

int registrationMonth(std::string_view date) {
  const std::string digits = records::mid(date, 3, 2);
  if (digits.size() != 2 || digits[0] < '0' || digits[0] > '9' || digits[1] < '0' || digits[1] > '9') return 0;
  const int month = (digits[0] - '0') * 10 + (digits[1] - '0');
  return month >= 1 && month <= 12 ? month : 0;
}

Liquidation liquidate(const LiquidationInput& input, Period period) {
  Liquidation l;
  l.period = period;
  const Accumulators a = accumulate(input, period);
  l.purchasesExempt = a.purchasesExempt;
  l.salesExempt = a.salesExempt;
  l.purchasesTaxable = a.purchasesTaxable;
  l.salesTaxable = a.salesTaxable;
  l.takingsTaxable = a.takingsTaxable;
  buildTable(input, a, l);
  buildAgricultural(input, a, l);
  buildBalance(input, l);
  return l;
}

LiquidationInput readLiquidationInput(records::Catalogue& catalogue) {
  LiquidationInput in;
  for (const records::RegisterKind kind : {records::RegisterKind::Sales, records::RegisterKind::Purchases}) {
    const records::RegisterHeader header = records::openRegister(catalogue, kind);
    std::vector<records::Registration> list = records::readRegistrations(catalogue, header.count);
    (kind == records::RegisterKind::Sales ? in.sales : in.purchases) = std::move(list);
  }
  records::Channel& takings = catalogue.open(records::channel::kTakings);
  for (int m = 1; m <= 12; ++m) {
    takings.read(m);
    records::Takings month;
    records::L_27(catalogue, month);
    for (int k = 0; k < kTakingsRates; ++k)
      for (int d = 0; d < records::kDays; ++d)
        in.takings[static_cast<std::size_t>(m)][static_cast<std::size_t>(k)][static_cast<std::size_t>(d)] =
            records::val(month.day[static_cast<std::size_t>(k)][static_cast<std::size_t>(d)]);
  }
  for (int c = 1; c <= records::kVatPositions; ++c) in.codes[static_cast<std::size_t>(c)] = records::readVatCode(catalogue, c);
  catalogue.open(records::channel::kVatControl).read(1);
  records::ControlRecord control;
  records::L_5(catalogue, control);
  in.interestPercent = static_cast<float>(records::val(control.interest));
  return in;
}

std::vector<std::string> liquidationLines(const Liquidation& l, std::string_view companyName,
                                          std::string_view yearSuffix) {
  std::vector<std::string> out;
  out.push_back(std::string(companyName));
  out.push_back("PROSPETTO LIQUIDAZIONE PERIODICA IVA " + periodHeading(l.period, yearSuffix));
  static constexpr std::string_view kTableRule = "+-----+----+----------+----------+----------+----------+----------+----------+";
  out.push_back("+----------+---------------------+---------------------+---------------------+");
  out.push_back("| ALIQUOTA |      ACQUISTI       |       VENDITE       |    CORRISPETTIVI    |");
  out.push_back("|Descr|  % |Imponibile|Imposta   |Imponibile|Imposta   |Imponibile|Imposta   |");
  out.push_back(std::string(kTableRule));
  for (const RateRow& row : l.rateRows) {
    out.push_back("|" + records::printUsing("#####", row.rate) + "|" + records::printUsing("###", row.rate) + "%|" +
                  cellText(row.purchases) + cellText(row.sales) + cellText(row.takings));
  }
  for (const CodeRow& row : l.codeRows) {
    out.push_back("|" + row.codeText + "|" + records::printUsing("###", row.rate) + "%|" + cellText(row.purchases) +
                  cellText(row.sales) + std::string(kEmptyCell) + std::string(kEmptyCell));
  }
  if (l.purchasesExempt > 0 || l.salesExempt > 0) {
    auto exempt = [](double v) {
      return v > 0 ? amount(v) + "|          |" : std::string(kEmptyCell);
    };
    out.push_back("|Esente    |" + exempt(l.purchasesExempt) + exempt(l.salesExempt) + std::string(kEmptyCell));
  }
  out.push_back(std::string(kTableRule));
  out.push_back("Totale     :" + amount(l.purchasesTaxable) + " " + amount(l.purchasesVat) + " " + amount(l.salesTaxable) +
                " " + amount(l.salesVat) + " " + amount(l.takingsTaxable) + " " + amount(l.takingsVat));
  if (l.agricultural) {
    static constexpr std::string_view kAgriculturalRule = "+------------------------------+------------------------------+";
    out.push_back("");
    out.push_back("+-------------------------------------------------------------+");
    out.push_back("|    LIQUIDAZIONE ARTICOLO 34  REGIME SPECIALE AGRICOLTURA    |");
    out.push_back("|IVA Detraibile                |Percentuale di Compensazione  |");
    out.push_back(std::string(kAgriculturalRule));
    for (const AgriculturalRow& row : l.agriculturalRows) {
      out.push_back("|          " + amount(row.deductible) + "          |     " +
                    records::printUsing("##.#", row.compensation) + "% di " + amount(row.taxable) + "      |");
    }
    out.push_back(std::string(kAgriculturalRule));
  }
  finalBlock(l, out);
  return out;
}

void printLiquidation(printout::PrintChannel& channel, const Liquidation& liquidation,
                      const records::Context& context) {
  // The company name keeps the padding of its 40-character field.
  const std::string name = records::fitLeft(context.company.name, 40);
  for (const std::string& line : liquidationLines(liquidation, name, context.yearSuffix)) channel.printLine(line);
  channel.formFeed();
}

}  // namespace vellano::registers
