// The annul and restore windows.
#include "entry/annul.h"

#include "entry/confirmation.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/window.h"

namespace vellano::entry {
namespace {

constexpr std::string_view kAnnulPrompt = "VUOI ANNULLARE QUESTA RIGA [S/N] : ";
constexpr std::string_view kRestorePrompt = "VUOI RIPRISTINARE QUESTA RIGA [S/N] : ";
constexpr std::string_view kDatePrompt = "Data Registrazione : ";

// Makes sure channel 4 is the registration file of `kind`.
void openRegistrations(records::Catalogue& catalogue, records::RegisterKind kind) {
  const records::RegisterInfo& info = records::registerInfo(kind);
  if (catalogue.channel(records::channel::kRegistrations).isOpen() &&
      catalogue.stem(records::channel::kRegistrations) == info.stems.registrations)
    return;
  catalogue.setStem(records::channel::kRegistrations, std::string(info.stems.registrations));
  catalogue.open(records::channel::kRegistrations);
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
  const records::Context& context = session.context();
  const screen::ScreenColours colours = screen::screenColours(context);
  platform::ScreenBuffer& screen = session.console.screen();
  session.panel.show(screen, screen::legend({}));

  std::string date;
  if (!registration.annulled()) {
    screen::Window window(screen, screen::screenWindow(context, 8, 9, 12, 48, 0));
    if (!confirmed(session, 10, 11, kAnnulPrompt, "N")) return AnnulResult::Unchanged;
    date = annulledDate(registration.date);
  } else {
    screen::Window window(screen, screen::screenWindow(context, 9, 10, 13, 53, 0));
    if (!confirmed(session, 10, 11, kRestorePrompt, "N")) return AnnulResult::Unchanged;
    screen.putText(12, 11, kDatePrompt, colours.text);
    const screen::FieldSpec dateField = screen::numericField(12, 11 + static_cast<int>(kDatePrompt.size()), 6);
    for (;;) {
      session.editor.setColours(colours.editing, colours.text);
      const screen::FieldResult r = session.editor.edit(dateField, registration.date);
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
