// The screen kit in one include: field declarations and the editor, the field-sequence
// runner, the record picker, legends, glyphs, lists and windows, plus the window and colours
// of the data-entry screens.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "records/catalogue.h"
#include "records/counters.h"
#include "screen/field_editor.h"
#include "screen/field_sequence.h"
#include "screen/glyphs.h"
#include "screen/legend.h"
#include "screen/list_select.h"
#include "screen/record_picker.h"
#include "screen/session.h"
#include "screen/window.h"

namespace vellano::screen {

// Colours of the master-data screens in the installation's scheme.
struct ScreenColours {
  std::uint8_t text;     // labels, values and the interior
  std::uint8_t border;
  std::uint8_t title;
  std::uint8_t editing;  // a field while typed in
};
ScreenColours screenColours(const records::Context& context);

// A master-data window: single frame, shadow, the scheme's colours.
WindowDescriptor screenWindow(const records::Context& context, int top, int left, int bottom, int right,
                              int titlePosition);

}  // namespace vellano::screen
