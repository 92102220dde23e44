// What both programs draw behind their menus: the console title, the background with the
// product lettering, the "Codice" box, the year and the function-key panel.
#pragma once

#include <string>
#include <string_view>

#include "records/context.h"
#include "screen/function_keys.h"
#include "platform/screen_buffer.h"

namespace vellano::programs {

// ":: Vellano 10 W <version> :: dd/mm/yy - ## <label> ~<host folder>~ [ Azienda: <ext>  <name>
// ] .<PROGRAM>. [<terminal>]"
std::string consoleTitle(const records::Context& context, std::string_view program);

// The function-key layout the host settings ask for (field 7 of DATA.DAT "2": the grid).
screen::FunctionKeyLayout functionKeyLayout(const records::Context& context);

// Clears the background, draws the lettering, the "Codice" box, the year and the panel.
void drawProgramScreen(platform::ScreenBuffer& screen, const records::Context& context,
                       const screen::FunctionKeyPanel& panel, std::string_view legend);

}  // namespace vellano::programs
