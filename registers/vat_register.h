// "STAMPA registro Vendite" / "STAMPA registro Acquisti": the questions of the register
// print, the print dialog, and the register itself on the print channel.
#pragma once

#include <string_view>

#include "records/registration_files.h"
#include "printout/print_output.h"
#include "registers/vat_register_print.h"
#include "screen/session.h"

namespace vellano::registers {

// The register of the open register channels (stems set by the print program); `marksStem`
// is "SDEFVE" or "SDEFAC" and chooses sales or purchases. Returns to the caller's menu.
void vatRegister(screen::Session& session, printout::PrintOutput& output, std::string_view marksStem);

// The "STAMPA REGISTRO" window and its questions, with the mark column and the last page
// behind F1. False when left with ESC.
bool askRegisterQuestions(screen::Session& session, std::string_view marksStem, RegisterAnswers& answers);

// The kind of register whose month marks are `marksStem`.
records::RegisterKind registerKindOf(std::string_view marksStem);

}  // namespace vellano::registers
