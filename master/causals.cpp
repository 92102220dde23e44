// CAUCON.DAT and the "GESTIONE CAUSALI" screen: code field, the causal's three fields, then
// its sub-accounts. Causals are only appended (count + 1); the count itself can be edited.
#include "master/causals.h"

#include <optional>

#include "records/cp437_text.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/function_keys.h"
#include "screen/kit.h"
#include "screen/list_select.h"
#include "screen/print_handover.h"
#include "screen/window.h"
#include "master/sub_accounts.h"
#include "records/cp437_text.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/field_sequence.h"
#include "screen/function_keys.h"
#include "screen/glyphs.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/print_handover.h"
#include "screen/record_picker.h"
#include "screen/window.h"

namespace vellano::master {
namespace {

constexpr int kChannel = records::channel::kCausals;

using screen::FieldSpec;
using screen::Go;
using screen::kExitEnter;
using screen::kExitF7;
using screen::kExitF8;
using screen::kExitF9;
using screen::kExitPageDown;
using screen::kExitPageUp;
using screen::kExitUp;
using screen::PageKeys;

// Up in the code field edits the count; F7 and F8 hand over to the print program.
constexpr FieldSpec kCodeField = screen::numericField(1, 18, 4)
                                     .withKeys({kExitUp, kExitF7, kExitF8, kExitF9, kExitPageUp})
                                     .withPageKeys(PageKeys::PgUpPgDn);
constexpr FieldSpec kCountField = screen::numericField(1, 25, 4);
// F9 ends the description but does nothing yet.
constexpr FieldSpec kDescriptionField =
    screen::textField(2, 18, 30).withKeys({kExitF9, kExitPageUp}).withPageKeys(PageKeys::PgUpPgDn);
constexpr FieldSpec kKindField = screen::textField(2, 79, 1).withKeys({kExitUp}).inCapitals();
constexpr FieldSpec kVentilationField = screen::textField(3, 79, 1).withKeys({kExitUp}).inCapitals();

class CausalScreen {
 public:
  explicit CausalScreen(screen::Session& session)
      : session_(session), screen_(session.console.screen()), colours_(screen::screenColours(session.context())) {}

  int run();

 private:
  void drawScreen();
  void showCount() { put(1, 25, records::printUsing("####", count_)); }
  int askCode();  // 0: leave the screen
  void editCount();
  void showCausal(int n);
  void editCausal();
  Go editDescription(records::Causal& work);
  Go editLetter(const FieldSpec& field, std::string_view allowed, char& letter);
  void setCount(int count);
  void showLegend(std::string_view text) { session_.panel.show(screen_, text); }
  void put(int row, int col, std::string_view text) { screen_.putText(row, col, text, colours_.text); }

