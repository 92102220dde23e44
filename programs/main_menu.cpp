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
  const int top = 10, left = 30;
  return screen::windowAt(top, left, top + static_cast<int>(items.size()) + 1, left + static_cast<int>(width) + 1)
      .framed(1)
      .shadowed(2, colours.shadow)
      .coloured(colours.menuInterior, colours.menuBorder, colours.menuTitle);
}

screen::MenuColours mainMenuColours(const records::Context& context) {
  const screen::Palette& colours = screen::palette(context.install.colourScheme);
  return screen::MenuColours{colours.menuInterior, colours.menuSelected, colours.menuHot};
}

}  // namespace vellano::programs
