// The "STAMPA REGISTRO" window: month or date range, payments, compressed print, sezionale,
// trial or definitive; F1 on the month edits the month marks and the register's last page.
#include <array>

#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"
#include "lists/register_heading.h"
#include "registers/register_state_panel.h"
#include "registers/vat_register.h"
#include "screen/function_keys.h"
#include "screen/palette.h"
#include "screen/window.h"

namespace vellano::registers {
namespace {

constexpr std::uint8_t kTextAttr = 0xB0;
constexpr std::string_view kMonthQuestion = "DEL MESE (0 = Dalla Data / Alla Data): ";

constexpr screen::WindowDescriptor window(int top, int left, int bottom, int right) {
  return screen::windowAt(top, left, bottom, right).framed(0).titled(1).shadowed(2, 0x08).coloured(0xB0, 0xC0, 0xCF);
}

constexpr screen::KeyMask kBack{screen::kExitUp};
constexpr screen::FieldSpec kMonthField = screen::numericField(3, 3 + static_cast<int>(kMonthQuestion.size()), 2)
                                              .withKeys(kBack);
constexpr screen::FieldSpec kFromField = screen::numericField(5, 16, 6).withKeys(kBack);
constexpr screen::FieldSpec kToField = screen::numericField(6, 16, 6).withKeys(kBack);
constexpr screen::FieldSpec kPaymentsField = screen::textField(8, 28, 1).withKeys(kBack).inCapitals();
constexpr screen::FieldSpec kCompressedField = screen::textField(9, 28, 1).withKeys(kBack).inCapitals();
constexpr screen::FieldSpec kSectionField = screen::textField(11, 28, 1).withKeys(kBack);
constexpr screen::FieldSpec kModeField = screen::textField(16, 39, 1).withKeys(kBack).inCapitals();

std::string twoDigits(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

// The period a month answer stands for: the year, or the month to its last day (February
// ends on the 29th in years divisible by 4).
void periodOf(int month, const std::string& yy, RegisterAnswers& answers) {
  if (month == 0) {
    answers.fromDate = "0101" + yy;
    answers.toDate = "3112" + yy;
    return;
  }
  static constexpr std::array<int, 13> kLastDay = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int last = kLastDay[static_cast<std::size_t>(month)];
  if (month == 2 && static_cast<int>(records::val(yy)) % 4 == 0) last = 29;
  answers.fromDate = "01" + twoDigits(month) + yy;
  answers.toDate = twoDigits(last) + twoDigits(month) + yy;
}

class RegisterQuestions {
 public:
  // The register header is the one the print program opened on its channel.
  RegisterQuestions(screen::Session& session, std::string_view marksStem)
      : session_(session), screen_(session.console.screen()), marksStem_(marksStem),
        headerStem_(session.catalogue.stem(records::channel::kRegisterHeader)) {}

  bool run(RegisterAnswers& answers);

 private:
  enum Step { kMonth, kFrom, kTo, kPayments, kCompressed, kSection, kMode, kDone };

  void drawWindow();
  int askMonth(RegisterStatePanel& panel, RegisterAnswers& answers);
  int askDate(const screen::FieldSpec& field, std::string& date, const std::string* notBefore);
  int askLetter(const screen::FieldSpec& field, std::string_view letters, char& answer);
  int askSection(std::string& section);
  void beep() { session_.console.beep(); }

  screen::Session& session_;
  platform::ScreenBuffer& screen_;
  std::string_view marksStem_;
  std::string headerStem_;
  std::string monthText_;
};

void RegisterQuestions::drawWindow() {
  screen_.putText(3, 3, kMonthQuestion, kTextAttr);
  screen_.putText(5, 3, "DALLA DATA : ", kTextAttr);
  screen_.putText(6, 3, " ALLA DATA : ", kTextAttr);
  screen_.putText(8, 3, "STAMPA PAGAMENTI [S/N] :", kTextAttr);
  screen_.putText(9, 3, "STAMPA COMPRESSA [S/N] :", kTextAttr);
  screen_.putText(11, 3, "N. SEZIONALE IVA.......:", kTextAttr);
  screen_.putText(16, 3, "Stampa in Prova / Definitiva [P/D]:", kTextAttr);
}

int RegisterQuestions::askMonth(RegisterStatePanel& panel, RegisterAnswers& answers) {
  for (;;) {
    session_.panel.show(screen_, kDefinitiveLegend);
    const screen::FieldResult r = session_.editor.edit(kMonthField, monthText_);
    if (r.exitCode == screen::kExitEsc) return r.exitCode;
    if (r.exitCode == screen::kExitUp) {
      panel.edit();
      continue;
    }
    if (r.exitCode != screen::kExitEnter) continue;
    monthText_ = records::trim(r.text);
    // The marks are read again: another terminal may have printed the month since.
    panel.reload();
    const long month = records::wholeNumberIn(records::val(monthText_), 0, 12);
    if (month < 0 || panel.marks().marked(static_cast<int>(month))) {
      beep();
      continue;
    }
    answers.month = static_cast<int>(month);
    periodOf(answers.month, session_.context().yearSuffix, answers);
    return screen::kExitEnter;
  }
}

int RegisterQuestions::askDate(const screen::FieldSpec& field, std::string& date, const std::string* notBefore) {
  const int workingYear = static_cast<int>(records::val(records::yearSuffixOf(session_.context().workingDate)));
  for (;;) {
    const screen::FieldResult r = session_.editor.edit(field, date);
    if (r.exitCode != screen::kExitEnter) return r.exitCode;
    const std::string typed = records::trim(r.text);
    if (!records::dateValid(typed, workingYear, false) ||
        (notBefore != nullptr && records::dateKey(typed) < records::dateKey(*notBefore))) {
      beep();
      continue;
    }
    date = typed;
    screen_.putText(field.row, field.col, lists::longDate(date), kTextAttr);
    return screen::kExitEnter;
  }
}

int RegisterQuestions::askLetter(const screen::FieldSpec& field, std::string_view letters, char& answer) {
  for (;;) {
    const screen::FieldResult r = session_.editor.edit(field, std::string(1, answer));
    if (r.exitCode != screen::kExitEnter) return r.exitCode;
    const std::string typed = records::trim(r.text);
    if (typed.size() != 1 || letters.find(typed[0]) == std::string_view::npos) {
      beep();
      continue;
    }
    answer = typed[0];
    return screen::kExitEnter;
  }
}

int RegisterQuestions::askSection(std::string& section) {
  const screen::FieldResult r = session_.editor.edit(kSectionField, section);
  if (r.exitCode == screen::kExitEnter) section = records::trim(r.text);
  return r.exitCode;
}

bool RegisterQuestions::run(RegisterAnswers& answers) {
  screen::EditorKeysKept keysKept(session_.editor);
  const records::Context& context = session_.context();
  const std::uint8_t editAttr = screen::palette(context.install.colourScheme).fieldEditing;
  session_.editor.setColours(editAttr, kTextAttr);
  monthText_ = records::mid(records::fitLeft(context.workingDate, 6), 3, 2);

  screen::Window outer(screen_, window(1, 1, 24, 80), "STAMPA REGISTRO");
  drawWindow();
  RegisterStatePanel panel(session_, {marksStem_, headerStem_}, kTextAttr, editAttr);

  char payments = 'N';
  char compressed = 'S';
  char mode = 'P';
  std::string section;
  int step = kMonth;
  while (step != kDone) {
    int exit = screen::kExitEnter;
    // F1 belongs to the month question alone.
    if (step != kMonth) session_.panel.show(screen_, screen::kMainMenuLegend);
    switch (step) {
      case kMonth: exit = askMonth(panel, answers); break;
      case kFrom: exit = askDate(kFromField, answers.fromDate, nullptr); break;
      case kTo: exit = askDate(kToField, answers.toDate, &answers.fromDate); break;
      case kPayments: exit = askLetter(kPaymentsField, "SN", payments); break;
      case kCompressed: exit = askLetter(kCompressedField, "SN", compressed); break;
      case kSection: exit = askSection(section); break;
      case kMode: exit = askLetter(kModeField, "PD", mode); break;
    }
    if (exit == screen::kExitEsc) return false;
    if (exit == screen::kExitUp) {
      if (step > kMonth) --step;
    } else if (exit == screen::kExitEnter) {
      ++step;
    }
  }
  answers.payments = payments == 'S';
  answers.compressed = compressed == 'S';
  answers.section = section;
  answers.definitive = mode == 'D';
  return true;
}

}  // namespace

bool askRegisterQuestions(screen::Session& session, std::string_view marksStem, RegisterAnswers& answers) {
  return RegisterQuestions(session, marksStem).run(answers);
}

}  // namespace vellano::registers
