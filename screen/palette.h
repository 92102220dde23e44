// Colours of the installation's two schemes: "C" (colour) and "M" (monochrome screens).
#pragma once

#include <cstdint>

namespace vellano::screen {

struct Palette {
  std::uint8_t background;    // the whole screen behind the windows
  std::uint8_t banner;        // the product lettering
  std::uint8_t menuInterior;
  std::uint8_t menuBorder;
  std::uint8_t menuTitle;
  std::uint8_t menuSelected;
  std::uint8_t menuHot;
  std::uint8_t shadow;
  std::uint8_t errorInterior;  // the error box
  std::uint8_t errorBorder;
  std::uint8_t errorTitle;
  std::uint8_t fieldEditing;   // a field while it is typed in
};

// "M" gives the monochrome scheme, anything else the colour one.
const Palette& palette(char scheme);

}  // namespace vellano::screen
