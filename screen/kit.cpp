// Shared pieces of the master-data screens.
#include "screen/kit.h"

#include "screen/palette.h"
#include "records/text.h"

namespace vellano::screen {

ScreenColours screenColours(const records::Context& context) {
  const Palette& p = palette(context.install.colourScheme);
  if (context.install.colourScheme == 'M') return {0x07, 0x0F, 0x0F, p.fieldEditing};
  return {0x30, 0x3F, 0x3E, p.fieldEditing};
}

WindowDescriptor screenWindow(const records::Context& context, int top, int left, int bottom,
                                     int right, int titlePosition) {
  const ScreenColours colours = screenColours(context);
  return windowAt(top, left, bottom, right)
      .framed(1)
      .titled(titlePosition)
      .shadowed(2, 0x08)
      .coloured(colours.text, colours.border, colours.title);
}

std::string legend(std::string_view l1, std::string_view l2, std::string_view l3, std::string_view l4,
                   std::string_view l5, std::string_view l6, std::string_view l7, std::string_view l8,
                   std::string_view l9, std::string_view note1, std::string_view note2) {
  const std::string_view labels[] = {l1, l2, l3, l4, l5, l6, l7, l8, l9};
  std::string out;
  for (int k = 0; k < 9; ++k) {
    out += static_cast<char>('1' + k);
    out += records::fitLeft(labels[k], 10);
    out += '|';
  }
  out += records::fitLeft(note1, 10) + "|" + records::fitLeft(note2, 10);
  return out;
}

FieldResult editField(Session& session, const FieldCall& call, std::string_view initial) {
  FieldEditor& editor = session.editor;
  editor.setKeyMask(std::string(call.mask));
  editor.setPageKeyMode(call.pageMode);
  editor.setCapitals(call.capitals);
  session.console.setCursor(call.row, call.col);
  return editor.edit(call.length, initial);
}

}  // namespace vellano::screen
