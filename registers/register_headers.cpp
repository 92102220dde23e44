// Register page headers: the two sheet numbers, then one sheet per number.
#include "registers/register_headers.h"

#include <array>
#include <string>

#include "records/numbers.h"
#include "records/text.h"
#include "screen/legend.h"
#include "screen/palette.h"
#include "screen/window.h"

namespace vellano::registers {
namespace {

constexpr std::uint8_t kTextAttr = 0xB0;  // black on light cyan
constexpr int kPageColumn = 108;
constexpr int kBlankLinesBeforeDeclaration = 50;
constexpr long kMostSheets = 999;  // what the 3-character fields hold

struct SheetQuestion {
  int row;
  std::string_view label;
};
constexpr std::array<SheetQuestion, 2> kQuestions{{
    {11, "STAMPO DAL FOGLIO NUMERO: "},
    {13, "        AL FOGLIO NUMERO: "},
}};
constexpr int kLabelCol = 11;
constexpr int kNumberCol = 37;

// A number as PRINT writes it: the sign place, the digits and one blank.
std::string printed(int value) { return records::str(value) + " "; }

class RegisterHeadersScreen {
 public:
  RegisterHeadersScreen(screen::Session& session, printout::PrintOutput& output)
      : session_(session), output_(output),
        editAttr_(screen::palette(session.context().install.colourScheme).fieldEditing) {}

  void run();

 private:
  // The sheet number of question `q`; exit code of the field (Enter only once accepted).
  int askSheet(std::size_t q, int& sheet);

  screen::Session& session_;
  printout::PrintOutput& output_;
  std::uint8_t editAttr_;
  std::array<std::string, 2> typed_;
};

void RegisterHeadersScreen::run() {
  screen::EditorKeysKept keys(session_.editor);
  platform::ScreenBuffer& screen = session_.console.screen();
  const screen::WindowDescriptor window =
      screen::windowAt(9, 9, 30, 50).framed(0).titled(1).shadowed(2, 0x08).coloured(kTextAttr, 0xC0, 0xCF);
  screen::Window frame(screen, window, "INTESTAZIONE REGISTRI");
  session_.panel.show(screen, screen::legend({}));
  for (const SheetQuestion& q : kQuestions) screen.putText(q.row, kLabelCol, q.label, kTextAttr);

  std::array<int, 2> sheets{1, 1};
  std::size_t q = 0;
  while (q < kQuestions.size()) {
    const int code = askSheet(q, sheets[q]);
    if (code == screen::kExitEsc) return;
    if (code == screen::kExitUp) {
      q = 0;
      continue;
    }
    ++q;
  }

  printout::PrintRequest request;
  request.options = "1..1.1";
  request.pitch = "15";
  output_.ORBWW(session_, request);
  if (!output_.confirmed()) return;
  printRegisterSheets(output_.channel(), session_.context(), sheets[0], sheets[1]);
  if (output_.destination() == "L") {
    output_.LASOFF("X");
  } else {
    output_.channel().control('\x12');  // end of condensed print
  }
  output_.ORBWWS(session_);
}

int RegisterHeadersScreen::askSheet(std::size_t q, int& sheet) {
  const int row = kQuestions[q].row;
  // Up goes back from the second question only.
  const screen::FieldSpec plain = screen::numericField(row, kNumberCol, 3);
  const screen::FieldSpec field = q == 0 ? plain : plain.withKeys({screen::kExitUp});
  for (;;) {
    session_.editor.setColours(editAttr_, kTextAttr);
    const screen::FieldResult r = session_.editor.edit(field, typed_[q]);
    if (r.exitCode == screen::kExitEsc || r.exitCode == screen::kExitUp) return r.exitCode;
    if (r.exitCode != screen::kExitEnter) continue;
    const long value = records::wholeNumberIn(records::val(r.text), 0, kMostSheets);
    if (value < 0) {
      session_.console.beep();
      continue;
    }
    typed_[q] = records::trim(r.text);
    sheet = value == 0 ? 1 : static_cast<int>(value);
    session_.console.screen().putText(row, kNumberCol, records::printUsing("###", sheet), kTextAttr);
    return screen::kExitEnter;
  }
}

}  // namespace

void printRegisterSheets(printout::PrintChannel& out, const records::Context& context, int first, int last) {
  const records::Company& c = context.company;
  const std::string heading = records::trim(c.name) + " -" + records::trim(c.address) + " -" + records::trim(c.town) +
                              " -Partita IVA: " + records::fitLeft(c.vatNumber, 11);
  for (int p = first; p <= last; ++p) {
    if (p != first) out.printLine();
    out.print(heading);
    out.tab(kPageColumn);
    out.printLine("Pagina " + records::printUsing("###", p));
    if (p == last) {
      for (int k = 0; k < kBlankLinesBeforeDeclaration + 1; ++k) out.printLine();
      out.printLine("IL PRESENTE REGISTRO FOGLI MOBILI SI COMPONE DI NUMERO " + printed(last - first + 1));
      out.printLine();
      out.printLine("PAGINE NUMERATE PROGRESSIVAMENTE DALLA Numero " + printed(first) + " ALLA Numero " +
                    printed(last));
      out.printLine();
      out.printLine("E VIDIMATE PRIMA DELL'USO.");
    }
    out.formFeed();
  }
}

void runRegisterHeaders(screen::Session& session, printout::PrintOutput& output) {
  RegisterHeadersScreen(session, output).run();
}

}  // namespace vellano::registers
