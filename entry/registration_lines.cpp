// The five VAT lines of a registration: causal and sub-account, VAT code, aliquota with the
// scorporo, imponibile and the gross Totale, then the totals.
#include <cmath>

#include "entry/registration_editor.h"
#include "entry/registration_lists.h"
#include "screen/list_select.h"
#include "records/numbers.h"
#include "records/text.h"
#include "master/causals.h"
#include "screen/kit.h"
#include "records/vat_code_file.h"

namespace vellano::entry {
namespace {

constexpr std::string_view kUpOnly = "10000000000";
constexpr std::string_view kCausalKeys = "10000001100";   // Up, F8, F9
constexpr std::string_view kVatCodeKeys = "10000000100";  // Up, F9
constexpr int kLineRow = 37;
constexpr int kMaxSubAccount = 80;
constexpr int kTaxableWidth = 10;

enum LineField { kCausal, kSubAccount, kVatCode, kRate, kTaxable, kTotal };

std::string plainLegend() { return screen::legend("", "", "", "", "", "", "", "", ""); }

}  // namespace

Step RegistrationEditor::editLines() {
  int k = 1;
  int field = kCausal;
  for (;;) {
    records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
    Step step = Step::Next;
    bool wantsTotal = false;
    switch (field) {
      case kCausal: step = askCausal(k); break;
      case kSubAccount: step = askSubAccount(k); break;
      case kVatCode: step = askVatCode(k); break;
      case kRate: step = askRate(k); break;
      case kTaxable: step = askTaxable(k, wantsTotal); break;
      default: step = askTotal(k); break;
    }
    if (step == Step::Abandon) return step;
    if (step == Step::Back) {
      if (field != kCausal) {
        field = field == kTotal ? kTaxable : field - 1;
      } else if (k > 1) {
        --k;
        field = kTaxable;
      } else {
        return Step::Back;  // to Quantità
      }
      continue;
    }
    if (field < kTaxable || (field == kTaxable && wantsTotal)) {
      field = field == kTaxable ? kTotal : field + 1;
      continue;
    }
    // The line is complete: an empty one ends the entry, the others go on to the next.
    records::computeLine(line);
    showLine(k);
    if (line.empty() || k == records::kLines) break;
    ++k;
    field = kCausal;
  }
  showTotals();
  return Step::Next;
}

Step RegistrationEditor::askCausal(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const int row = kLineRow + k;
  for (;;) {
    showLegend(screen::legend("", "", "", "", "", "", "", "Causali", "Ricerca"));
    const screen::FieldResult r = edit(row, 1, 3, kCausalKeys, 0, line.causalText);
    double code = records::val(r.text);
    switch (r.exitCode) {
      case screen::kExitEsc: return Step::Abandon;
      case screen::kExitUp: return Step::Back;
      case 8: {
        const int shown = master::pickCausal(session_);
        if (shown < 1) continue;
        code = shown;
        break;
      }
      case 9: {
        if (causals() < 1) {
          session_.console.beep();
          continue;
        }
        const int chosen =
            screen::selectFromList(session_.console, records::causalListEntries(session_.catalogue, causals()),
                                  line.causal() >= 1 && line.causal() <= causals() ? line.causal() : 1,
                                  searchWindow(), "", kSearchHighlight);
        if (chosen < 1) continue;
        code = chosen;
        break;
      }
      case screen::kExitEnter: break;
      default: continue;
    }
    const long causal = wholeNumberIn(code, 0, causals());
    if (causal < 0) {
      session_.console.beep();
      continue;
    }
    line.causalText = records::codeText(causal);
    put(row, 1, causal > 0 ? records::printUsing("###", static_cast<double>(causal)) : std::string(3, ' '));
    return Step::Next;
  }
}

Step RegistrationEditor::askSubAccount(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const int row = kLineRow + k;
  showLegend(plainLegend());
  for (;;) {
    const screen::FieldResult r = edit(row, 5, 2, kUpOnly, 0, line.subAccountText);
    if (r.exitCode == screen::kExitEsc) return Step::Abandon;
    if (r.exitCode == screen::kExitUp) return Step::Back;
    const long account = wholeNumberIn(records::val(r.text), 0, kMaxSubAccount);
    if (account < 0) {
      session_.console.beep();
      continue;
    }
    line.subAccountText = records::codeText(account);
    put(row, 5, account > 0 ? records::printUsing("##", static_cast<double>(account)) : std::string(2, ' '));
    put(row, 8, records::fitLeft(subAccountDescription(line.causal(), static_cast<int>(account)), 25));
    return Step::Next;
  }
}

Step RegistrationEditor::askVatCode(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const int row = kLineRow + k;
  for (;;) {
    showLegend(screen::legend("", "", "", "", "", "", "", "", "Ricerca"));
    const screen::FieldResult r = edit(row, 34, 2, kVatCodeKeys, 0, line.vatCodeText);
    double code = records::val(r.text);
    switch (r.exitCode) {
      case screen::kExitEsc: return Step::Abandon;
      case screen::kExitUp: return Step::Back;
      case 9: {
        const int chosen = screen::selectFromList(session_.console, vatListEntries(session_.catalogue),
                                                 line.vatCode() >= 1 ? line.vatCode() : 1, searchWindow(),
                                                 vatListHeading(), kSearchHighlight);
        if (chosen < 1) continue;
        code = chosen;
        break;
      }
      case screen::kExitEnter: break;
      default: continue;
    }
    const long position = wholeNumberIn(code, 0, records::kVatPositions);
    if (position < 0) {
      session_.console.beep();
      continue;
    }
    // Another code offers its own rate in the aliquota field.
    if (position != line.vatCode()) line.rateText.clear();
    line.vatCodeText = records::codeText(position);
    records::VatCode vat;
    if (position > 0) vat = records::readVatCode(session_.catalogue, static_cast<int>(position));
    put(row, 34, position > 0 ? records::printUsing("##", static_cast<double>(position)) : std::string(2, ' '));
    put(row, 37, records::fitLeft(vat.code, 5));
    put(row, 43, vat.ventilation > 0 ? records::printUsing("###", vat.ventilation) : std::string(3, ' '));
    put(row, 47, vat.compensation > 0 ? records::printUsing("##.#", vat.compensation) : std::string(4, ' '));
    return Step::Next;
  }
}

Step RegistrationEditor::askRate(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const int row = kLineRow + k;
  std::string tableRate;
  if (line.vatCode() >= 1 && line.vatCode() <= records::kVatPositions)
    tableRate = records::readVatCode(session_.catalogue, line.vatCode()).rateText;
  showLegend(screen::legend("", "", "", "", "", "", "", "", "", "100+Aliquo", "= Scorporo"));
  const screen::FieldResult r =
      edit(row, 53, -3, kUpOnly, 0, records::isBlank(line.rateText) ? tableRate : line.rateText, true);
  if (r.exitCode == screen::kExitEsc) return Step::Abandon;
  if (r.exitCode == screen::kExitUp) return Step::Back;
  const std::string typed = records::trim(r.text);
  // The same aliquota typed again keeps the text it is stored with (" 20" after a scorporo).
  if (typed != records::trim(line.rateText)) line.rateText = typed.empty() ? tableRate : typed;
  line.rate = records::rateOf(line.rateText);
  put(row, 53, records::left(records::printUsing("###", line.rate), 3));
  return Step::Next;
}

Step RegistrationEditor::askTaxable(int k, bool& askTotal) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const int row = kLineRow + k;
  showLegend(plainLegend());
  for (;;) {
    const screen::FieldResult r = edit(row, 57, kTaxableWidth, kUpOnly, 0, line.taxableText);
    if (r.exitCode == screen::kExitEsc) return Step::Abandon;
    if (r.exitCode == screen::kExitUp) return Step::Back;
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
        continue;
      }
      line.rateText = rateText;
      line.rate = records::rateOf(rateText);
      line.taxableText = taxableText;
      line.taxable = taxable;
      put(row, 53, records::left(records::printUsing("###", line.rate), 3));
      put(row, 57, records::left(records::printUsing("###,###.##", taxable), 10));
      continue;  // offered again with the computed value
    }
    // An unchanged amount keeps the text it is stored with.
    if (amount != records::val(line.taxableText) || records::isBlank(line.taxableText)) line.taxableText = typed;
    line.taxable = records::val(line.taxableText);
    askTotal = line.rate > 0 && line.taxable == 0;
    return Step::Next;
  }
}

Step RegistrationEditor::askTotal(int k) {
  records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const int row = kLineRow + k;
  showLegend(plainLegend());
  for (;;) {
    const screen::FieldResult r = edit(row, 79, kTaxableWidth, kUpOnly, 0, "");
    if (r.exitCode == screen::kExitEsc) return Step::Abandon;
    if (r.exitCode == screen::kExitUp) return Step::Back;
    const double gross = records::val(r.text);
    if (gross == 0) return Step::Next;
    const long double net = static_cast<long double>(gross) / (static_cast<long double>(line.rate) + 100.0L) * 100.0L;
    const double taxable = records::round2(static_cast<double>(net));
    const std::string text = records::amountForField(taxable, kTaxableWidth);
    if (text.empty()) {
      session_.console.beep();
      continue;
    }
    line.taxableText = text;
    line.taxable = taxable;
    return Step::Next;
  }
}

}  // namespace vellano::entry
