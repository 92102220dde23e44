// The "F 2 4" window and the hand-over of its row to the F24 form program.
#include "registers/f24.h"

#include <array>

#include "records/cp437_text.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/glyphs.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/print_handover.h"
#include "screen/window.h"
#include "platform/commands.h"
#include "registers/liquidation.h"

namespace vellano::registers {
namespace {

constexpr screen::WindowDescriptor kF24Window =
    screen::windowAt(30, 3, 41, 86).framed(0).titled(1).coloured(0xB0, 0x80, 0x8F);
constexpr std::uint8_t kAttr = 0xB0;
constexpr std::uint8_t kHandOverAttr = 0x4E;  // yellow on red
constexpr int kRowLine = 33;
constexpr int kCodeCol = 37, kPeriodCol = 44, kDebitCol = 53, kCreditCol = 63;
constexpr int kKindRow = 35, kConfirmRow = 37, kHandOverRow = 39, kPromptCol = 5;
constexpr std::string_view kKindPrompt = "Modello F24 Cartaceo / Telematico [C/T]: ";
constexpr std::string_view kConfirmPrompt = "Procedo [S/N]: ";
constexpr std::string_view kNoFormProgram = "Modello F24 non creato: manca il programma MODUVX. Premere un tasto.";
constexpr std::size_t kHandOverWidth = 80;

void drawTemplate(platform::ScreenBuffer& screen) {
  screen.putText(31, 4, records::cp437("                              │Codice  │        │ Importo │ Importo │             "), kAttr);
  screen.putText(32, 4, records::cp437("                              │Tributo │rrmmaaaa│a  Debito│a Credito│             "), kAttr);
  screen.putText(31, 4, " 2. SEZIONE ERARIO ", kAttr);
  screen.putText(kRowLine, 4, records::cp437("                              │  ····  │········│ ····.·· │ ····.·· │             "), kAttr);
}

void showAmount(platform::ScreenBuffer& screen, int col, const std::string& text) {
  if (records::isBlank(text)) {
    // No amount: the input area stays as drawn.
    screen.putText(kRowLine, col, records::cp437(" ····.·· "), kAttr);
    return;
  }
  screen.putText(kRowLine, col, records::printUsing(kF24AmountMask, records::val(text)), kAttr);
}

void showRow(platform::ScreenBuffer& screen, const F24Row& row) {
  if (!records::isBlank(row.code)) screen.putText(kRowLine, kCodeCol, records::fitLeft(row.code, 4), kAttr);
  if (!records::isBlank(row.period)) screen.putText(kRowLine, kPeriodCol, records::fitLeft(row.period, 8), kAttr);
  showAmount(screen, kDebitCol, row.debit);
  showAmount(screen, kCreditCol, row.credit);
}

// F1 on the form-kind question: the four fields typed again; Up goes back one field, ESC ends.
void correctRow(screen::Session& session, F24Row& row) {
  platform::ScreenBuffer& screen = session.console.screen();
  struct Input {
    screen::FieldSpec field;
    std::string F24Row::*value;
    bool amount;
  };
  static constexpr std::array<Input, 4> kInputs{{
      {screen::textField(kRowLine, kCodeCol, 4).withKeys({screen::kExitUp}), &F24Row::code, false},
      {screen::textField(kRowLine, kPeriodCol, 8).withKeys({screen::kExitUp}), &F24Row::period, false},
      {screen::numericField(kRowLine, kDebitCol, 9).withKeys({screen::kExitUp}), &F24Row::debit, true},
      {screen::numericField(kRowLine, kCreditCol, 9).withKeys({screen::kExitUp}), &F24Row::credit, true},
  }};
  std::vector<screen::SequenceStep> steps;
  for (const Input& input : kInputs) {
    steps.push_back([&session, &screen, &row, &input] {
      const screen::FieldResult r = session.editor.edit(input.field, row.*input.value);
      if (r.exitCode == screen::kExitEsc) return screen::Go::finish();
      if (r.exitCode != screen::kExitEnter) return screen::goFor(r.exitCode);
      const std::string typed = records::trim(r.text);
      // An amount the mask cannot hold would reach the form cut or with a "%".
      if (input.amount && !fitsF24Mask(typed)) {
        session.console.beep();
        return screen::Go::again();
      }
      row.*input.value = typed;
      if (input.amount) {
        showAmount(screen, input.field.col, typed);
      } else {
        screen.putText(kRowLine, input.field.col, records::fitLeft(typed, static_cast<std::size_t>(input.field.length)), kAttr);
      }
      return screen::Go::next();
    });
  }
  screen::runSequence(steps);
  showRow(screen, row);
}

// Record 1 of the hand-over file with the text in field 11 and the rest as read at start-up,
// then the form program; the print program ends after it.
[[noreturn]] void handOver(screen::Session& session, const std::string& text) {
  records::Catalogue& catalogue = session.catalogue;
  records::Context& context = session.context();
  records::HandOver record = context.handOver;
  record.field[records::HandOver::kMessage] = records::fitLeft(text, 50);
  records::Channel& qmenu = catalogue.open(records::channel::kHandOver);
  records::W_90(catalogue, record);
  qmenu.write(1);
  catalogue.closeAll();
  if (!platform::runCommand("MODUVX.EXE", session.console).started) {
    // An installation without the form program must not end as if the form had been made.
    session.console.screen().putText(kHandOverRow, kPromptCol, records::fitLeft(kNoFormProgram, kHandOverWidth),
                                     kHandOverAttr);
    session.console.beep();
    session.console.readKey();
  }
  throw screen::ProgramEnd{0};
}

}  // namespace

F24Row proposeF24Row(const Period& period, double amountToPay, std::string_view yearSuffix) {
  F24Row row;
  const std::string yy = records::fitLeft(yearSuffix, 2);
  switch (period.kind) {
    case 'T':
      row.code = "603" + std::to_string(period.number);
      row.period = "000020" + yy;
      break;
    case 'M':
      row.code = "60" + records::fitRight(std::to_string(period.number), 2);
      if (row.code[2] == ' ') row.code[2] = '0';
      row.period = "000020" + yy;
      break;
    default:
      row.code = "6099";
      row.period = "010120" + yy;
      break;
  }
  if (amountToPay > 0) row.debit = records::trim(records::str(amountToPay));
  return row;
}

std::string f24HandOverText(char kind, const F24Row& row) {
  return std::string(1, kind) + "-" + records::fitLeft(row.code, 4) + "-" + records::fitLeft(row.period, 8) + "-" +
         records::printUsing(kF24AmountMask, records::val(row.debit)) + "-" +
         records::printUsing(kF24AmountMask, records::val(row.credit));
}

bool fitsF24Mask(std::string_view amountText) {
  const std::string shown = records::printUsing(kF24AmountMask, records::val(amountText));
  return !shown.empty() && shown[0] != '%';
}

void runF24Window(screen::Session& session, F24Row row) {
  platform::ScreenBuffer& screen = session.console.screen();
  screen::EditorKeysKept keysKept(session.editor);
  screen::Window window(screen, kF24Window, "F 2 4");
  drawTemplate(screen);
  showRow(screen, row);
  session.panel.show(screen, screen::legend({{1, "Modifica"}}));
  session.editor.setColours(0x1F, kAttr);
  const screen::FieldSpec kindField =
      screen::textField(kKindRow, kPromptCol + static_cast<int>(kKindPrompt.size()), 1).inCapitals().withKeys({screen::kExitUp});
  const screen::FieldSpec confirmField =
      screen::textField(kConfirmRow, kPromptCol + static_cast<int>(kConfirmPrompt.size()), 1).inCapitals().withKeys({screen::kExitUp});
  for (;;) {
    screen.putText(kKindRow, kPromptCol, kKindPrompt, kAttr);
    const screen::FieldResult kind = session.editor.edit(kindField, "");
    if (kind.exitCode == screen::kExitEsc) return;
    if (kind.exitCode == screen::kExitUp) {
      correctRow(session, row);
      continue;
    }
    if (kind.exitCode != screen::kExitEnter) continue;
    const std::string letter = records::trim(kind.text);
    if (letter != "C" && letter != "T") {
      session.console.beep();
      continue;
    }
    const std::string text = f24HandOverText(letter[0], row);
    screen.putText(kHandOverRow, kPromptCol, text, kHandOverAttr);
    for (;;) {
      screen.putText(kConfirmRow, kPromptCol, kConfirmPrompt, kAttr);
      const screen::FieldResult go = session.editor.edit(confirmField, "N");
      if (go.exitCode == screen::kExitEsc) return;
      if (go.exitCode == screen::kExitUp) break;
      if (go.exitCode != screen::kExitEnter) continue;
      const std::string answer = records::trim(go.text);
      if (answer == "N") return;
      if (answer == "S") handOver(session, text);
      session.console.beep();
    }
  }
}

}  // namespace vellano::registers
