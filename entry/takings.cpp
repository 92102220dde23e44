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
#include "screen/field_sequence.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/window.h"

namespace vellano::entry {
namespace {

constexpr const char* kGridMask = "###,###.##";
constexpr int kHeadingRow = 10;  // day d on row 10 + d
constexpr int kTotalsRow = 42;
constexpr int kDateRow = 8;
constexpr int kDateCol = 12;
constexpr std::array<int, records::kTakingsBlocks> kColumns{8, 20, 32, 44};
constexpr int kTotalCol = 55;

using screen::Go;

// The day in the DATA box: F9 the CALCOLI screen, the page keys the month before or after.
constexpr screen::FieldSpec kDayField = screen::numericField(kDateRow, kDateCol, 2)
                                            .withKeys({screen::kExitF9, screen::kExitPageUp})
                                            .withPageKeys(screen::PageKeys::PgUpPgDn);
// An amount of a day, on the day's row in its block's column (day 1, first block here).
constexpr int dayRow(int day) { return kHeadingRow + day; }
constexpr screen::FieldSpec kAmountField = screen::numericField(dayRow(1), kColumns[0], 10).withKeys({screen::kExitUp});

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
  Go askAmount(int day, int block);
  double amount(int block, int day) const {
    return records::val(takings_.day[static_cast<std::size_t>(block)][static_cast<std::size_t>(day - 1)]);
  }
  double dayTotal(int day) const {
    double total = 0;
    for (int b = 0; b < records::kTakingsBlocks; ++b) total += amount(b, day);
    return total;
  }
  void put(int row, int col, std::string_view text) { screen_.putText(row, col, text, colours_.text); }
  screen::FieldResult type(const screen::FieldSpec& field, std::string_view initial) {
    session_.editor.setColours(colours_.editing, colours_.text);
    return session_.editor.edit(field, initial);
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
  records::Channel& month = session_.catalogue.channel(records::channel::kTakings);
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
    session_.panel.show(screen_, screen::legend({{9, "Calcoli"}}, screen::kPageNote));
    const screen::FieldResult r = type(kDayField, std::to_string(day_));
    showMonth();
    switch (r.exitCode) {
      case screen::kExitEsc: return 0;
      case screen::kExitF9:
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
    const long day = records::wholeNumberIn(records::val(r.text), 1, records::kDays);
    if (day < 0) {
      session_.console.beep();
      continue;
    }
    return static_cast<int>(day);
  }
}

// One amount of a day. Up shows the amount as stored before going back.
Go TakingsScreen::askAmount(int day, int block) {
  std::string& stored = takings_.day[static_cast<std::size_t>(block)][static_cast<std::size_t>(day - 1)];
  const screen::FieldSpec field = kAmountField.at(dayRow(day), kColumns[static_cast<std::size_t>(block)]);
  const screen::FieldResult r = type(field, stored);
  if (r.exitCode == screen::kExitUp) put(field.row, field.col, takingsCell(amount(block, day)));
  if (r.exitCode != screen::kExitEnter) return screen::goFor(r.exitCode);
  stored = records::trim(r.text);
  put(field.row, field.col, takingsCell(amount(block, day)));
  return Go::next();
}

// The days from `day` on, four amounts each; a completed day is written at once. Up from the
// first amount goes to the day before and ESC ends, either way with the day put back as stored.
void TakingsScreen::enterDays(int day) {
  session_.panel.show(screen_, screen::legend({}));
  while (day <= records::kDays) {
    const records::Takings before = takings_;
    std::vector<screen::SequenceStep> steps;
    for (int b = 0; b < records::kTakingsBlocks; ++b) steps.push_back([this, day, b] { return askAmount(day, b); });
    switch (screen::runSequence(steps, 0, screen::BackFromFirst::Ends)) {
      case screen::SequenceEnd::Abandoned:
        takings_ = before;
        showDay(day);
        showTotals();
        day_ = day;
        return;
      case screen::SequenceEnd::BackFromFirst:
        takings_ = before;
        showDay(day);
        if (day > 1) --day;
        continue;
      case screen::SequenceEnd::Completed: break;
    }
    put(dayRow(day), kTotalCol, " " + takingsCell(dayTotal(day)) + " ");
    writeMonth(day);
    showDay(day);
    showTotals();
    ++day;
    day_ = day <= records::kDays ? day : records::kDays;
  }
}

void TakingsScreen::run() {
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
