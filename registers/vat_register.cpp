// The register print from the menu: questions, print dialog, print, end of print.
#include "registers/vat_register.h"

#include "records/print_marks.h"

namespace vellano::registers {

records::RegisterKind registerKindOf(std::string_view marksStem) {
  return marksStem == records::kPurchaseMarksStem ? records::RegisterKind::Purchases : records::RegisterKind::Sales;
}

void vatRegister(screen::Session& session, printout::PrintOutput& output, std::string_view marksStem) {
  const records::RegisterKind kind = registerKindOf(marksStem);
  RegisterAnswers answers;
  if (!askRegisterQuestions(session, marksStem, answers)) return;
  output.ORBWW(session, printout::PrintRequest{"1..1.1", "15", ""});
  if (!output.confirmed()) return;
  // With nothing to print the file keeps its set-up and the channel stays open until the
  // next start of print closes it.
  if (!printRegister(session.catalogue, output.channel(), output.laser(), kind, marksStem, answers)) return;
  output.ORBWWS(session);
}

}  // namespace vellano::registers
