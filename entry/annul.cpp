// The annul and restore windows.
#include "entry/annul.h"

#include "records/dates.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/window.h"
#include "screen/kit.h"

namespace vellano::entry {
namespace {

constexpr std::string_view kAnnulPrompt = "VUOI ANNULLARE QUESTA RIGA [S/N] : ";
constexpr std::string_view kRestorePrompt = "VUOI RIPRISTINARE QUESTA RIGA [S/N] : ";
constexpr std::string_view kDatePrompt = "Data Registrazione : ";

// Makes sure channel 4 is the registration file of `kind`.
void openRegistrations(records::Catalogue& catalogue, records::RegisterKind kind) {
  const records::RegisterInfo& info = records::registerInfo(kind);
  if (catalogue.channel(4).isOpen() && catalogue.stem(4) == info.stems.registrations) return;
  catalogue.setStem(4, std::string(info.stems.registrations));
  catalogue.open(records::channel::kRegistrations);
}

// "S" true, "N" or ESC false; anything else beeps and is asked again.
bool confirmed(screen::Session& session, int row, int col, std::string_view prompt, std::uint8_t attr) {
  session.console.screen().putText(row, col, prompt, attr);
  const int at = col + static_cast<int>(prompt.size());
  for (;;) {
    session.editor.setColours(screen::screenColours(session.context()).editing, attr);
    const screen::FieldResult r = screen::editField(session, {row, at, -1, screen::kMaskNone, 0, true}, "N");
    if (r.exitCode == screen::kExitEsc) return false;
    if (r.exitCode != screen::kExitEnter) continue;
    const std::string answer = records::trim(r.text);
    if (answer == "S") return true;
    if (answer == "N") return false;
    session.console.beep();
  }
}

bool restoredDateAccepted(const screen::Session& session, std::string_view date) {
  const int workingYear = static_cast<int>(records::val(session.catalogue.context().yearSuffix));
  return records::trim(date).size() == 6 && records::val(date) != 0 && records::dateValid(date, workingYear, false);
}

}  // namespace

std::string annulledDate(std::string_view date) {
  const std::string d = records::fitLeft(records::trimRight(date), 6);
  return "~" + d.substr(1);
}

AnnulResult annulOrRestore(screen::Session& session, records::RegisterKind kind, long number, records::Registration& registration) {
  if (number < 1) return AnnulResult::Unchanged;
  screen::EditorSettings keep(session.editor);
  const records::Context& context = session.context();
  const std::uint8_t attr = screen::screenColours(context).text;
  platform::ScreenBuffer& screen = session.console.screen();
  session.panel.show(screen, screen::legend("", "", "", "", "", "", "", "", ""));

  std::string date;
  if (!registration.annulled()) {
    screen::Window window(screen, screen::screenWindow(context, 8, 9, 12, 48, 0));
    if (!confirmed(session, 10, 11, kAnnulPrompt, attr)) return AnnulResult::Unchanged;
    date = annulledDate(registration.date);
  } else {
    screen::Window window(screen, screen::screenWindow(context, 9, 10, 13, 53, 0));
    if (!confirmed(session, 10, 11, kRestorePrompt, attr)) return AnnulResult::Unchanged;
    screen.putText(12, 11, kDatePrompt, attr);
    const int col = 11 + static_cast<int>(kDatePrompt.size());
    for (;;) {
      session.editor.setColours(screen::screenColours(context).editing, attr);
      const screen::FieldResult r = screen::editField(session, {12, col, 6, screen::kMaskNone, 0, false}, registration.date);
      if (r.exitCode == screen::kExitEsc) return AnnulResult::Unchanged;
      if (r.exitCode != screen::kExitEnter) continue;
      date = records::trim(r.text);
      if (restoredDateAccepted(session, date)) break;
      session.console.beep();
    }
  }
  // Only the date changes: the rest of the record is written back as stored, read inside the
  // save so another terminal's change to it stays.
  records::SaveTransaction transaction(session.catalogue);
  openRegistrations(session.catalogue, kind);
  records::Registration stored = records::readRegistration(session.catalogue, number);
  stored.date = date;
  records::writeRegistration(session.catalogue, number, stored);
  transaction.commit();
  registration.date = date;
  return AnnulResult::Changed;
}

}  // namespace vellano::entry
