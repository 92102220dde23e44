// Month marks of the definitive register prints.
#include "records/print_marks.h"

#include <string>

namespace vellano::records {

void L_17(const Catalogue& catalogue, MonthMarks& marks) {
  loadRun(catalogue.channel(channel::kRegisterPrint).buffer(), marks_layout::kMonths, marks_layout::kKind,
          marks.month);
}

void W_17(Catalogue& catalogue, const MonthMarks& marks) {
  storeRun(catalogue.channel(channel::kRegisterPrint).buffer(), marks_layout::kMonths, marks_layout::kKind,
           marks.month, "W_17");
}

MonthMarks readMonthMarks(Catalogue& catalogue, std::string_view stem) {
  catalogue.setStem(channel::kRegisterPrint, std::string(stem));
  Channel& marksFile = catalogue.open(channel::kRegisterPrint);
  marksFile.read(1);
  MonthMarks marks;
  L_17(catalogue, marks);
  return marks;
}

void writeMonthMarks(Catalogue& catalogue, std::string_view stem, const MonthMarks& marks) {
  catalogue.setStem(channel::kRegisterPrint, std::string(stem));
  Channel& marksFile = catalogue.open(channel::kRegisterPrint);
  marksFile.read(1);
  W_17(catalogue, marks);
  marksFile.write(1);
}

}  // namespace vellano::records
