// The "STAMPA REGISTRO" window: month or date range, payments, compressed print, sezionale,
// trial or definitive; F1 on the month edits the month marks and the register's last page.
#include <array>

#include "records/dates.h"
#include "records/numbers.h"
#include "records/print_marks.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "lists/register_heading.h"
#include "registers/vat_register.h"
#include "screen/function_keys.h"
#include "screen/palette.h"
#include "screen/window.h"

namespace vellano::registers {
namespace {

constexpr std::uint8_t kTextAttr = 0xB0;
constexpr std::string_view kMonthLegend =
    "1Definitivo|2          |3          |4          |5          |6          |7          |8          |9          |          |          ";
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
constexpr screen::FieldSpec kLastPageField = screen::numericField(21, 70, 4).withKeys(kBack);
constexpr int kMarkColumn = 75;

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
  RegisterQuestions(screen::Session& session, std::string_view marksStem)
      : session_(session), screen_(session.console.screen()), marksStem_(marksStem) {}

  bool run(RegisterAnswers& answers);

 private:
  enum Step { kMonth, kFrom, kTo, kPayments, kCompressed, kSection, kMode, kDone };

  void drawWindow();
  void showMarks(const records::MonthMarks& marks);
  void showLastPage() { screen_.putText(21, 70, records::printUsing("####", lastPage_), kTextAttr); }
  int askMonth(RegisterAnswers& answers);
  int askDate(const screen::FieldSpec& field, std::string& date, const std::string* notBefore);
  int askLetter(const screen::FieldSpec& field, std::string_view letters, char& answer);
  int askSection(std::string& section);
  void editMarks();
  void storeLastPage(int page);
  void beep() { session_.console.beep(); }

  screen::Session& session_;
  platform::ScreenBuffer& screen_;
  std::string_view marksStem_;
  records::MonthMarks marks_;
  int lastPage_ = 0;
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

void RegisterQuestions::showMarks(const records::MonthMarks& marks) {
  for (int m = 1; m <= 12; ++m) {
    screen_.putText(3 + m, 65, records::monthName(m), kTextAttr);
    screen_.put(3 + m, kMarkColumn, static_cast<std::uint8_t>(marks.month[static_cast<std::size_t>(m - 1)]), kTextAttr);
  }
}

int RegisterQuestions::askMonth(RegisterAnswers& answers) {
  for (;;) {
    session_.panel.show(screen_, kMonthLegend);
    const screen::FieldResult r = session_.editor.edit(kMonthField, monthText_);
    if (r.exitCode == screen::kExitEsc) return r.exitCode;
    if (r.exitCode == screen::kExitUp) {
      editMarks();
      continue;
    }
    if (r.exitCode != screen::kExitEnter) continue;
    monthText_ = records::trim(r.text);
    const long month = records::wholeNumberIn(records::val(monthText_), 0, 12);
    if (month < 0 || marks_.marked(static_cast<int>(month))) {
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

void RegisterQuestions::editMarks() {
  records::MonthMarks edited = marks_;
  int month = 1;  // 13: the last page
  for (;;) {
    if (month > 12) {
      const screen::FieldResult r =
          session_.editor.edit(kLastPageField, records::trim(records::printUsing("####", lastPage_)));
      if (r.exitCode == screen::kExitEsc) {
        showLastPage();
        return;
      }
      if (r.exitCode == screen::kExitUp) {
        showLastPage();
        month = 12;
        continue;
      }
      if (r.exitCode != screen::kExitEnter) continue;
      const long page = records::wholeNumberIn(records::val(r.text), 0, records::kMaxCounter);
      if (page < 0) {
        beep();
        continue;
      }
      storeLastPage(static_cast<int>(page));
      return;
    }
    const screen::FieldSpec field = screen::textField(3 + month, kMarkColumn, 1).withKeys(kBack).inCapitals();
    const screen::FieldResult r =
        session_.editor.edit(field, std::string(1, edited.month[static_cast<std::size_t>(month - 1)]));
    if (r.exitCode == screen::kExitEsc) {
      showMarks(marks_);
      return;
    }
    if (r.exitCode == screen::kExitUp) {
      if (month > 1) --month;
      continue;
    }
    if (r.exitCode != screen::kExitEnter) continue;
    const char mark = r.text.empty() ? ' ' : r.text[0];
    if (mark != 'X' && mark != ' ') {
      beep();
      continue;
    }
    edited.month[static_cast<std::size_t>(month - 1)] = mark;
    screen_.put(3 + month, kMarkColumn, static_cast<std::uint8_t>(mark), kTextAttr);
    if (++month > 12) {
      records::writeMonthMarks(session_.catalogue, marksStem_, edited);
      marks_ = edited;
    }
  }
}

// The header's counts are read again inside the save: only the last page is ours to change.
void RegisterQuestions::storeLastPage(int page) {
  records::SaveTransaction save(session_.catalogue);
  records::openChannel(session_.catalogue, records::channel::kRegisterHeader).read(1);
  records::RegisterHeader header;
  records::L_3(session_.catalogue, header);
  header.lastPage = page;
  records::writeHeader(session_.catalogue, header);
  save.commit();
  lastPage_ = page;
  showLastPage();
}

bool RegisterQuestions::run(RegisterAnswers& answers) {
  screen::EditorKeysKept keysKept(session_.editor);
  const records::Context& context = session_.context();
  session_.editor.setColours(screen::palette(context.install.colourScheme).fieldEditing, kTextAttr);
  marks_ = records::readMonthMarks(session_.catalogue, marksStem_);
  records::openChannel(session_.catalogue, records::channel::kRegisterHeader).read(1);
  records::RegisterHeader header;
  records::L_3(session_.catalogue, header);
  lastPage_ = header.lastPage;
  monthText_ = records::mid(records::fitLeft(context.workingDate, 6), 3, 2);

  screen::Window outer(screen_, window(1, 1, 24, 80), "STAMPA REGISTRO");
  drawWindow();
  screen::Window monthsWindow(screen_, window(3, 63, 16, 78), "MESE     DEF");
  showMarks(marks_);
  screen::Window registerWindow(screen_, window(18, 63, 22, 78), "  REGISTRO  ");
  screen_.putText(19, 64, "Ultima  Pagina", kTextAttr);
  showLastPage();

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
      case kMonth: exit = askMonth(answers); break;
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
