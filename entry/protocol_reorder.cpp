// The protocol reordering window: its four answers, then the renumbering with its progress.
#include "entry/protocol_reorder.h"

#include <array>
#include <string>

#include "records/cp437_text.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/field_sequence.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/window.h"

namespace vellano::entry {
namespace {

using screen::Go;

constexpr const char* kCountMask = "####";
constexpr int kProgressRow = 12;
constexpr long kMostTyped = 9999;  // what the four-digit fields hold

// From, to and the first number; then "S" in record order, "D" in date order or "N" for none.
constexpr screen::FieldSpec kFirstField = screen::numericField(7, 18, 4).withKeys({screen::kExitUp});
constexpr screen::FieldSpec kLastField = kFirstField.at(8, 18);
constexpr screen::FieldSpec kStartField = kFirstField.at(10, 18);
constexpr screen::FieldSpec kProceedField = screen::textField(15, 20, 1).withKeys({screen::kExitUp}).inCapitals();

}  // namespace

bool reorderProtocols(screen::Session& session, records::RegisterKind kind, long count) {
  const records::Context& context = session.context();
  const screen::ScreenColours colours = screen::screenColours(context);
  platform::ScreenBuffer& screen = session.console.screen();
  screen::Window window(screen, screen::screenWindow(context, 6, 2, 17, 46, 1), "RIORDINO PROTOCOLLO");
  auto put = [&](int row, int col, std::string_view text) { screen.putText(row, col, text, colours.text); };
  put(7, 3, "Dal Codice   :");
  put(8, 3, " al Codice   :");
  put(10, 3, records::cp437(" N° Iniziale :"));
  put(kProceedField.row, 3, "Procedo [S/N/D]: . (D=ordinato per data)");
  session.panel.show(screen, screen::legend({}));

  auto type = [&](const screen::FieldSpec& field, std::string_view initial) {
    session.editor.setColours(colours.editing, colours.text);
    return session.editor.edit(field, initial);
  };
  ReorderAnswers answers{{0, 0, 0}, ReorderMode::Records};
  ReorderRange& range = answers.range;
  // A number field: blank for 0 when shown; `fill` stands for a 0 typed, `accepted` says
  // whether the number may be used.
  auto number = [&](const screen::FieldSpec& field, long& value, long fill, auto accepted) {
    const screen::FieldResult r = type(field, value > 0 ? std::to_string(value) : "");
    if (r.exitCode != screen::kExitEnter) return screen::goFor(r.exitCode);
    long n = records::wholeNumberIn(records::val(r.text), 0, kMostTyped);
    if (n == 0) n = fill;
    if (!accepted(n)) {
      session.console.beep();
      return Go::again();
    }
    value = n;
    put(field.row, field.col, records::printUsing(kCountMask, static_cast<double>(n)));
    return Go::next();
  };
  const screen::SequenceEnd end = screen::runSequence({
      [&] { return number(kFirstField, range.first, 1, [&](long n) { return n >= 1 && n <= count; }); },
      [&] { return number(kLastField, range.last, count, [&](long n) { return n >= range.first && n <= count; }); },
      [&] { return number(kStartField, range.start, 0, [](long n) { return n > 0; }); },
      [&] {
        const screen::FieldResult r = type(kProceedField, "");
        if (r.exitCode != screen::kExitEnter) return screen::goFor(r.exitCode);
        const std::string answer = records::trim(r.text);
        if (answer == "N") return Go::abandon();
        if (answer != "S" && answer != "D") {
          session.console.beep();
          return Go::again();
        }
        answers.mode = answer == "S" ? ReorderMode::Records : ReorderMode::Dates;
        return Go::next();
      },
  });
  if (end != screen::SequenceEnd::Completed) return false;

  reorderRegister(session.catalogue, kind, answers, [&](long record) {
    put(kProgressRow, 3, "Elaboro il codice: " + records::printUsing(kCountMask, static_cast<double>(record)));
  });
  return true;
}

}  // namespace vellano::entry
