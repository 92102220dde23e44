// The month marks and last page beside a register print's questions.
#include "registers/register_state_panel.h"

#include <string>

#include "records/dates.h"
#include "records/numbers.h"
#include "records/registration_files.h"
#include "records/save_transaction.h"
#include "records/text.h"

namespace vellano::registers {
namespace {

constexpr int kMonthsTop = 3;  // month m on row kMonthsTop + m
constexpr int kNameCol = 65;
constexpr int kMarkCol = 75;
constexpr int kPageLabelRow = 19;
constexpr int kPageRow = 21;
constexpr int kPageCol = 70;

constexpr screen::FieldSpec kMarkField =
    screen::textField(kMonthsTop + 1, kMarkCol, 1).withKeys({screen::kExitUp}).inCapitals();
constexpr screen::FieldSpec kPageField = screen::numericField(kPageRow, kPageCol, 4).withKeys({screen::kExitUp});

constexpr int kLeft = 63;
constexpr int kRight = 78;

// The titles are the headings of the columns below them ("MESE" over the names, "DEF" over the
// marks): written whole on the top edge, where the window library would cut them to the
// frame's title room.
screen::WindowDescriptor smallWindow(int top, int bottom, std::uint8_t attr) {
  return screen::windowAt(top, kLeft, bottom, kRight).framed(1).coloured(attr, attr, attr);
}

records::Channel& openHeader(records::Catalogue& catalogue, std::string_view headerStem) {
  catalogue.setStem(records::channel::kRegisterHeader, std::string(headerStem));
  return catalogue.open(records::channel::kRegisterHeader);
}

}  // namespace

int readLastPage(records::Catalogue& catalogue, std::string_view headerStem) {
  openHeader(catalogue, headerStem).read(1);
  records::RegisterHeader header;
  records::L_3(catalogue, header);
  return header.lastPage;
}

void writeLastPage(records::Catalogue& catalogue, std::string_view headerStem, int page) {
  records::SaveTransaction save(catalogue);
  records::Channel& file = openHeader(catalogue, headerStem);
  file.read(1);
  records::RegisterHeader header;
  records::L_3(catalogue, header);
  header.lastPage = page;
  records::W_3(catalogue, header);
  file.write(1);
  save.commit();
}

RegisterStatePanel::RegisterStatePanel(screen::Session& session, RegisterStateFiles files, std::uint8_t textAttr,
                                       std::uint8_t editAttr)
    : session_(session), files_(files), textAttr_(textAttr), editAttr_(editAttr),
      months_(session.console.screen(), smallWindow(kMonthsTop, 16, textAttr)),
      register_(session.console.screen(), smallWindow(18, 22, textAttr)) {
  platform::ScreenBuffer& screen = session.console.screen();
  screen.putText(kMonthsTop, kLeft + 1, " MESE     DEF ", textAttr);
  screen.putText(18, kLeft + 1, "   REGISTRO   ", textAttr);
  reload();
}

void RegisterStatePanel::reload() {
  marks_ = records::readMonthMarks(session_.catalogue, files_.marksStem);
  lastPage_ = readLastPage(session_.catalogue, files_.headerStem);
  show();
}

void RegisterStatePanel::show() {
  platform::ScreenBuffer& screen = session_.console.screen();
  for (int m = 1; m <= 12; ++m) {
    screen.putText(kMonthsTop + m, kNameCol, records::monthName(m), textAttr_);
    showMark(m, marks_.month[static_cast<std::size_t>(m - 1)]);
  }
  screen.putText(kPageLabelRow, 64, "Ultima  Pagina", textAttr_);
  showLastPage(lastPage_);
}

void RegisterStatePanel::showMark(int month, char mark) {
  session_.console.screen().put(kMonthsTop + month, kMarkCol, static_cast<std::uint8_t>(mark), textAttr_);
}

void RegisterStatePanel::showLastPage(int page) {
  session_.console.screen().putText(kPageRow, kPageCol, records::printUsing("####", page), textAttr_);
}

screen::FieldResult RegisterStatePanel::type(const screen::FieldSpec& field, std::string_view initial) {
  session_.editor.setColours(editAttr_, textAttr_);
  return session_.editor.edit(field, initial);
}

bool RegisterStatePanel::editMarks(records::MonthMarks& work, int& month) {
  while (month <= 12) {
    char& mark = work.month[static_cast<std::size_t>(month - 1)];
    const screen::FieldResult r = type(kMarkField.at(kMonthsTop + month, kMarkCol), std::string(1, mark));
    if (r.exitCode == screen::kExitEsc) return false;
    if (r.exitCode == screen::kExitUp) {
      showMark(month, mark);
      if (month > 1) --month;
      continue;
    }
    if (r.exitCode != screen::kExitEnter) {
      showMark(month, mark);
      continue;
    }
    const std::string typed = records::trim(r.text);
    if (!typed.empty() && typed != "X") {
      session_.console.beep();
      continue;
    }
    mark = typed.empty() ? ' ' : 'X';
    showMark(month, mark);
    ++month;
  }
  return true;
}

void RegisterStatePanel::edit() {
  screen::EditorKeysKept keys(session_.editor);
  records::MonthMarks work = records::readMonthMarks(session_.catalogue, files_.marksStem);
  int month = 1;
  for (;;) {
    if (!editMarks(work, month)) {
      // Nothing typed here is kept: the window shows the file again.
      reload();
      return;
    }
    records::writeMonthMarks(session_.catalogue, files_.marksStem, work);
    marks_ = work;
    for (;;) {
      const screen::FieldResult r = type(kPageField, std::to_string(lastPage_));
      if (r.exitCode == screen::kExitUp) break;
      if (r.exitCode == screen::kExitEsc) {
        showLastPage(lastPage_);
        return;
      }
      if (r.exitCode != screen::kExitEnter) continue;
      const long page = records::wholeNumberIn(records::val(r.text), 0, records::kMaxCounter);
      if (page < 0) {
        session_.console.beep();
        continue;
      }
      writeLastPage(session_.catalogue, files_.headerStem, static_cast<int>(page));
      lastPage_ = static_cast<int>(page);
      showLastPage(lastPage_);
      return;
    }
    showLastPage(lastPage_);
    month = 12;
  }
}

}  // namespace vellano::registers
