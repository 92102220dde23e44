// The two colour schemes.
#include "screen/palette.h"

namespace vellano::screen {
namespace {

constexpr Palette kColour{
    .background = 0x70,
    .banner = 0x7F,
    .menuInterior = 0x1F,
    .menuBorder = 0x1E,
    .menuTitle = 0x1E,
    .menuSelected = 0x4F,
    .menuHot = 0x0E,
    .shadow = 0x08,
    .errorInterior = 0xC1,
    .errorBorder = 0xCF,
    .errorTitle = 0xCE,
    .fieldEditing = 0x1F,
};

// Monochrome screens: only black, greys and white, so every text stays readable.
constexpr Palette kMono{
    .background = 0x70,
    .banner = 0x7F,
    .menuInterior = 0x07,
    .menuBorder = 0x0F,
    .menuTitle = 0x0F,
    .menuSelected = 0x70,
    .menuHot = 0x0F,
    .shadow = 0x08,
    .errorInterior = 0x70,
    .errorBorder = 0x70,
    .errorTitle = 0x70,
    .fieldEditing = 0x70,
};

}  // namespace

const Palette& palette(char scheme) { return scheme == 'M' ? kMono : kColour; }

}  // namespace vellano::screen
