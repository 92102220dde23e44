// The liquidation run from the situation screen: the period questions, the print, the F24.
#include "registers/liquidation_dialog.h"

#include <string>

#include "records/numbers.h"
#include "records/text.h"
#include "screen/kit.h"
#include "screen/window.h"
#include "registers/f24.h"
#include "registers/vat_situation.h"

namespace vellano::registers {
namespace {

constexpr screen::WindowDescriptor kQuestionsWindow =
    screen::windowAt(30, 8, 38, 70).framed(0).titled(1).shadowed(2, 0x08).coloured(0xB0, 0xC0, 0xCF);
constexpr std::string_view kKindPrompt = "Liquidazione Mensile/Trimestrale/Annuale [M/T/A]: ";
constexpr std::string_view kQuarterPrompt = "Liquidazione del Trimestre [1-4]: ";
constexpr std::string_view kMonthPrompt = "Liquidazione del Mese     [1-12]: ";
constexpr int kKindRow = 32, kNumberRow = 35, kPromptCol = 10;

// The working month, 1-12 (1 when the date holds no month).
int workingMonth(const records::Context& context) {
  const double m = records::val(records::mid(context.workingDate, 3, 2));
  return m >= 1 && m <= 12 ? static_cast<int>(m) : 1;
}

enum class Answer { Given, Back, Esc };

// The quarter or month question; `number` receives the answer.
Answer askNumber(screen::Session& session, bool quarter, int& number) {
  platform::ScreenBuffer& screen = session.console.screen();
  const std::string_view prompt = quarter ? kQuarterPrompt : kMonthPrompt;
  const int most = quarter ? 4 : 12;
  const int month = workingMonth(session.context());
  const std::string initial = quarter ? std::to_string((month - 1) / 3 + 1) : records::fitRight(std::to_string(month), 2);
  screen.putText(kNumberRow, kPromptCol, prompt, kQuestionsWindow.interiorAttr);
  const screen::FieldSpec field =
      screen::numericField(kNumberRow, kPromptCol + static_cast<int>(prompt.size()), quarter ? 1 : 2).withKeys({screen::kExitUp});
  for (;;) {
    const screen::FieldResult r = session.editor.edit(field, initial);
    if (r.exitCode == screen::kExitEsc) return Answer::Esc;
    if (r.exitCode == screen::kExitUp) return Answer::Back;
    if (r.exitCode != screen::kExitEnter) continue;
    const long n = records::wholeNumberIn(records::val(r.text), 1, most);
    if (n > 0 && !records::isBlank(r.text)) {
      number = static_cast<int>(n);
      return Answer::Given;
    }
    session.console.beep();
  }
}

void print(screen::Session& session, LiquidationSession& state, const Period& period) {
  printout::PrintOutput& output = state.output;
  output.ORBWW(session, printout::PrintRequest{"1..11.", "10", ""});
  if (!output.confirmed()) return;
  const Liquidation liquidation = liquidate(readLiquidationInput(session.catalogue), period);
  printLiquidation(output.channel(), liquidation, session.context());
  output.ORBWWS(session);
  const F24Row row = proposeF24Row(period, liquidation.amountToPay, session.context().yearSuffix);
  state.lastRow = row;
  runF24Window(session, row);
}

}  // namespace

std::optional<Period> askPeriod(screen::Session& session) {
  platform::ScreenBuffer& screen = session.console.screen();
  screen::Window window(screen, kQuestionsWindow, "LIQUIDAZIONE IVA");
  session.editor.setColours(0x1F, kQuestionsWindow.interiorAttr);
  screen.putText(kKindRow, kPromptCol, kKindPrompt, kQuestionsWindow.interiorAttr);
  const screen::FieldSpec kindField =
      screen::textField(kKindRow, kPromptCol + static_cast<int>(kKindPrompt.size()), 1).inCapitals();
  for (;;) {
    const screen::FieldResult r = session.editor.edit(kindField, "T");
    if (r.exitCode == screen::kExitEsc) return std::nullopt;
    if (r.exitCode != screen::kExitEnter) continue;
    const std::string kind = records::trim(r.text);
    if (kind == "A") return Period::year();
    if (kind != "M" && kind != "T") {
      session.console.beep();
      continue;
    }
    int number = 0;
    const Answer a = askNumber(session, kind == "T", number);
    if (a == Answer::Esc) return std::nullopt;
    if (a == Answer::Back) {
      screen.fill(kNumberRow, kPromptCol, 40, ' ', kQuestionsWindow.interiorAttr);
      continue;
    }
    return kind == "T" ? Period::quarter(number) : Period::month(number);
  }
}

void runLiquidationDialog(screen::Session& session, LiquidationSession& state) {
  screen::EditorKeysKept keysKept(session.editor);
  const std::optional<Period> period = askPeriod(session);
  if (!period) return;
  print(session, state, *period);
}

Liquidation printYearLiquidation(records::Catalogue& catalogue, printout::PrintChannel& channel) {
  const Liquidation liquidation = liquidate(readLiquidationInput(catalogue), Period::year());
  printLiquidation(channel, liquidation, catalogue.context());
  return liquidation;
}

}  // namespace vellano::registers
