// Hand-over to VELST10W.
#include "screen/print_handover.h"

#include "records/catalogue.h"
#include "records/text.h"
#include "platform/commands.h"

namespace vellano::screen {

void handOverToPrintProgram(Session& session, std::string_view request, std::string_view code) {
  records::Catalogue& catalogue = session.catalogue;
  records::Context& context = session.context();
  catalogue.closeAll();
  records::Channel& qmenu = catalogue.open(records::channel::kHandOver);
  qmenu.read(context.handOverRecord);
  records::HandOver handOver;
  records::L_90(catalogue, handOver);
  handOver.field[records::HandOver::kRequest] = records::fitLeft(request, 2);
  if (!code.empty()) handOver.field[records::HandOver::kCode] = records::fitLeft(code, 4);
  records::W_90(catalogue, handOver);
  qmenu.write(context.handOverRecord);
  context.handOver = handOver;
  catalogue.closeAll();
  platform::runCommand("VELST10W.EXE" + context.hostSwitch + " " + context.terminalNumber,
                       session.console);
  throw ProgramEnd{0};
}

}  // namespace vellano::screen
