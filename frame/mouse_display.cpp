// The mouse position display.
#include "frame/mouse_display.h"

#include <string>

#include "frame/numbers.h"

namespace vellano::frame {

void showMousePosition(platform::ScreenBuffer& screen, int mouseRow, int mouseCol, int displayRow) {
  const std::string text = printUsing("##", mouseRow) + "-" + printUsing("###", mouseCol);
  screen.putText(displayRow, kMouseDisplayCol, text, kMouseDisplayAttr);
}

}  // namespace vellano::frame
