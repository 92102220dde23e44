// The "[S/N]" questions.
#include "entry/confirmation.h"

#include <string>

#include "records/text.h"
#include "screen/kit.h"

namespace vellano::entry {

bool confirmed(screen::Session& session, int row, int col, std::string_view prompt, std::string_view offered) {
  const screen::ScreenColours colours = screen::screenColours(session.context());
  session.console.screen().putText(row, col, prompt, colours.text);
  const screen::FieldSpec answer = screen::textField(row, col + static_cast<int>(prompt.size()), 1).inCapitals();
  for (;;) {
    session.editor.setColours(colours.editing, colours.text);
    const screen::FieldResult r = session.editor.edit(answer, offered);
    if (r.exitCode == screen::kExitEsc) return false;
    if (r.exitCode != screen::kExitEnter) continue;
    const std::string typed = records::trim(r.text);
    if (typed == "S") return true;
    if (typed == "N") return false;
    session.console.beep();
  }
}

}  // namespace vellano::entry
