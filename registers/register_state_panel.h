// The two small windows beside the questions of a register print: "MESE     DEF" with the
// twelve months and their definitive-print marks, "  REGISTRO  " with the last page printed,
// and their editing by hand (the marks month by month, then the last page). Shared by the
// register prints that keep a month-marks file and a register header.
#pragma once

#include <cstdint>
#include <string_view>

#include "records/print_marks.h"
#include "screen/field_editor.h"
#include "screen/session.h"
#include "screen/window.h"

namespace vellano::registers {

// Where the state lives: the month-marks stem (channel kRegisterPrint) and the register-header
// stem (channel kRegisterHeader, record 1, "Ultima Pagina Registro").
struct RegisterStateFiles {
  std::string_view marksStem;
  std::string_view headerStem;
};

// The legend of the month question: F1 goes into the marks.
inline constexpr std::string_view kDefinitiveLegend =
    "1Definitivo|2          |3          |4          |5          |6          |7          |8          |9          |          |          ";

// Last page stored in record 1 of the register header of `headerStem`.
int readLastPage(records::Catalogue& catalogue, std::string_view headerStem);
// Stores `page` as the last page, the other header fields as they are on file inside the save.
void writeLastPage(records::Catalogue& catalogue, std::string_view headerStem, int page);

class RegisterStatePanel {
 public:
  // Opens both windows over the caller's screen and shows the state on file; the windows
  // close with the object.
  RegisterStatePanel(screen::Session& session, RegisterStateFiles files, std::uint8_t textAttr,
                     std::uint8_t editAttr);

  // Reads marks and last page again and shows them.
  void reload();
  const records::MonthMarks& marks() const { return marks_; }
  int lastPage() const { return lastPage_; }

  // Editing by hand: each month's mark ("X" or blank, else beep; Up one month up, Enter one
  // down, ESC abandons the edits); after month 12 the marks are written and the last page is
  // asked (Up back to the marks, ESC abandons it, Enter stores it).
  void edit();

 private:
  void show();
  void showMark(int month, char mark);
  void showLastPage(int page);
  screen::FieldResult type(const screen::FieldSpec& field, std::string_view initial);
  // False when ESC abandoned the marks.
  bool editMarks(records::MonthMarks& work, int& month);

  screen::Session& session_;
  RegisterStateFiles files_;
  std::uint8_t textAttr_;
  std::uint8_t editAttr_;
  screen::Window months_;
  screen::Window register_;
  records::MonthMarks marks_;
  int lastPage_ = 0;
};

}  // namespace vellano::registers
