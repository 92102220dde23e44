// Parameters and working date.
#include "frame/settings_screens.h"

#include "frame/catalogue.h"
#include "frame/dates.h"
#include "frame/palette.h"
#include "frame/startup_context.h"
#include "frame/text.h"
#include "frame/window.h"

namespace vellano::frame {
namespace {

constexpr std::uint8_t kSettingsTextAttr = 0xB0;  // black on light cyan

WindowDescriptor settingsWindow(int bottom, int right) {
  WindowDescriptor d;
  d.top = 1;
  d.left = 1;
  d.bottom = static_cast<std::uint8_t>(bottom);
  d.right = static_cast<std::uint8_t>(right);
  d.borderStyle = 0;
  d.titlePosition = 1;
  d.shadowPosition = 2;
  d.shadowAttr = 0x08;
  d.interiorAttr = 0xB0;
  d.borderAttr = 0xC0;
  d.titleAttr = 0xCF;
  return d;
}

char shownAnswer(char stored) { return stored == 'S' || stored == 'N' ? stored : 'N'; }

// One "S"/"N" answer at (row, 43). Returns the exit code; `answer` holds the letter on Enter.
int askYesNo(Session& session, int row, char& answer) {
  FieldEditor& editor = session.editor;
  for (;;) {
    session.console.setCursor(row, 43);
    editor.setCapitals(true);
    FieldResult r = editor.edit(-1, std::string(1, answer));
    if (r.exitCode != kExitEnter) return r.exitCode;
    std::string typed = trim(r.text);
    if (typed == "S" || typed == "N") {
      answer = typed[0];
      return kExitEnter;
    }
    session.console.beep();
  }
}

}  // namespace

bool runParametersScreen(Session& session) {
  Context& context = session.context();
  Window window(session.console.screen(), settingsWindow(25, 80), "PARAMETRI");
  platform::ScreenBuffer& screen = session.console.screen();
  screen.putText(3, 3, "Archivio Clienti/Fornitori unico [S/N]:", kSettingsTextAttr);
  screen.putText(5, 3, "Tabelle IVA complete             [S/N]:", kSettingsTextAttr);
  session.editor.setColours(palette(context.install.colourScheme).fieldEditing, kSettingsTextAttr);

  char shared = shownAnswer(context.sharedCustomerArchive);
  char fullTables = shownAnswer(context.fullVatTables);
  screen.put(3, 43, static_cast<std::uint8_t>(shared), kSettingsTextAttr);
  screen.put(5, 43, static_cast<std::uint8_t>(fullTables), kSettingsTextAttr);

  int field = 1;
  while (field <= 2) {
    int code = askYesNo(session, field == 1 ? 3 : 5, field == 1 ? shared : fullTables);
    if (code == kExitEsc) return false;
    if (code == kExitUp) {
      field = 1;
      continue;
    }
    if (code == kExitEnter) ++field;
  }
  context.sharedCustomerArchive = shared;
  context.fullVatTables = fullTables;
  session.catalogue.O_18();
  W_18(session.catalogue, context);
  session.catalogue.channel(18).write(1);
  return true;
}

bool runWorkingDateScreen(Session& session) {
  Context& context = session.context();
  platform::ScreenBuffer& screen = session.console.screen();
  session.editor.setColours(palette(context.install.colourScheme).fieldEditing, kSettingsTextAttr);
  for (;;) {
    Window window(screen, settingsWindow(5, 12), "DATA");
    session.console.setCursor(3, 4);
    FieldResult r = session.editor.edit(6, context.workingDate);
    if (r.exitCode == kExitEsc) return false;
    std::string date = trim(r.text);
    if (date.empty() || !dateValid(date, 0, true)) {
      session.console.beep();
      continue;
    }
    changeWorkingDate(session.catalogue, date);
    screen.putText(1, 2, dateText(context.workingDate), kSettingsTextAttr);
    screen.putText(1, 12, weekdayName(weekdayIndex(context.workingDate)), kSettingsTextAttr);
    return true;
  }
}

}  // namespace vellano::frame
