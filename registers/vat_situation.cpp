// The "SITUAZIONE IVA" screen: computed afresh from the files at every showing.
#include "registers/vat_situation.h"

#include <string>

#include "records/cp437_text.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/kit.h"
#include "screen/window.h"
#include "registers/liquidation_dialog.h"

namespace vellano::registers {
namespace {

constexpr const char* kAmountMask = "###,###.##";
constexpr int kQuarterHeadRow = 4;
constexpr int kMonthHeadRow = 10;
constexpr int kPositionRow = 2;
constexpr int kLetterCol = 37, kOpeningCol = 50, kInterestCol = 76;
constexpr int kNoteRow = 40, kNoteCol = 4;
constexpr std::string_view kLegend =
    "1          |2Interessi |3          |4          |5          |6          |7          |8F24       |9Stampa Reg|          |          ";
constexpr std::string_view kNote =
    "Per creare il Modello 'F24' e' necessario stampare la Liquidazione IVA (tasto F9).";

constexpr screen::FieldSpec kLetterField =
    screen::textField(kPositionRow, kLetterCol, 1).inCapitals().withKeys({screen::kExitF2, screen::kExitF8, screen::kExitF9});
constexpr screen::FieldSpec kOpeningField = screen::numericField(kPositionRow, kOpeningCol, 10).withKeys({screen::kExitUp});
constexpr screen::FieldSpec kInterestField = screen::numericField(kPositionRow, kInterestCol, 5);

double interestOn(float percent, double amount) {
  return records::round2(static_cast<double>(static_cast<long double>(percent) * amount / 100.0L));
}

// Zero amounts are left blank.
void putAmount(platform::ScreenBuffer& screen, int row, int col, double value, std::uint8_t attr) {
  if (value != 0) screen.putText(row, col, records::printUsing(kAmountMask, value), attr);
}

void drawRow(platform::ScreenBuffer& screen, int row, const std::string& label, const SituationRow& r,
             std::uint8_t attr) {
  screen.putText(row, 2, label, attr);
  putAmount(screen, row, 6, r.purchases, attr);
  putAmount(screen, row, 17, r.sales, attr);
  if (r.balance < 0) screen.putText(row, 28, "D", attr);
  if (r.balance > 0) screen.putText(row, 28, "C", attr);
  putAmount(screen, row, 30, r.balance, attr);
  putAmount(screen, row, 41, r.difference, attr);
  putAmount(screen, row, 54, r.paid, attr);
  putAmount(screen, row, 68, r.interest, attr);
  putAmount(screen, row, 82, r.toPay, attr);
}

void drawHeads(platform::ScreenBuffer& screen, int row, std::string_view first, std::uint8_t attr) {
  screen.putText(row, 2, records::cp437(std::string(first) + "│ACQUISTI  │VENDITE   │V│SALDO     │DIFFERENZA"), attr);
  screen.putText(row, 54, "IVA VERSATA", attr);
  screen.putText(row, 68, "INTERESSI  ", attr);
  screen.putText(row, 82, "DA VERSARE ", attr);
}

records::ControlRecord readControl(records::Catalogue& catalogue) {
  catalogue.open(records::channel::kVatControl).read(1);
  records::ControlRecord control;
  records::L_5(catalogue, control);
  return control;
}

// Record 1 as it is on file now, with the values typed here.
void writeControl(records::Catalogue& catalogue, const records::ControlRecord& typed, bool opening) {
  records::ControlRecord stored = readControl(catalogue);
  if (opening) {
    stored.kind = typed.kind;
    stored.amount = typed.amount;
  } else {
    stored.interest = typed.interest;
  }
  records::W_5(catalogue, stored);
  catalogue.channel(records::channel::kVatControl).write(1);
}

// Letter, then opening amount; both written when the amount is confirmed.
void editOpening(screen::Session& session, records::ControlRecord control, const std::string& letter,
                 std::uint8_t attr) {
  session.editor.setColours(screen::screenColours(session.context()).editing, attr);
  control.kind = letter;
  const screen::FieldResult r = session.editor.edit(kOpeningField, control.amount);
  if (r.exitCode != screen::kExitEnter) return;  // Up goes back to the letter, ESC leaves
  control.amount = records::trim(r.text);
  writeControl(session.catalogue, control, true);
}

void editInterest(screen::Session& session, records::ControlRecord control, std::uint8_t attr) {
  session.editor.setColours(screen::screenColours(session.context()).editing, attr);
  const screen::FieldResult r = session.editor.edit(kInterestField, control.interest);
  if (r.exitCode != screen::kExitEnter) return;
  control.interest = records::trim(r.text);
  writeControl(session.catalogue, control, false);
}

}  // namespace

std::array<double, 13> monthlyVat(const std::vector<records::Registration>& registrations) {
  std::array<double, 13> out{};
  for (const records::Registration& r : registrations) {
    const int m = registrationMonth(r.date);
    if (m == 0) continue;
    const records::Totals t = r.totals();
    out[static_cast<std::size_t>(m)] += t.vat - t.nonDeductible;
  }
  return out;
}

VatSituation computeSituation(const SituationInput& in) {
  VatSituation s;
  double running = in.opening;
  for (int m = 1; m <= 12; ++m) {
    const auto um = static_cast<std::size_t>(m);
    SituationRow& row = s.months[um];
    row.purchases = in.purchases[um];
    row.sales = in.sales[um];
    running = row.purchases + running - row.sales;
    row.balance = running;
    row.difference = row.purchases - row.sales;
    row.paid = in.paid[um];
    const double toPay = row.purchases == 0 && row.sales == 0 ? 0 : -running;
    row.interest = interestOn(in.interestPercent, toPay);
    row.toPay = toPay + row.interest;
  }
  for (int q = 1; q <= 4; ++q) {
    SituationRow& row = s.quarters[static_cast<std::size_t>(q)];
    for (int m = q * 3 - 2; m <= q * 3; ++m) {
      const SituationRow& month = s.months[static_cast<std::size_t>(m)];
      row.purchases += month.purchases;
      row.sales += month.sales;
      row.difference += month.difference;
      row.paid += month.paid;
      row.interest += month.interest;
    }
    row.balance = s.months[static_cast<std::size_t>(q * 3)].balance;
    row.toPay = row.purchases == 0 && row.sales == 0 ? 0 : -row.balance + row.interest;
  }
  return s;
}

SituationInput readSituationInput(records::Catalogue& catalogue) {
  SituationInput in;
  for (const records::RegisterKind kind : {records::RegisterKind::Sales, records::RegisterKind::Purchases}) {
    const records::RegisterHeader header = records::openRegister(catalogue, kind);
    const auto vat = monthlyVat(records::readRegistrations(catalogue, header.count));
    (kind == records::RegisterKind::Sales ? in.sales : in.purchases) = vat;
  }
  catalogue.open(records::channel::kVatPaid).read(1);
  records::VatPaid paid;
  records::L_13(catalogue, paid);
  for (int m = 1; m <= 12; ++m) in.paid[static_cast<std::size_t>(m)] = records::val(paid.month[static_cast<std::size_t>(m - 1)]);
  const records::ControlRecord control = readControl(catalogue);
  const double amount = records::val(control.amount);
  in.opening = control.kind == "D" ? -amount : amount;
  in.interestPercent = static_cast<float>(records::val(control.interest));
  return in;
}

void drawSituation(platform::ScreenBuffer& screen, const records::ControlRecord& control,
                   const VatSituation& situation, std::uint8_t attr) {
  screen.putText(kPositionRow, 3, "Credito/Debito Inizio Anno [C/D]:", attr);
  screen.putText(kPositionRow, kLetterCol, records::fitLeft(control.kind, 1), attr);
  screen.putText(kPositionRow, 42, "Importo", attr);
  screen.putText(kPositionRow, kOpeningCol, records::printUsing(kAmountMask, records::val(control.amount)), attr);
  screen.putText(kPositionRow, 63, "% Interessi", attr);
  screen.putText(kPositionRow, kInterestCol, records::printUsing("##.##", static_cast<float>(records::val(control.interest))), attr);
  drawHeads(screen, kQuarterHeadRow, "Tri", attr);
  for (int q = 1; q <= 4; ++q)
    drawRow(screen, kQuarterHeadRow + q, " " + std::to_string(q) + "^", situation.quarters[static_cast<std::size_t>(q)], attr);
  drawHeads(screen, kMonthHeadRow, "Mes", attr);
  for (int m = 1; m <= 12; ++m)
    drawRow(screen, kMonthHeadRow + m, std::string(records::monthShortName(m)), situation.months[static_cast<std::size_t>(m)], attr);
  screen.putText(kNoteRow, kNoteCol, kNote, attr);
}

void runVatSituation(screen::Session& session, LiquidationSession& state) {
  platform::ScreenBuffer& screen = session.console.screen();
  screen::EditorKeysKept keysKept(session.editor);
  // The amounts to pay reach column 91: no frame, so no column is lost to it.
  const screen::WindowDescriptor d = screen::screenWindow(session.context(), 1, 1, 42, 91, 1).framed(0);
  screen::Window window(screen, d, "SITUAZIONE IVA");
  for (;;) {
    // Another terminal may have saved since the last showing: everything is read again.
    const SituationInput input = readSituationInput(session.catalogue);
    const records::ControlRecord control = readControl(session.catalogue);
    screen::drawWindow(screen, d, "SITUAZIONE IVA");
    session.panel.show(screen, kLegend);
    drawSituation(screen, control, computeSituation(input), d.interiorAttr);
    session.editor.setColours(screen::screenColours(session.context()).editing, d.interiorAttr);
    const screen::FieldResult r = session.editor.edit(kLetterField, control.kind);
    switch (r.exitCode) {
      case screen::kExitEsc: return;
      case screen::kExitF2: editInterest(session, control, d.interiorAttr); break;
      case screen::kExitF8: runF24Window(session, state.lastRow.value_or(F24Row{})); break;
      case screen::kExitF9: runLiquidationDialog(session, state); break;
      case screen::kExitEnter: {
        const std::string letter = records::trim(r.text);
        if (letter == "C" || letter == "D") {
          editOpening(session, control, letter, d.interiorAttr);
        } else {
          session.console.beep();
        }
        break;
      }
      default: break;
    }
  }
}

}  // namespace vellano::registers
