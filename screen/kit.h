// The screen kit: what the data-entry screens share — their window and colours, field entry
// at a screen position, legends, dotted input areas and the search-list window.
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

// Key masks: position k allows exit code k (Up/F1 = 1, F2-F10, 11 = page up).
inline constexpr std::string_view kMaskNone = "00000000000";
inline constexpr std::string_view kMaskUp = "10000000000";

// Colours of the master-data screens in the installation's scheme.
struct ScreenColours {
  std::uint8_t text;     // labels, values and the interior
  std::uint8_t border;
  std::uint8_t title;
  std::uint8_t editing;  // a field while typed in
};
ScreenColours screenColours(const records::Context& context);

// A master-data window: single frame, shadow, the scheme's colours.
WindowDescriptor screenWindow(const records::Context& context, int top, int left, int bottom,
                                     int right, int titlePosition);


// A legend of 11 fields: the label of each key 1-9 (cut or padded to 10), then the two notes.
std::string legend(std::string_view l1, std::string_view l2, std::string_view l3, std::string_view l4,
                   std::string_view l5, std::string_view l6, std::string_view l7, std::string_view l8,
                   std::string_view l9, std::string_view note1 = {}, std::string_view note2 = {});

// Puts the editor back as the screen found it (mask and page-key mode) when it closes.
class EditorSettings {
 public:
  explicit EditorSettings(FieldEditor& editor)
      : editor_(editor), mask_(editor.keyMask()), pageMode_(editor.pageKeyMode()) {}
  ~EditorSettings() {
    editor_.setKeyMask(mask_);
    editor_.setPageKeyMode(pageMode_);
  }
  EditorSettings(const EditorSettings&) = delete;
  EditorSettings& operator=(const EditorSettings&) = delete;

 private:
  FieldEditor& editor_;
  std::string mask_;
  int pageMode_;
};

// One field at (row, col) with the given key mask and page-key mode.
struct FieldCall {
  int row = 1;
  int col = 1;
  int length = 1;            // > 0 numeric, < 0 text (see FieldEditor::edit)
  std::string_view mask = kMaskNone;
  int pageMode = 0;
  bool capitals = false;
};
FieldResult editField(Session& session, const FieldCall& call, std::string_view initial);

}  // namespace vellano::screen
