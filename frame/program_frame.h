// What both programs draw behind their menus: the console title, the background with the
// product lettering, the "Codice" box, the year and the function-key panel.
#pragma once

#include <string>
#include <string_view>

#include "frame/context.h"
#include "frame/function_keys.h"
#include "platform/screen_buffer.h"

namespace vellano::frame {

// Legend of the main menus: every key blank.
inline constexpr std::string_view kMainMenuLegend =
    "1          |2          |3          |4          |5          |6          |7          |8          |9          |          |          ";

// ":: Vellano 10 W <version> :: dd/mm/yy - ## <label> ~<host folder>~ [ Azienda: <ext>  <name>
// ] .<PROGRAM>. [<terminal>]"
std::string consoleTitle(const Context& context, std::string_view program);

// The function-key layout the host settings ask for (field 7 of DATA.DAT "2": the grid).
FunctionKeyLayout functionKeyLayout(const Context& context);

// Clears the background, draws the lettering, the "Codice" box, the year and the panel.
void drawProgramScreen(platform::ScreenBuffer& screen, const Context& context,
                       const FunctionKeyPanel& panel, std::string_view legend);

}  // namespace vellano::frame
