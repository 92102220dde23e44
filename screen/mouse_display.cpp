// The mouse position display.
#include "screen/mouse_display.h"

#include <string>

#include "records/numbers.h"

namespace vellano::screen {

void showMousePosition(platform::ScreenBuffer& screen, int mouseRow, int mouseCol, int displayRow) {
  const std::string text = records::printUsing("##", mouseRow) + "-" + records::printUsing("###", mouseCol);
  screen.putText(displayRow, kMouseDisplayCol, text, kMouseDisplayAttr);
}

}  // namespace vellano::screen
