// The corrispettivi register print: month and trial/definitive questions, the month's page
// of 31 day lines with the column totals, and the stored state of a definitive print.
#include "registers/takings_register.h"

#include <array>
#include <string>
#include <string_view>

#include "records/dates.h"
#include "records/numbers.h"
#include "records/print_marks.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "registers/register_state_panel.h"
#include "screen/legend.h"
#include "screen/palette.h"
#include "screen/window.h"

namespace vellano::registers {
namespace {

constexpr std::uint8_t kTextAttr = 0xB0;  // black on light cyan
constexpr const char* kAmountMask = "###,###.##";
constexpr std::string_view kRule =
    "+--------+--------------+--------------+--------------+--------------+--------------+";
constexpr std::string_view kColumnHeads =
    "| Giorno | 4%           | 10%          | 20%          | Ventilazione | Totale       |";
constexpr std::string_view kHatch =
    "\\         \\         \\         \\         \\         \\         \\         \\         \\";
constexpr std::string_view kCell = "  |  ";  // between the amounts, and after the last one

constexpr RegisterStateFiles kTakingsState{records::kTakingsMarksStem, records::kTakingsHeaderStem};

constexpr screen::FieldSpec kMonthField = screen::numericField(3, 13, 2).withKeys({screen::kExitUp});
constexpr screen::FieldSpec kModeField = screen::textField(16, 39, 1).withKeys({screen::kExitUp}).inCapitals();

// The company values keep their field padding on the page: the name field is 40 wide, the
// town 30 in the short registry record and the company list (host modes 2 and 6), else 20.
std::string companyLine(const records::Context& context) {
  const records::Company& c = context.company;
  const std::size_t townWidth = context.hostMode == 2 || context.hostMode == 6 ? 30 : 20;
  return records::fitLeft(c.name, 33) + " " + records::fitLeft(c.address, 20) + " " +
         records::fitLeft(c.town, townWidth);
}

std::string amount(double value) { return records::printUsing(kAmountMask, value); }

double takingsAmount(const records::Takings& takings, int block, int day) {
  return records::val(takings.day[static_cast<std::size_t>(block)][static_cast<std::size_t>(day - 1)]);
}

// One table line: the first cell, then the four columns and their total.
std::string tableLine(std::string_view first, const std::array<double, records::kTakingsBlocks>& columns) {
  std::string line(first);
  double total = 0;
  for (double value : columns) {
    line += amount(value) + std::string(kCell);
    total += value;
  }
  return line + amount(total) + std::string(kCell);
}

// Channels 3 and 17 belong to the VAT registers too: when this report ends, however it ends,
// its header and marks files are closed and the stems the channels had are put back.
class RegisterChannelsKept {
 public:
  explicit RegisterChannelsKept(records::Catalogue& catalogue)
      : catalogue_(catalogue), headerStem_(catalogue.stem(records::channel::kRegisterHeader)),
        marksStem_(catalogue.stem(records::channel::kRegisterPrint)) {}
  ~RegisterChannelsKept() {
    catalogue_.close(records::channel::kRegisterHeader);
    catalogue_.close(records::channel::kRegisterPrint);
    catalogue_.setStem(records::channel::kRegisterHeader, headerStem_);
    catalogue_.setStem(records::channel::kRegisterPrint, marksStem_);
  }
  RegisterChannelsKept(const RegisterChannelsKept&) = delete;
  RegisterChannelsKept& operator=(const RegisterChannelsKept&) = delete;

 private:
  records::Catalogue& catalogue_;
  std::string headerStem_;
  std::string marksStem_;
};

class TakingsRegisterScreen {
 public:
  TakingsRegisterScreen(screen::Session& session, printout::PrintOutput& output)
      : session_(session), output_(output),
        editAttr_(screen::palette(session.context().install.colourScheme).fieldEditing) {}

  void run();

 private:
  int askMonth(RegisterStatePanel& panel);  // 0: ESC
  char askMode();                           // 'P', 'D'; 'U' back to the month, 0 ESC
  void print(int month, bool definitive);
  void storeDefinitive(int month, int page);
  screen::FieldResult type(const screen::FieldSpec& field, std::string_view initial) {
    session_.editor.setColours(editAttr_, kTextAttr);
    return session_.editor.edit(field, initial);
  }

