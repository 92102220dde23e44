// The one-line field editor through which every value is typed, and its exit codes.
#pragma once

#include <cstdint>
#include <initializer_list>
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

inline constexpr int kExitF2 = 2;         // F2-F10 give their own number
inline constexpr int kExitF3 = 3;
inline constexpr int kExitF4 = 4;
inline constexpr int kExitF5 = 5;
inline constexpr int kExitF6 = 6;
inline constexpr int kExitF7 = 7;
inline constexpr int kExitF8 = 8;
inline constexpr int kExitF9 = 9;

inline constexpr std::string_view kDefaultKeyMask = "11110011111";

// The keys beyond Enter and ESC that may end a field, by exit code: 1 Up/F1, 2-10 F2-F10,
// 11 the page-up key of the page-key mode.
class KeyMask {
 public:
  constexpr KeyMask() = default;
  constexpr KeyMask(std::initializer_list<int> exitCodes) {
    for (int code : exitCodes)
      if (code >= 1 && code <= kPositions) bits_ |= 1u << code;
  }
  constexpr bool allows(int exitCode) const {
    return exitCode >= 1 && exitCode <= kPositions && (bits_ >> exitCode & 1u) != 0;
  }
  // The "0"/"1" form the editor keeps: position k for exit code k.
  std::string text() const {
    std::string s(kPositions, '0');
    for (int k = 1; k <= kPositions; ++k)
      if (allows(k)) s[static_cast<std::size_t>(k - 1)] = '1';
    return s;
  }
  friend constexpr bool operator==(KeyMask, KeyMask) = default;

 private:
  static constexpr int kPositions = 11;
  unsigned bits_ = 0;
};

// What the default mask allows: Up, F2-F4, F7-F10 and page up.
inline constexpr KeyMask kDefaultKeys{kExitUp, kExitF2, kExitF3, kExitF4, kExitF7, kExitF8, kExitF9, kExitEsc,
                                      kExitPageUp};

// Which keys page through records: none, PgUp/PgDn with "+"/"-" and Tab, or F11/F12.
enum class PageKeys { None = 0, PgUpPgDn = 1, F11F12 = 2 };

// One field as a screen declares it: where it is typed, how long, numeric or text, the keys
// that may end it, the page keys and whether letters become capitals.
struct FieldSpec {
  int row = 0;  // 0: at the cursor
  int col = 0;
  int length = 1;
  bool numeric = false;
  KeyMask keys{};
  PageKeys pageKeys = PageKeys::None;
  bool capitals = false;

  constexpr FieldSpec withKeys(KeyMask k) const {
    FieldSpec s = *this;
    s.keys = k;
    return s;
  }
  constexpr FieldSpec withPageKeys(PageKeys p) const {
    FieldSpec s = *this;
    s.pageKeys = p;
    return s;
  }
  constexpr FieldSpec inCapitals() const {
    FieldSpec s = *this;
    s.capitals = true;
    return s;
  }
  constexpr FieldSpec at(int r, int c) const {
    FieldSpec s = *this;
    s.row = r;
    s.col = c;
    return s;
  }
};
constexpr FieldSpec numericField(int row, int col, int length) { return {row, col, length, true}; }
constexpr FieldSpec textField(int row, int col, int length) { return {row, col, length, false}; }

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

  // Edits the declared field: its keys, page keys and capitals are set for this call, the
  // cursor goes to its place (unless the row is 0), then as edit() below.
  FieldResult edit(const FieldSpec& field, std::string_view initial);

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

// Gives the editor back the keys and page-key mode it had when a screen started: the
// settings fields, the print prompt and the error box type with whatever keys the editor
// holds, so a screen that declares its own must not leave them behind.
class EditorKeysKept {
 public:
  explicit EditorKeysKept(FieldEditor& editor)
      : editor_(editor), mask_(editor.keyMask()), pageMode_(editor.pageKeyMode()) {}
  ~EditorKeysKept() {
    editor_.setKeyMask(mask_);
    editor_.setPageKeyMode(pageMode_);
  }
  EditorKeysKept(const EditorKeysKept&) = delete;
  EditorKeysKept& operator=(const EditorKeysKept&) = delete;

 private:
  FieldEditor& editor_;
  std::string mask_;
  int pageMode_;
};

}  // namespace vellano::screen
