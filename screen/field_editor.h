// The one-line field editor through which every value is typed, and its exit codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "screen/mouse_display.h"
#include "platform/console.h"

namespace vellano::screen {

// Exit codes. Up and F1 share 1, F2-F10 give 2-10; ESC gives 10 as F10 does.
inline constexpr int kExitEnter = 0;      // Enter or Down
inline constexpr int kExitUp = 1;
inline constexpr int kExitEsc = 10;
inline constexpr int kExitPageUp = 11;    // PgUp (page-key mode 1) or F11 (mode 2)
inline constexpr int kExitPageDown = 12;  // PgDn (page-key mode 1) or F12 (mode 2)
inline constexpr int kExitTab = 13;       // Tab, or "-" typed in page-key mode 1
inline constexpr int kExitPlus = 14;      // "+" typed in page-key mode 1

inline constexpr std::string_view kDefaultKeyMask = "11110011111";

struct FieldResult {
  std::string text;  // padded with blanks to the field length; empty when only blanks
  int exitCode = kExitEnter;
  friend bool operator==(const FieldResult&, const FieldResult&) = default;
};

// The name of the first modifier held, in the order "LALT", "RCTRL", "LCTRL", "SHIFT", "RALT";
// empty when none.
std::string_view modifierName(std::uint8_t modifiers);

class FieldEditor {
 public:
  explicit FieldEditor(platform::Console& console) : console_(console) {}

  // Kept between calls. Position k of the mask ("0"/"1") allows the key whose exit code is k,
  // k = 1..11: Up and F1-F10 for 1-10, and 11 for the page-up key of the page-key mode
  // (PgUp or F11), so a first page can refuse it. PgDn/F12, Tab, "+" and "-" follow the page-key
  // mode alone, and ESC always ends the field. A missing position counts as "0".
  void setKeyMask(std::string mask) { keyMask_ = std::move(mask); }
  const std::string& keyMask() const { return keyMask_; }
  // 0 none, 1 PgUp/PgDn and "+"/"-" end the field, 2 F11/F12 end the field.
  void setPageKeyMode(int mode) { pageKeyMode_ = mode; }
  int pageKeyMode() const { return pageKeyMode_; }
  void setColours(std::uint8_t editing, std::uint8_t normal) {
    editAttr_ = editing;
    normalAttr_ = normal;
  }
  void setMouseRow(int row) { mouseRow_ = row; }

  // For the next call only: lower-case letters become capitals.
  void setCapitals(bool on) { capitals_ = on; }
  bool capitals() const { return capitals_; }

  // Edits at the cursor position. `length` > 0: numeric field of that many characters;
  // < 0: text field of -length characters; 0: text field as long as `initial` (at least 1).
  FieldResult edit(int length, std::string_view initial);

  // The modifier name of the last key read ("" when none was held).
  std::string_view lastModifier() const { return lastModifier_; }

 private:
  struct Field;
  std::optional<int> handleKey(Field& f, const platform::KeyEvent& key);
  std::optional<int> handleExtended(Field& f, const platform::KeyEvent& key);
  std::optional<int> handleChar(Field& f, std::uint8_t ch);
  bool allowed(int exitCode) const;
  void display(const Field& f);
  void redisplay(const Field& f);

  platform::Console& console_;
  std::string keyMask_{kDefaultKeyMask};
  int pageKeyMode_ = 0;
  std::uint8_t editAttr_ = 0x1F;
  std::uint8_t normalAttr_ = 0x07;
  int mouseRow_ = kMouseDisplayRow;
  bool capitals_ = false;
  std::string_view lastModifier_;
};

}  // namespace vellano::screen