  screen::Session& session_;
  platform::ScreenBuffer& screen_;
  screen::ScreenColours colours_;
  int count_ = 0;
  int current_ = 0;
  records::Causal causal_;
  records::SubAccounts subAccounts_;
};

void CausalScreen::drawScreen() {
  put(1, 1, " Codice Causale: " + screen::dots(4) + " [ " + screen::dots(4) + " ]");
  showCount();
  put(2, 2, " Causale/Conto: " + screen::dots(30) + " Economico/Patrimoniale [E/P]: " + screen::dots(1));
  put(3, 2, std::string(47, ' ') + "Ventilazione           [S/N]: " + screen::dots(1));
  put(5, 2, records::cp437("   Sottoconto                           Codice Modello Unico │"));
  drawSubAccountLine(session_);
}

void CausalScreen::setCount(int count) {
  count_ = count;
  records::writeCounter(session_.catalogue, records::kCausalCounter, count_);
  session_.context().causalCount = static_cast<float>(count_);
  showCount();
}

// Up leaves the picker for the count and comes back to a fresh one: the count it knew is gone.
int CausalScreen::askCode() {
  showLegend(screen::legend({{7, "File Unico"}, {8, "Bilancio"}, {9, "Ricerca"}}, screen::kPageNote));
  for (;;) {
    screen::RecordPicker picker;
    picker.field = kCodeField;
    picker.count = count_;
    picker.current = current_;
    picker.list = [this] { return records::causalListEntries(session_.catalogue, count_); };
    picker.pageKeys = true;
    picker.onKey = [this](int exitCode) -> std::optional<int> {
      if (exitCode == kExitF7) screen::handOverToPrintProgram(session_, "2U");
      if (exitCode == kExitF8) screen::handOverToPrintProgram(session_, "2B");
      if (exitCode == kExitUp) return 0;
      return std::nullopt;
    };
    const screen::Pick pick = screen::pickRecord(session_, picker);
    if (pick.exitCode != kExitUp) return pick.record;
    editCount();
  }
}

// The count typed over its display; the screen then starts over with no causal on show.
void CausalScreen::editCount() {
  for (;;) {
    const screen::FieldResult r =
        session_.editor.edit(kCountField, count_ > 0 ? std::to_string(count_) : std::string());
    if (r.exitCode == screen::kExitEsc) break;
    if (r.exitCode != kExitEnter) continue;
    // Any whole number the four places hold.
    const long count = records::wholeNumberIn(records::val(r.text), 0, 9999);
    if (count < 0) {
      session_.console.beep();
      continue;
    }
    setCount(static_cast<int>(count));
    break;
  }
  current_ = 0;
  drawScreen();
}

void CausalScreen::showCausal(int n) {
  current_ = n;
  put(1, 18, records::printUsing("####", n));
  causal_ = records::readCausal(session_.catalogue, n);
  put(2, 18, records::fitLeft(causal_.description, 30));
  put(2, 79, std::string(1, causal_.kind));
  put(3, 79, std::string(1, shownVentilation(causal_.ventilation)));
  subAccounts_.load(session_.catalogue, n);
  drawSubAccountLine(session_);
}

// The page keys show the neighbouring causal, still within 1..count, for editing instead.
Go CausalScreen::editDescription(records::Causal& work) {
  showLegend(screen::legend({{9, "AnnullaReg"}}, screen::kPageNote));
  const screen::FieldResult r = session_.editor.edit(kDescriptionField, work.description);
  if (r.exitCode == kExitPageUp || r.exitCode == kExitPageDown) {
    const int n = current_ + (r.exitCode == kExitPageUp ? -1 : 1);
    if (n >= 1 && n <= count_) {
      showCausal(n);
      work = causal_;
      work.ventilation = shownVentilation(work.ventilation);
    }
    return Go::again();
  }
  if (r.exitCode == kExitEnter) work.description = records::trimRight(r.text);
  return screen::goFor(r.exitCode);
}

// One letter of `allowed`; anything else beeps and is asked again.
Go CausalScreen::editLetter(const FieldSpec& field, std::string_view allowed, char& letter) {
  showLegend(screen::kMainMenuLegend);
  const screen::FieldResult r = session_.editor.edit(field, std::string(1, letter));
  if (r.exitCode != kExitEnter) return screen::goFor(r.exitCode);
  const std::string typed = records::trim(r.text);
  if (typed.size() != 1 || allowed.find(typed[0]) == std::string_view::npos) {
    session_.console.beep();
    return Go::again();
  }
  letter = typed[0];
  return Go::next();
}

// The causal is written once Ventilazione is typed; then its sub-accounts, from which Up comes
// back to Ventilazione and ESC ends the causal.
void CausalScreen::editCausal() {
  records::Causal work = causal_;
  work.ventilation = shownVentilation(work.ventilation);
  screen::runSequence({
      [&] { return editDescription(work); },
      [&] { return editLetter(kKindField, "EP", work.kind); },
      [&] {
        const Go go = editLetter(kVentilationField, "SN", work.ventilation);
        if (go != Go::next()) return go;
        {
          // A new causal goes after the last one counted on file now, not when the screen read it.
          records::SaveTransaction transaction(session_.catalogue);
          const bool adding = current_ > count_;
          count_ = records::readCounter(session_.catalogue, records::kCausalCounter);
          if (adding && current_ != count_ + 1) {
            current_ = count_ + 1;
            put(1, 18, records::printUsing("####", current_));
            subAccounts_.load(session_.catalogue, current_);
          }
          records::writeCausal(session_.catalogue, current_, work);
          causal_ = work;
          if (current_ == count_ + 1) setCount(count_ + 1);
          transaction.commit();
        }
        return editSubAccounts(session_, subAccounts_) == SubAccountExit::Esc ? Go::finish() : Go::again();
      },
  });
}

int CausalScreen::run() {
  records::Catalogue& catalogue = session_.catalogue;
  records::openChannel(catalogue, kChannel);
  count_ = records::readCounter(catalogue, records::kCausalCounter);
  session_.context().causalCount = static_cast<float>(count_);
  screen::Window window(screen_, screen::screenWindow(session_.context(), 1, 1, 10, 81, 5), "GESTIONE CAUSALI");
  session_.editor.setColours(colours_.editing, colours_.text);
  drawScreen();
  for (;;) {
    const int n = askCode();
    if (n == 0) return current_;
    showCausal(n);
    editCausal();
  }
}

}  // namespace

char shownVentilation(char stored) { return stored == 'S' || stored == 'N' ? stored : 'N'; }

void runCausals(screen::Session& session) { pickCausal(session); }

int pickCausal(screen::Session& session) {
  screen::EditorKeysKept keep(session.editor);
  return CausalScreen(session).run();
}

}  // namespace vellano::master
