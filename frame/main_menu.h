// The menus of the two programs and the window they open in.
#pragma once

#include <vector>

#include "frame/context.h"
#include "frame/menu.h"
#include "frame/window.h"

namespace vellano::frame {

// The 16 rows of the entry program's main menu.
const std::vector<MenuItem>& entryMenuItems();

// A menu window with its top-left corner at row 10, column 30, sized to its items.
WindowDescriptor mainMenuWindow(const std::vector<MenuItem>& items, const Context& context);
MenuColours mainMenuColours(const Context& context);

}  // namespace vellano::frame
