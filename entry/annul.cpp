// The annul and restore windows.
#include "entry/annul.h"

#include "frame/dates.h"
#include "frame/numbers.h"
#include "frame/text.h"
#include "frame/window.h"
#include "master/causals_fields.h"

namespace vellano::entry {
namespace {

constexpr std::string_view kAnnulPrompt = "VUOI ANNULLARE QUESTA RIGA [S/N] : ";
constexpr std::string_view kRestorePrompt = "VUOI RIPRISTINARE QUESTA RIGA [S/N] : ";
constexpr std::string_view kDatePrompt = "Data Registrazione : ";

// Makes sure channel 4 is the registration file of `kind`.
void openRegistrations(frame::Catalogue& catalogue, RegisterKind kind) {
  const RegisterInfo& info = registerInfo(kind);
  if (catalogue.channel(4).isOpen() && catalogue.stem(4) == info.stems.registrations) return;
  catalogue.setStem(4, std::string(info.stems.registrations));
  catalogue.O_4();
}

// "S" true, "N" or ESC false; anything else beeps and is asked again.
bool confirmed(frame::Session& session, int row, int col, std::string_view prompt, std::uint8_t attr) {
  session.console.screen().putText(row, col, prompt, attr);
  const int at = col + static_cast<int>(prompt.size());
  for (;;) {
    session.editor.setColours(master::screenColours(session.context()).editing, attr);
    const frame::FieldResult r = master::editField(session, {row, at, -1, master::kMaskNone, 0, true}, "N");
    if (r.exitCode == frame::kExitEsc) return false;
    if (r.exitCode != frame::kExitEnter) continue;
    const std::string answer = frame::trim(r.text);
    if (answer == "S") return true;
    if (answer == "N") return false;
    session.console.beep();
  }
}

bool restoredDateAccepted(const frame::Session& session, std::string_view date) {
  const int workingYear = static_cast<int>(frame::val(session.catalogue.context().yearSuffix));
  return frame::trim(date).size() == 6 && frame::val(date) != 0 && frame::dateValid(date, workingYear, false);
}

}  // namespace

std::string annulledDate(std::string_view date) {
  const std::string d = frame::fitLeft(frame::trimRight(date), 6);
  return "~" + d.substr(1);
}

AnnulResult annulOrRestore(frame::Session& session, RegisterKind kind, long number, Registration& registration) {
  if (number < 1) return AnnulResult::Unchanged;
  master::EditorSettings keep(session.editor);
  const frame::Context& context = session.context();
  const std::uint8_t attr = master::screenColours(context).text;
  platform::ScreenBuffer& screen = session.console.screen();
  session.panel.show(screen, master::legend("", "", "", "", "", "", "", "", ""));

  std::string date;
  if (!registration.annulled()) {
    frame::Window window(screen, master::screenWindow(context, 8, 9, 12, 48, 0));
    if (!confirmed(session, 10, 11, kAnnulPrompt, attr)) return AnnulResult::Unchanged;
    date = annulledDate(registration.date);
  } else {
    frame::Window window(screen, master::screenWindow(context, 9, 10, 13, 53, 0));
    if (!confirmed(session, 10, 11, kRestorePrompt, attr)) return AnnulResult::Unchanged;
    screen.putText(12, 11, kDatePrompt, attr);
    const int col = 11 + static_cast<int>(kDatePrompt.size());
    for (;;) {
      session.editor.setColours(master::screenColours(context).editing, attr);
      const frame::FieldResult r = master::editField(session, {12, col, 6, master::kMaskNone, 0, false}, registration.date);
      if (r.exitCode == frame::kExitEsc) return AnnulResult::Unchanged;
      if (r.exitCode != frame::kExitEnter) continue;
      date = frame::trim(r.text);
      if (restoredDateAccepted(session, date)) break;
      session.console.beep();
    }
  }
  // Only the date changes: the rest of the record is written back as stored.
  openRegistrations(session.catalogue, kind);
  Registration stored = readRegistration(session.catalogue, number);
  stored.date = date;
  writeRegistration(session.catalogue, number, stored);
  registration.date = date;
  return AnnulResult::Changed;
}

}  // namespace vellano::entry
