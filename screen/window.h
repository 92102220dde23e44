// Pop-up windows: the 12-byte descriptor, the border styles, and the Window object that saves
// the whole screen when it opens and writes it back when it goes out of scope.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/screen_buffer.h"

namespace vellano::screen {

// One byte per field, in the order callers have always written them.
struct WindowDescriptor {
  std::uint8_t top = 1;
  std::uint8_t left = 1;
  std::uint8_t bottom = 1;
  std::uint8_t right = 1;
  std::uint8_t borderStyle = 0;    // 0-19, see borderStyle()
  std::uint8_t titlePosition = 0;  // 0 none, 1-3 top, 4-6 bottom (left/centre/right), 7 left side, 8 right side
  std::uint8_t closeBox = 0;       // non-zero: "[" 254 "]" 196 at the top-left corner
  std::uint8_t shadowPosition = 0; // 0 none, 1-4 re-coloured cells, 5-8 block characters
  std::uint8_t shadowAttr = 0x08;
  std::uint8_t interiorAttr = 0x07;
  std::uint8_t borderAttr = 0x07;
  std::uint8_t titleAttr = 0x07;

  // The usual descriptors are built in one expression:
  //   windowAt(1, 1, 18, 81).framed(1).titled(2).shadowed(2, 0x08).coloured(0x30, 0x3F, 0x3E)
  constexpr WindowDescriptor framed(int style) const {
    WindowDescriptor d = *this;
    d.borderStyle = static_cast<std::uint8_t>(style);
    return d;
  }
  constexpr WindowDescriptor titled(int position) const {
    WindowDescriptor d = *this;
    d.titlePosition = static_cast<std::uint8_t>(position);
    return d;
  }
  constexpr WindowDescriptor shadowed(int position, std::uint8_t attr) const {
    WindowDescriptor d = *this;
    d.shadowPosition = static_cast<std::uint8_t>(position);
    d.shadowAttr = attr;
    return d;
  }
  constexpr WindowDescriptor coloured(std::uint8_t interior, std::uint8_t border, std::uint8_t title) const {
    WindowDescriptor d = *this;
    d.interiorAttr = interior;
    d.borderAttr = border;
    d.titleAttr = title;
    return d;
  }
  constexpr WindowDescriptor withCloseBox() const {
    WindowDescriptor d = *this;
    d.closeBox = 1;
    return d;
  }
  friend bool operator==(const WindowDescriptor&, const WindowDescriptor&) = default;
};

// A window over rows top-bottom and columns left-right; no frame, title or shadow yet.
constexpr WindowDescriptor windowAt(int top, int left, int bottom, int right) {
  WindowDescriptor d;
  d.top = static_cast<std::uint8_t>(top);
  d.left = static_cast<std::uint8_t>(left);
  d.bottom = static_cast<std::uint8_t>(bottom);
  d.right = static_cast<std::uint8_t>(right);
  return d;
}

// The eight characters of a border style, code page 437 bytes.
struct BorderStyle {
  std::uint8_t topLeft, bottomLeft, topRight, bottomRight, leftSide, rightSide, topEdge, bottomEdge;
};

inline constexpr int kBorderStyleCount = 20;
// The style for an index; an index outside 0-19 gives style 0 (no frame).
const BorderStyle& borderStyle(int index);

// Draws a window on `screen` without saving anything: frame, interior, close box, title and
// shadow. Every cell outside the buffer is dropped.
void drawWindow(platform::ScreenBuffer& screen, const WindowDescriptor& d, std::string_view title);

// The title as drawn on the frame: its first cell, its direction and the text written there
// (on the top or bottom edge the cut title with one blank on each side; down a side the cut
// title alone).
struct TitlePlacement {
  int row = 0;
  int col = 0;
  bool vertical = false;
  std::string text;
};
TitlePlacement placeTitle(const WindowDescriptor& d, std::string_view title);

// An open window. Opening saves the whole buffer in one copy and draws the window; the
// destructor writes the copy back in one block. Windows must close in reverse order of
// opening, which scoping gives for free; they cannot be copied or moved.
class Window {
 public:
  Window(platform::ScreenBuffer& screen, const WindowDescriptor& d, std::string_view title = {});
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const WindowDescriptor& descriptor() const { return descriptor_; }

 private:
  platform::ScreenBuffer& screen_;
  WindowDescriptor descriptor_;
  platform::ScreenBuffer::Cells saved_;  // held in the object: opening allocates nothing
};

}  // namespace vellano::screen
