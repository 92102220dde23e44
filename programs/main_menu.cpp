// Main menu rows and window.
#include "programs/main_menu.h"

#include <algorithm>

#include "screen/palette.h"

namespace vellano::programs {

const std::vector<screen::MenuItem>& entryMenuItems() {
  static const std::vector<screen::MenuItem> items = {
      {"registro Vendite.........", 10, false},
      {"registro Acquisti........", 10, false},
      {"registro coRrispettivi...", 12, false},
      {"", 0, true},
      {"Clienti..................", 1, false},
      {"Fornitori................", 1, false},
      {"cassa e Banche...........", 9, false},
      {"caUsali contabili........", 3, false},
      {"Tabelle IVA..............", 1, false},
      {"", 0, true},
      {"aZzeramento registrazioni", 2, false},
      {"Data.....................", 1, false},
      {"", 0, true},
      {"Parametri................", 1, false},
      {"coPie....................", 3, false},
      {"Stampe--->...............", 1, false},
  };
  return items;
}

screen::WindowDescriptor mainMenuWindow(const std::vector<screen::MenuItem>& items, const records::Context& context) {
  std::size_t width = 0;
  for (const screen::MenuItem& item : items) width = std::max(width, item.separator ? 25 : item.text.size());
  const screen::Palette& colours = screen::palette(context.install.colourScheme);
  screen::WindowDescriptor d;
  d.top = 10;
  d.left = 30;
  d.bottom = static_cast<std::uint8_t>(d.top + items.size() + 1);
  d.right = static_cast<std::uint8_t>(d.left + width + 1);
  d.borderStyle = 1;
  d.shadowPosition = 2;
  d.shadowAttr = colours.shadow;
  d.interiorAttr = colours.menuInterior;
  d.borderAttr = colours.menuBorder;
  d.titleAttr = colours.menuTitle;
  return d;
}

screen::MenuColours mainMenuColours(const records::Context& context) {
  const screen::Palette& colours = screen::palette(context.install.colourScheme);
  return screen::MenuColours{colours.menuInterior, colours.menuSelected, colours.menuHot};
}

}  // namespace vellano::programs
