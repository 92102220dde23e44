// Parameters and working date.
#include "programs/settings_screens.h"

#include "records/catalogue.h"
#include "records/dates.h"
#include "screen/palette.h"
#include "records/startup_context.h"
#include "records/text.h"
#include "screen/window.h"

namespace vellano::programs {
namespace {

constexpr std::uint8_t kSettingsTextAttr = 0xB0;  // black on light cyan

screen::WindowDescriptor settingsWindow(int bottom, int right) {
  return screen::windowAt(1, 1, bottom, right).framed(0).titled(1).shadowed(2, 0x08).coloured(0xB0, 0xC0, 0xCF);
}

char shownAnswer(char stored) { return stored == 'S' || stored == 'N' ? stored : 'N'; }

// One "S"/"N" answer at (row, 43). Returns the exit code; `answer` holds the letter on Enter.
int askYesNo(screen::Session& session, int row, char& answer) {
  screen::FieldEditor& editor = session.editor;
  for (;;) {
    session.console.setCursor(row, 43);
    editor.setCapitals(true);
    screen::FieldResult r = editor.edit(-1, std::string(1, answer));
    if (r.exitCode != screen::kExitEnter) return r.exitCode;
    std::string typed = records::trim(r.text);
    if (typed == "S" || typed == "N") {
      answer = typed[0];
      return screen::kExitEnter;
    }
    session.console.beep();
  }
}

}  // namespace

bool runParametersScreen(screen::Session& session) {
  records::Context& context = session.context();
  screen::Window window(session.console.screen(), settingsWindow(25, 80), "PARAMETRI");
  platform::ScreenBuffer& screen = session.console.screen();
  screen.putText(3, 3, "Archivio Clienti/Fornitori unico [S/N]:", kSettingsTextAttr);
  screen.putText(5, 3, "Tabelle IVA complete             [S/N]:", kSettingsTextAttr);
  session.editor.setColours(screen::palette(context.install.colourScheme).fieldEditing, kSettingsTextAttr);

  char shared = shownAnswer(context.sharedCustomerArchive);
  char fullTables = shownAnswer(context.fullVatTables);
  screen.put(3, 43, static_cast<std::uint8_t>(shared), kSettingsTextAttr);
  screen.put(5, 43, static_cast<std::uint8_t>(fullTables), kSettingsTextAttr);

  int field = 1;
  while (field <= 2) {
    int code = askYesNo(session, field == 1 ? 3 : 5, field == 1 ? shared : fullTables);
    if (code == screen::kExitEsc) return false;
    if (code == screen::kExitUp) {
      field = 1;
      continue;
    }
    if (code == screen::kExitEnter) ++field;
  }
  context.sharedCustomerArchive = shared;
  context.fullVatTables = fullTables;
  session.catalogue.open(records::channel::kParameters);
  records::W_18(session.catalogue, context);
  session.catalogue.channel(records::channel::kParameters).write(1);
  return true;
}

bool runWorkingDateScreen(screen::Session& session) {
  records::Context& context = session.context();
  platform::ScreenBuffer& screen = session.console.screen();
  session.editor.setColours(screen::palette(context.install.colourScheme).fieldEditing, kSettingsTextAttr);
  for (;;) {
    screen::Window window(screen, settingsWindow(5, 12), "DATA");
    session.console.setCursor(3, 4);
    screen::FieldResult r = session.editor.edit(6, context.workingDate);
    if (r.exitCode == screen::kExitEsc) return false;
    std::string date = records::trim(r.text);
    if (date.empty() || !records::dateValid(date, 0, true)) {
      session.console.beep();
      continue;
    }
    records::changeWorkingDate(session.catalogue, date);
    screen.putText(1, 2, records::dateText(context.workingDate), kSettingsTextAttr);
    screen.putText(1, 12, records::weekdayName(records::weekdayIndex(context.workingDate)), kSettingsTextAttr);
    return true;
  }
}

}  // namespace vellano::programs
