// The corrispettivi screen: month and day chosen in the DATA box, the four amounts of a day
// typed on its row, the month record rewritten after every completed day.
#include "entry/takings.h"

#include <array>
#include <memory>

#include "entry/registration_files.h"
#include "entry/ventilation_screen.h"
#include "frame/cp437_text.h"
#include "frame/dates.h"
#include "frame/numbers.h"
#include "frame/text.h"
#include "frame/window.h"
#include "master/causals_fields.h"

namespace vellano::entry {
namespace {

constexpr const char* kGridMask = "###,###.##";
constexpr int kHeadingRow = 10;  // day d on row 10 + d
constexpr int kTotalsRow = 42;
constexpr int kDateRow = 8;
constexpr int kDateCol = 12;
constexpr std::array<int, kTakingsBlocks> kColumns{8, 20, 32, 44};
constexpr int kTotalCol = 55;

constexpr std::string_view kDayKeys = "00000000101";  // F9 and PgUp
constexpr std::string_view kAmountKeys = "10000000000";

int dayRow(int day) { return kHeadingRow + day; }

class TakingsScreen {
 public:
  explicit TakingsScreen(frame::Session& session)
      : session_(session), screen_(session.console.screen()),
        colours_(master::screenColours(session.context())) {}

  void run();

 private:
  void draw();
  void showMonth();
  void load(int month);
  void showDay(int day);
  void showTotals();
  void writeMonth();
  int askDay();       // 0: leave the register
  void enterDays(int day);
  bool enterDay(int day, int& column);  // false: ESC
  double amount(int block, int day) const {
    return frame::val(takings_.day[static_cast<std::size_t>(block)][static_cast<std::size_t>(day - 1)]);
  }
  double dayTotal(int day) const {
    double total = 0;
    for (int b = 0; b < kTakingsBlocks; ++b) total += amount(b, day);
    return total;
  }
  void put(int row, int col, std::string_view text) { screen_.putText(row, col, text, colours_.text); }
  frame::FieldResult edit(int row, int col, int length, std::string_view mask, int pageMode, std::string_view initial) {
    session_.editor.setColours(colours_.editing, colours_.text);
    return master::editField(session_, {row, col, length, mask, pageMode, false}, initial);
  }

  frame::Session& session_;
  platform::ScreenBuffer& screen_;
  master::ScreenColours colours_;
  int month_ = 1;
  int day_ = 1;
  Takings takings_;
};

void TakingsScreen::draw() {
  frame::drawWindow(screen_, master::screenWindow(session_.context(), 2, 1, 43, 67, 1), " REGISTRO CORRISPETTIVI ");
  frame::drawWindow(screen_, master::screenWindow(session_.context(), 7, 2, 9, 30, 1), " DATA ");
  put(kHeadingRow, 2, frame::cp437(" gg │ 4%        │ 10%       │ 20%       │ Ventilaz. │ Totale     "));
}

void TakingsScreen::showMonth() {
  const std::string text = frame::printUsing("##", month_) + " " + std::string(frame::monthName(month_)) + " 20" +
                           session_.context().yearSuffix;
  put(kDateRow, kDateCol, frame::fitLeft(text, 29 - kDateCol + 1));
}

void TakingsScreen::load(int month) {
  month_ = month;
  session_.catalogue.O_27().read(month_);
  L_27(session_.catalogue, takings_);
  showMonth();
  for (int d = 1; d <= kDays; ++d) showDay(d);
  showTotals();
}

void TakingsScreen::showDay(int day) {
  const std::string bar = frame::cp437("│");
  std::string line = frame::printUsing("##", day) + " " + bar;
  for (int b = 0; b < kTakingsBlocks; ++b) line += " " + takingsCell(amount(b, day)) + bar;
  line += " " + takingsCell(dayTotal(day)) + " ";
  put(dayRow(day), 3, line);
}

void TakingsScreen::showTotals() {
  const std::string bar = frame::cp437("│");
  std::string line = " Tot" + bar;
  double all = 0;
  for (int b = 0; b < kTakingsBlocks; ++b) {
    double sum = 0;
    for (int d = 1; d <= kDays; ++d) sum += amount(b, d);
    all += sum;
    line += " " + takingsCell(sum) + bar;
  }
  line += " " + takingsCell(all) + " ";
  put(kTotalsRow, 2, line);
}

void TakingsScreen::writeMonth() {
  W_27(session_.catalogue, takings_);
  session_.catalogue.channel(27).write(month_);
}

int TakingsScreen::askDay() {
  for (;;) {
    session_.panel.show(screen_, master::legend("", "", "", "", "", "", "", "", "Calcoli", master::kPageNote));
    const frame::FieldResult r = edit(kDateRow, kDateCol, 2, kDayKeys, 1, std::to_string(day_));
    showMonth();
    switch (r.exitCode) {
      case frame::kExitEsc: return 0;
      case 9:
        runVentilationScreen(session_);
        continue;
      case frame::kExitPageUp:
      case frame::kExitTab:
        if (month_ > 1) {
          day_ = 1;
          load(month_ - 1);
        }
        continue;
      case frame::kExitPageDown:
      case frame::kExitPlus:
        if (month_ < 12) {
          day_ = 1;
          load(month_ + 1);
        }
        continue;
      case frame::kExitEnter: break;
      default: continue;
    }
    const double v = frame::val(r.text);
    if (v < 1 || v > kDays || v != static_cast<int>(v)) {
      session_.console.beep();
      continue;
    }
    return static_cast<int>(v);
  }
}

// The four amounts of one day. Up steps back a column, and from the first column to the day
// before. ESC puts the day back as it was stored.
bool TakingsScreen::enterDay(int day, int& column) {
  while (column < kTakingsBlocks) {
    std::string& stored = takings_.day[static_cast<std::size_t>(column)][static_cast<std::size_t>(day - 1)];
    const int row = dayRow(day);
    const int col = kColumns[static_cast<std::size_t>(column)];
    const frame::FieldResult r = edit(row, col, 10, kAmountKeys, 0, stored);
    if (r.exitCode == frame::kExitEsc) return false;
    if (r.exitCode == frame::kExitUp) {
      put(row, col, takingsCell(amount(column, day)));
      if (column > 0) {
        --column;
        continue;
      }
      column = -1;  // the caller moves to the day before
      return true;
    }
    if (r.exitCode != frame::kExitEnter) continue;
    stored = frame::trim(r.text);
    put(row, col, takingsCell(amount(column, day)));
    ++column;
  }
  put(dayRow(day), kTotalCol, " " + takingsCell(dayTotal(day)) + " ");
  return true;
}

void TakingsScreen::enterDays(int day) {
  session_.panel.show(screen_, master::legend("", "", "", "", "", "", "", "", ""));
  int column = 0;
  while (day <= kDays) {
    const Takings before = takings_;
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
    writeMonth();
    showDay(day);
    showTotals();
    ++day;
    column = 0;
    day_ = day <= kDays ? day : kDays;
  }
}

void TakingsScreen::run() {
  master::EditorSettings keep(session_.editor);
  const auto saved = std::make_unique<platform::ScreenBuffer::Cells>(screen_.cells());
  const std::string& date = session_.context().workingDate;
  const int month = static_cast<int>(frame::val(frame::mid(date, 3, 2)));
  const int day = static_cast<int>(frame::val(frame::left(date, 2)));
  day_ = day >= 1 && day <= kDays ? day : 1;
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
  if (amount == 0) return frame::cp437("···,···.··");
  return frame::printUsing(kGridMask, amount);
}

void runTakings(frame::Session& session) { TakingsScreen(session).run(); }

}  // namespace vellano::entry
