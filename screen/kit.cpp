// The window and colours of the data-entry screens.
#include "screen/kit.h"

#include "screen/palette.h"

namespace vellano::screen {

ScreenColours screenColours(const records::Context& context) {
  const Palette& p = palette(context.install.colourScheme);
  if (context.install.colourScheme == 'M') return {0x07, 0x0F, 0x0F, p.fieldEditing};
  return {0x30, 0x3F, 0x3E, p.fieldEditing};
}

WindowDescriptor screenWindow(const records::Context& context, int top, int left, int bottom, int right,
                              int titlePosition) {
  const ScreenColours colours = screenColours(context);
  return windowAt(top, left, bottom, right)
      .framed(1)
      .titled(titlePosition)
      .shadowed(2, 0x08)
      .coloured(colours.text, colours.border, colours.title);
}

}  // namespace vellano::screen
