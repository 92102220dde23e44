// Hand-over to VELST10W.
#include "frame/print_handover.h"

#include "frame/catalogue.h"
#include "frame/text.h"
#include "platform/commands.h"

namespace vellano::frame {

void handOverToPrintProgram(Session& session, std::string_view request, std::string_view code) {
  Catalogue& catalogue = session.catalogue;
  Context& context = session.context();
  catalogue.closeAll();
  Channel& qmenu = catalogue.O_90();
  qmenu.read(context.handOverRecord);
  HandOver handOver;
  L_90(catalogue, handOver);
  handOver.field[HandOver::kRequest] = fitLeft(request, 2);
  if (!code.empty()) handOver.field[HandOver::kCode] = fitLeft(code, 4);
  W_90(catalogue, handOver);
  qmenu.write(context.handOverRecord);
  context.handOver = handOver;
  catalogue.closeAll();
  platform::runCommand("VELST10W.EXE" + context.hostSwitch + " " + context.terminalNumber,
                       session.console);
  throw ProgramEnd{0};
}

}  // namespace vellano::frame
