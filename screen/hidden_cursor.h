// Hides the console cursor for the life of a menu or list and gives back its previous state.
#pragma once

#include "platform/console.h"

namespace vellano::screen {

class HiddenCursor {
 public:
  explicit HiddenCursor(platform::Console& c) : console_(c), wasVisible_(c.cursor().visible) { c.showCursor(false); }
  ~HiddenCursor() { console_.showCursor(wasVisible_); }
  HiddenCursor(const HiddenCursor&) = delete;
  HiddenCursor& operator=(const HiddenCursor&) = delete;

 private:
  platform::Console& console_;
  bool wasVisible_;
};

}  // namespace vellano::screen
