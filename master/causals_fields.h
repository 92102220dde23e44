// Small pieces shared by the causal, sub-account, cash/bank and VAT-code screens: their
// window and colours, field entry at a screen position, legends, dotted input areas, the
// search-list window and the counters of INDEX.DAT.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/catalogue.h"
#include "frame/field_editor.h"
#include "frame/list_select.h"
#include "frame/session.h"
#include "frame/window.h"

namespace vellano::master {

// Input areas are drawn as middle dots.
inline constexpr std::uint8_t kDot = 0xFA;
std::string dots(std::size_t n);

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
ScreenColours screenColours(const frame::Context& context);

// A master-data window: single frame, shadow, the scheme's colours.
frame::WindowDescriptor screenWindow(const frame::Context& context, int top, int left, int bottom,
                                     int right, int titlePosition);

using frame::kSearchHighlight;
using frame::searchListWindow;

// A legend of 11 fields: the label of each key 1-9 (cut or padded to 10), then the two notes.
std::string legend(std::string_view l1, std::string_view l2, std::string_view l3, std::string_view l4,
                   std::string_view l5, std::string_view l6, std::string_view l7, std::string_view l8,
                   std::string_view l9, std::string_view note1 = {}, std::string_view note2 = {});
inline constexpr std::string_view kPageNote = "Pag+-";

// Puts the editor back as the screen found it (mask and page-key mode) when it closes.
class EditorSettings {
 public:
  explicit EditorSettings(frame::FieldEditor& editor)
      : editor_(editor), mask_(editor.keyMask()), pageMode_(editor.pageKeyMode()) {}
  ~EditorSettings() {
    editor_.setKeyMask(mask_);
    editor_.setPageKeyMode(pageMode_);
  }
  EditorSettings(const EditorSettings&) = delete;
  EditorSettings& operator=(const EditorSettings&) = delete;

 private:
  frame::FieldEditor& editor_;
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
frame::FieldResult editField(frame::Session& session, const FieldCall& call, std::string_view initial);

// The channel, opened first when it is not open yet.
frame::Channel& openChannel(frame::Catalogue& catalogue, int channel);

// INDEX.DAT: record 1 counts the causals, record 2 the cash/bank accounts.
inline constexpr long kCausalCounter = 1;
inline constexpr long kCashBankCounter = 2;
int readCounter(frame::Catalogue& catalogue, long record);
void writeCounter(frame::Catalogue& catalogue, long record, int count);

}  // namespace vellano::master
