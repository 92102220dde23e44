// The corrispettivi screen: month and day chosen in the DATA box, the four amounts of a day
// typed on its row, the month record rewritten after every completed day.
#include "entry/takings.h"

#include <array>
#include <memory>

#include "records/registration_files.h"
#include "entry/ventilation_screen.h"
#include "records/cp437_text.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/window.h"
#include "screen/kit.h"

namespace vellano::entry {
namespace {

constexpr const char* kGridMask = "###,###.##";
constexpr int kHeadingRow = 10;  // day d on row 10 + d
constexpr int kTotalsRow = 42;
constexpr int kDateRow = 8;
constexpr int kDateCol = 12;
constexpr std::array<int, records::kTakingsBlocks> kColumns{8, 20, 32, 44};
constexpr int kTotalCol = 55;

constexpr std::string_view kDayKeys = "00000000101";  // F9 and PgUp
constexpr std::string_view kAmountKeys = "10000000000";

int dayRow(int day) { return kHeadingRow + day; }

class TakingsScreen {
 public:
  explicit TakingsScreen(screen::Session& session)
      : session_(session), screen_(session.console.screen()),
        colours_(screen::screenColours(session.context())) {}

  void run();

 private:
  void draw();
  void showMonth();
  void load(int month);
  void showDay(int day);
  void showTotals();
  void writeMonth(int day);
  int askDay();       // 0: leave the register
  void enterDays(int day);
  bool enterDay(int day, int& column);  // false: ESC
  double amount(int block, int day) const {
    return records::val(takings_.day[static_cast<std::size_t>(block)][static_cast<std::size_t>(day - 1)]);
  }
  double dayTotal(int day) const {
    double total = 0;
    for (int b = 0; b < records::kTakingsBlocks; ++b) total += amount(b, day);
    return total;
  }
  void put(int row, int col, std::string_view text) { screen_.putText(row, col, text, colours_.text); }
  screen::FieldResult edit(int row, int col, int length, std::string_view mask, int pageMode, std::string_view initial) {
    session_.editor.setColours(colours_.editing, colours_.text);
    return screen::editField(session_, {row, col, length, mask, pageMode, false}, initial);
  }

