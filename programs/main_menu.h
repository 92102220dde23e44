// The menus of the two programs and the window they open in.
#pragma once

#include <vector>

#include "records/context.h"
#include "screen/menu.h"
#include "screen/window.h"

namespace vellano::programs {

// The 16 rows of the entry program's main menu.
const std::vector<screen::MenuItem>& entryMenuItems();

// A menu window with its top-left corner at row 10, column 30, sized to its items.
screen::WindowDescriptor mainMenuWindow(const std::vector<screen::MenuItem>& items, const records::Context& context);
screen::MenuColours mainMenuColours(const records::Context& context);

}  // namespace vellano::programs
