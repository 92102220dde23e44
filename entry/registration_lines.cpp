// The five VAT lines of a registration: causal and sub-account, VAT code, aliquota with the
// scorporo, imponibile and the gross Totale, then the totals.
#include "entry/registration_editor.h"
#include "entry/registration_lists.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/legend.h"
#include "master/causals.h"
#include "master/vat_table.h"

namespace vellano::entry {
namespace {

using screen::Go;
using screen::kExitUp;

constexpr int kLineRow = 37;  // line k is on row 37 + k
constexpr int kMaxSubAccount = 80;
constexpr int kTaxableWidth = 10;

// The fields of a line, in the order they are typed; their row is the line's.
enum LineField { kCausal, kSubAccount, kVatCode, kRate, kTaxable, kTotal, kLineFields };
constexpr screen::FieldSpec kCausalField =
    screen::numericField(kLineRow, 1, 3).withKeys({kExitUp, screen::kExitF8, screen::kExitF9});
constexpr screen::FieldSpec kSubAccountField = screen::numericField(kLineRow, 5, 2).withKeys({kExitUp});
constexpr screen::FieldSpec kVatCodeField = screen::numericField(kLineRow, 34, 2).withKeys({kExitUp, screen::kExitF9});
constexpr screen::FieldSpec kRateField = screen::textField(kLineRow, 53, 3).withKeys({kExitUp}).inCapitals();
constexpr screen::FieldSpec kTaxableField = screen::numericField(kLineRow, 57, kTaxableWidth).withKeys({kExitUp});
constexpr screen::FieldSpec kTotalField = screen::numericField(kLineRow, 79, kTaxableWidth).withKeys({kExitUp});

screen::FieldSpec onLine(const screen::FieldSpec& field, int k) { return field.at(kLineRow + k, field.col); }
// The step of a line's field in the sequence of all the lines.
int stepOf(int k, LineField field) { return (k - 1) * kLineFields + field; }

std::string plainLegend() { return screen::legend({}); }

}  // namespace

// The lines one after the other: the imponibile goes on to the Totale only when it was left at
// 0 with an aliquota, and Up from a causal goes back to the imponibile of the line above.
Go RegistrationEditor::editLines() {
  std::vector<screen::SequenceStep> steps;
  for (int k = 1; k <= records::kLines; ++k) {
    steps.push_back([this, k] {
      const Go go = askCausal(k);
      return go == Go::back() && k > 1 ? Go::to(stepOf(k - 1, kTaxable)) : go;
    });
    steps.push_back([this, k] { return askSubAccount(k); });
    steps.push_back([this, k] { return askVatCode(k); });
    steps.push_back([this, k] { return askRate(k); });
    steps.push_back([this, k] { return askTaxable(k); });
    steps.push_back([this, k] { return askTotal(k); });
  }
  switch (screen::runSequence(steps, 0, screen::BackFromFirst::Ends)) {
    case screen::SequenceEnd::Abandoned: return Go::abandon();
    case screen::SequenceEnd::BackFromFirst: return Go::back();  // to Quantità
    case screen::SequenceEnd::Completed: break;
  }
  showTotals();
  return Go::next();
}

// The line is complete: an empty one ends the entry, the others go on to the next.
Go RegistrationEditor::lineDone(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  records::computeLine(line);
  showLine(k);
  if (line.empty() || k == records::kLines) return Go::finish();
  return Go::to(stepOf(k + 1, kCausal));
}

Go RegistrationEditor::askCausal(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const screen::FieldSpec field = onLine(kCausalField, k);
  showLegend(screen::legend({{8, "Causali"}, {9, "Ricerca"}}));
  const screen::FieldResult r = type(field, line.causalText);
  double code = records::val(r.text);
  switch (r.exitCode) {
    case screen::kExitEsc: return Go::abandon();
    case kExitUp: return Go::back();
    case screen::kExitF8: {
      const int shown = master::pickCausal(session_);
      if (shown < 1) return Go::again();
      code = shown;
      break;
    }
    case screen::kExitF9: {
      if (causals() < 1) {
        session_.console.beep();
        return Go::again();
      }
      const int chosen = chooseFromList(session_.console, records::causalListEntries(session_.catalogue, causals()),
                                        line.causal() >= 1 && line.causal() <= causals() ? line.causal() : 1);
      if (chosen < 1) return Go::again();
      code = chosen;
      break;
    }
    case screen::kExitEnter: break;
    default: return Go::again();
  }
  const long causal = records::wholeNumberIn(code, 0, causals());
  if (causal < 0) {
    session_.console.beep();
    return Go::again();
  }
  line.causalText = records::codeText(causal);
  put(field.row, field.col,
      causal > 0 ? records::printUsing("###", static_cast<double>(causal)) : std::string(3, ' '));
  return Go::next();
}

Go RegistrationEditor::askSubAccount(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const screen::FieldSpec field = onLine(kSubAccountField, k);
  showLegend(plainLegend());
  const screen::FieldResult r = type(field, line.subAccountText);
  if (const auto go = leaving(r.exitCode)) return *go;
  const long account = records::wholeNumberIn(records::val(r.text), 0, kMaxSubAccount);
  if (account < 0) {
    session_.console.beep();
    return Go::again();
  }
  line.subAccountText = records::codeText(account);
  put(field.row, field.col,
      account > 0 ? records::printUsing("##", static_cast<double>(account)) : std::string(2, ' '));
  put(field.row, 8, records::fitLeft(subAccountDescription(line.causal(), static_cast<int>(account)), 25));
  return Go::next();
}

Go RegistrationEditor::askVatCode(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const screen::FieldSpec field = onLine(kVatCodeField, k);
  const int row = field.row;
  showLegend(screen::legend({{9, "Ricerca"}}));
  const screen::FieldResult r = type(field, line.vatCodeText);
  double code = records::val(r.text);
  switch (r.exitCode) {
    case screen::kExitEsc: return Go::abandon();
    case kExitUp: return Go::back();
    case screen::kExitF9: {
      const int chosen = chooseFromList(session_.console, vatListEntries(session_.catalogue),
                                        line.vatCode() >= 1 ? line.vatCode() : 1, vatListHeading());
      if (chosen < 1) return Go::again();
      code = chosen;
      break;
    }
    case screen::kExitEnter: break;
    default: return Go::again();
  }
  const long position = records::wholeNumberIn(code, 0, records::kVatPositions);
  if (position < 0) {
    session_.console.beep();
    return Go::again();
  }
  // Another code offers its own rate in the aliquota field.
  if (position != line.vatCode()) line.rateText.clear();
  line.vatCodeText = records::codeText(position);
  records::VatCode vat;
  if (position > 0) vat = records::readVatCode(session_.catalogue, static_cast<int>(position));
  put(row, 34, position > 0 ? records::printUsing("##", static_cast<double>(position)) : std::string(2, ' '));
  put(row, 37, records::fitLeft(vat.code, 5));
  // A VAT code shows its percentages through their masks, zero too; no code shows none.
  put(row, 43, position > 0 ? records::printUsing("###", vat.ventilation) : std::string(3, ' '));
  put(row, 47, position > 0 ? records::printUsing("##.#", vat.compensation) : std::string(4, ' '));
  return Go::next();
}

Go RegistrationEditor::askRate(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const screen::FieldSpec field = onLine(kRateField, k);
  std::string tableRate;
  if (line.vatCode() >= 1 && line.vatCode() <= records::kVatPositions)
    tableRate = records::readVatCode(session_.catalogue, line.vatCode()).rateText;
  showLegend(screen::legend({}, "100+Aliquo", "= Scorporo"));
  const screen::FieldResult r = type(field, records::isBlank(line.rateText) ? tableRate : line.rateText);
  if (const auto go = leaving(r.exitCode)) return *go;
  const std::string typed = records::trim(r.text);
  // The same aliquota typed again keeps the text it is stored with (" 20" after a scorporo).
  if (typed != records::trim(line.rateText)) line.rateText = typed.empty() ? tableRate : typed;
  line.rate = records::rateOf(line.rateText);
  put(field.row, field.col, records::left(records::printUsing("###", line.rate), 3));
  return Go::next();
}

Go RegistrationEditor::askTaxable(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const screen::FieldSpec field = onLine(kTaxableField, k);
  showLegend(plainLegend());
  const screen::FieldResult r = type(field, line.taxableText);
  if (const auto go = leaving(r.exitCode)) return *go;
  const std::string typed = records::trim(r.text);
  const double amount = records::val(typed);
  line.rate = records::rateOf(line.rateText);
  if (line.rate > 100) {
    // Scorporo: the typed amount is gross at rate c - 100.
    const float gross = line.rate;
    const std::string rateText = records::strSingle(gross - 100.0f);
    const long double net = static_cast<long double>(amount) * 100.0L / static_cast<long double>(gross);
    const double taxable = records::round2(static_cast<double>(net));
    const std::string taxableText = records::amountForField(taxable, kTaxableWidth);
    if (taxableText.empty()) {
      session_.console.beep();
      return Go::again();
    }
    line.rateText = rateText;
    line.rate = records::rateOf(rateText);
    line.taxableText = taxableText;
    line.taxable = taxable;
    put(field.row, kRateField.col, records::left(records::printUsing("###", line.rate), 3));
    put(field.row, field.col, records::left(records::printUsing("###,###.##", taxable), 10));
    return Go::again();  // offered again with the computed value
  }
  // An unchanged amount keeps the text it is stored with.
  if (amount != records::val(line.taxableText) || records::isBlank(line.taxableText)) line.taxableText = typed;
  line.taxable = records::val(line.taxableText);
  // Left at 0 with an aliquota: the gross Totale is asked for.
  if (line.rate > 0 && line.taxable == 0) return Go::next();
  return lineDone(k);
}

Go RegistrationEditor::askTotal(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  showLegend(plainLegend());
  const screen::FieldResult r = type(onLine(kTotalField, k), "");
  if (const auto go = leaving(r.exitCode)) return *go;
  const double gross = records::val(r.text);
  if (gross == 0) return lineDone(k);
  const long double net = static_cast<long double>(gross) / (static_cast<long double>(line.rate) + 100.0L) * 100.0L;
  const double taxable = records::round2(static_cast<double>(net));
  const std::string text = records::amountForField(taxable, kTaxableWidth);
  if (text.empty()) {
    session_.console.beep();
    return Go::again();
  }
  line.taxableText = text;
  line.taxable = taxable;
  return lineDone(k);
}

}  // namespace vellano::entry