  screen::Session& session_;
  printout::PrintOutput& output_;
  std::uint8_t editAttr_;
  std::string monthText_;
};

void TakingsRegisterScreen::run() {
  screen::EditorKeysKept keys(session_.editor);
  platform::ScreenBuffer& screen = session_.console.screen();
  const screen::WindowDescriptor window =
      screen::windowAt(1, 1, 24, 80).framed(0).titled(1).shadowed(2, 0x08).coloured(kTextAttr, 0xC0, 0xCF);
  screen::Window frame(screen, window, "STAMPA REGISTRO CORRISPETTIVI");
  RegisterStatePanel panel(session_, kTakingsState, kTextAttr, editAttr_);
  screen.putText(3, 3, "DEL MESE: ", kTextAttr);
  monthText_ = records::mid(session_.context().workingDate, 3, 2);

  for (;;) {
    const int month = askMonth(panel);
    if (month == 0) return;
    screen.putText(16, 3, "Stampa in Prova / Definitiva [P/D]: ", kTextAttr);
    const char mode = askMode();
    if (mode == 0) return;
    if (mode == 'U') continue;

    printout::PrintRequest request;
    request.options = "1..1.1";
    request.pitch = "12";
    output_.ORBWW(session_, request);
    if (!output_.confirmed()) return;
    print(month, mode == 'D');
    return;
  }
}

int TakingsRegisterScreen::askMonth(RegisterStatePanel& panel) {
  for (;;) {
    session_.panel.show(session_.console.screen(), kDefinitiveLegend);
    const screen::FieldResult r = type(kMonthField, monthText_);
    if (r.exitCode == screen::kExitEsc) return 0;
    if (r.exitCode == screen::kExitUp) {
      panel.edit();
      continue;
    }
    if (r.exitCode != screen::kExitEnter) continue;
    monthText_ = records::trim(r.text);
    // The marks are read again: another terminal may have printed the month since.
    panel.reload();
    const long month = records::wholeNumberIn(records::val(r.text), 1, 12);
    if (month < 0 || panel.marks().marked(static_cast<int>(month))) {
      session_.console.beep();
      continue;
    }
    return static_cast<int>(month);
  }
}

char TakingsRegisterScreen::askMode() {
  session_.panel.show(session_.console.screen(), screen::legend({}));
  std::string answer = "P";
  for (;;) {
    const screen::FieldResult r = type(kModeField, answer);
    if (r.exitCode == screen::kExitEsc) return 0;
    if (r.exitCode == screen::kExitUp) return 'U';
    if (r.exitCode != screen::kExitEnter) continue;
    answer = records::trim(r.text);
    if (answer == "P" || answer == "D") return answer[0];
    session_.console.beep();
  }
}

void TakingsRegisterScreen::print(int month, bool definitive) {
  records::Catalogue& catalogue = session_.catalogue;
  const int page = readLastPage(catalogue, records::kTakingsHeaderStem) + 1;
  catalogue.open(records::channel::kTakings).read(month);
  records::Takings takings;
  records::L_27(catalogue, takings);

  printout::PrintChannel& out = output_.channel();
  for (const std::string& line : takingsPageLines(session_.context(), month, page, takings)) out.printLine(line);
  if (definitive) {
    for (int k = 0; k < kTakingsHatchLines; ++k) {
      out.tab(month + 1 + k);
      out.printLine(kHatch);
    }
  }
  out.formFeed();
  out.printLine();
  // Stored only once the page is written whole: a print cut short locks nothing.
  if (definitive) {
    out.flush();
    storeDefinitive(month, page);
  }
  output_.ORBWWS(session_);
}

void TakingsRegisterScreen::storeDefinitive(int month, int page) {
  records::Catalogue& catalogue = session_.catalogue;
  records::SaveTransaction save(catalogue);
  records::MonthMarks marks = records::readMonthMarks(catalogue, records::kTakingsMarksStem);
  marks.month[static_cast<std::size_t>(month - 1)] = 'X';
  records::writeMonthMarks(catalogue, records::kTakingsMarksStem, marks);
  writeLastPage(catalogue, records::kTakingsHeaderStem, page);
  save.commit();
}

}  // namespace

std::vector<std::string> takingsPageLines(const records::Context& context, int month, int page,
                                          const records::Takings& takings) {
  const std::string year = "20" + context.yearSuffix;
  std::vector<std::string> lines;
  lines.push_back("Mese " + std::string(records::monthName(month)) + " " + year);
  lines.push_back("REGISTRO IVA CORRISPETTIVI                                          Pag. " +
                  records::printUsing("####", page) + " / " + year);
  lines.push_back(companyLine(context));
  lines.push_back("Partita IVA: " + records::fitLeft(context.company.vatNumber, 11) + " Codice Fiscale: " +
                  records::fitLeft(context.company.fiscalCode, 16));
  lines.emplace_back(kRule);
  lines.emplace_back(kColumnHeads);
  lines.emplace_back(kRule);

  std::array<double, records::kTakingsBlocks> totals{};
  for (int d = 1; d <= records::kDays; ++d) {
    std::array<double, records::kTakingsBlocks> day{};
    for (int b = 0; b < records::kTakingsBlocks; ++b) {
      day[static_cast<std::size_t>(b)] = takingsAmount(takings, b, d);
      totals[static_cast<std::size_t>(b)] += day[static_cast<std::size_t>(b)];
    }
    lines.push_back(tableLine("|   " + records::printUsing("##", d) + "   |  ", day));
  }
  lines.emplace_back(kRule);
  lines.push_back(tableLine("| TOTALI |  ", totals));
  lines.emplace_back(kRule);
  return lines;
}

void runTakingsRegister(screen::Session& session, printout::PrintOutput& output) {
  RegisterChannelsKept kept(session.catalogue);
  TakingsRegisterScreen(session, output).run();
}

}  // namespace vellano::registers