  screen::Session& session_;
  platform::ScreenBuffer& screen_;
  screen::ScreenColours colours_;
  int month_ = 1;
  int day_ = 1;
  records::Takings takings_;
};

void TakingsScreen::draw() {
  screen::drawWindow(screen_, screen::screenWindow(session_.context(), 2, 1, 43, 67, 1), " REGISTRO CORRISPETTIVI ");
  screen::drawWindow(screen_, screen::screenWindow(session_.context(), 7, 2, 9, 30, 1), " DATA ");
  put(kHeadingRow, 2, records::cp437(" gg │ 4%        │ 10%       │ 20%       │ Ventilaz. │ Totale     "));
}

void TakingsScreen::showMonth() {
  const std::string text = records::printUsing("##", month_) + " " + std::string(records::monthName(month_)) + " 20" +
                           session_.context().yearSuffix;
  put(kDateRow, kDateCol, records::fitLeft(text, 29 - kDateCol + 1));
}

void TakingsScreen::load(int month) {
  month_ = month;
  session_.catalogue.open(records::channel::kTakings).read(month_);
  records::L_27(session_.catalogue, takings_);
  showMonth();
  for (int d = 1; d <= records::kDays; ++d) showDay(d);
  showTotals();
}

void TakingsScreen::showDay(int day) {
  const std::string bar = records::cp437("│");
  std::string line = records::printUsing("##", day) + " " + bar;
  for (int b = 0; b < records::kTakingsBlocks; ++b) line += " " + takingsCell(amount(b, day)) + bar;
  line += " " + takingsCell(dayTotal(day)) + " ";
  put(dayRow(day), 3, line);
}

void TakingsScreen::showTotals() {
  const std::string bar = records::cp437("│");
  std::string line = " Tot" + bar;
  double all = 0;
  for (int b = 0; b < records::kTakingsBlocks; ++b) {
    double sum = 0;
    for (int d = 1; d <= records::kDays; ++d) sum += amount(b, d);
    all += sum;
    line += " " + takingsCell(sum) + bar;
  }
  line += " " + takingsCell(all) + " ";
  put(kTotalsRow, 2, line);
}

void TakingsScreen::writeMonth(int day) {
  // Only this day changes: the others are taken from the file inside the save, where another
  // terminal may have typed them since the month was read.
  records::SaveTransaction transaction(session_.catalogue);
  records::Channel& month = session_.catalogue.channel(27);
  month.read(month_);
  records::Takings stored;
  records::L_27(session_.catalogue, stored);
  for (std::size_t b = 0; b < records::kTakingsBlocks; ++b)
    stored.day[b][static_cast<std::size_t>(day - 1)] = takings_.day[b][static_cast<std::size_t>(day - 1)];
  takings_ = stored;
  records::W_27(session_.catalogue, takings_);
  month.write(month_);
  transaction.commit();
  for (int d = 1; d <= records::kDays; ++d) showDay(d);
}

int TakingsScreen::askDay() {
  for (;;) {
    session_.panel.show(screen_, screen::legend("", "", "", "", "", "", "", "", "Calcoli", screen::kPageNote));
    const screen::FieldResult r = edit(kDateRow, kDateCol, 2, kDayKeys, 1, std::to_string(day_));
    showMonth();
    switch (r.exitCode) {
      case screen::kExitEsc: return 0;
      case 9:
        runVentilationScreen(session_);
        continue;
      case screen::kExitPageUp:
      case screen::kExitTab:
        if (month_ > 1) {
          day_ = 1;
          load(month_ - 1);
        }
        continue;
      case screen::kExitPageDown:
      case screen::kExitPlus:
        if (month_ < 12) {
          day_ = 1;
          load(month_ + 1);
        }
        continue;
      case screen::kExitEnter: break;
      default: continue;
    }
    const double v = records::val(r.text);
    if (v < 1 || v > records::kDays || v != static_cast<int>(v)) {
      session_.console.beep();
      continue;
    }
    return static_cast<int>(v);
  }
}

// The four amounts of one day. Up steps back a column, and from the first column to the day
// before. ESC puts the day back as it was stored.
bool TakingsScreen::enterDay(int day, int& column) {
  while (column < records::kTakingsBlocks) {
    std::string& stored = takings_.day[static_cast<std::size_t>(column)][static_cast<std::size_t>(day - 1)];
    const int row = dayRow(day);
    const int col = kColumns[static_cast<std::size_t>(column)];
    const screen::FieldResult r = edit(row, col, 10, kAmountKeys, 0, stored);
    if (r.exitCode == screen::kExitEsc) return false;
    if (r.exitCode == screen::kExitUp) {
      put(row, col, takingsCell(amount(column, day)));
      if (column > 0) {
        --column;
        continue;
      }
      column = -1;  // the caller moves to the day before
      return true;
    }
    if (r.exitCode != screen::kExitEnter) continue;
    stored = records::trim(r.text);
    put(row, col, takingsCell(amount(column, day)));
    ++column;
  }
  put(dayRow(day), kTotalCol, " " + takingsCell(dayTotal(day)) + " ");
  return true;
}

void TakingsScreen::enterDays(int day) {
  session_.panel.show(screen_, screen::legend("", "", "", "", "", "", "", "", ""));
  int column = 0;
  while (day <= records::kDays) {
    const records::Takings before = takings_;
    if (!enterDay(day, column)) {
      takings_ = before;
      showDay(day);
      showTotals();
      day_ = day;
      return;
    }
    if (column < 0) {
      takings_ = before;  // a day left upwards keeps what was stored
      showDay(day);
      if (day > 1) --day;
      column = 0;
      continue;
    }
    writeMonth(day);
    showDay(day);
    showTotals();
    ++day;
    column = 0;
    day_ = day <= records::kDays ? day : records::kDays;
  }
}

void TakingsScreen::run() {
  screen::EditorSettings keep(session_.editor);
  const auto saved = std::make_unique<platform::ScreenBuffer::Cells>(screen_.cells());
  const std::string& date = session_.context().workingDate;
  const int month = static_cast<int>(records::val(records::mid(date, 3, 2)));
  const int day = static_cast<int>(records::val(records::left(date, 2)));
  day_ = day >= 1 && day <= records::kDays ? day : 1;
  draw();
  load(month >= 1 && month <= 12 ? month : 1);
  for (;;) {
    const int chosen = askDay();
    if (chosen == 0) break;
    day_ = chosen;
    enterDays(chosen);
  }
  screen_.cells() = *saved;
}

}  // namespace

std::string takingsCell(double amount) {
  if (amount == 0) return records::cp437("···,···.··");
  return records::printUsing(kGridMask, amount);
}

void runTakings(screen::Session& session) { TakingsScreen(session).run(); }

}  // namespace vellano::entry
