// CAUCON.DAT and the "GESTIONE CAUSALI" screen: code field, the causal's three fields, then
// its sub-accounts. Causals are only appended (count + 1); the count itself can be edited.
#include "master/causals.h"

#include <cmath>

#include "records/cp437_text.h"
#include "screen/list_select.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "screen/print_handover.h"
#include "screen/function_keys.h"
#include "records/text.h"
#include "screen/window.h"
#include "screen/kit.h"
#include "master/sub_accounts.h"

namespace vellano::master {
namespace {

namespace L = causal_layout;
constexpr int kChannel = 6;

char letterOf(const records::Record& record, records::Field f) { return record.text(f)[0]; }

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
  void setCount(int count);
  void showLegend(std::string_view text) { session_.panel.show(screen_, text); }
  void put(int row, int col, std::string_view text) { screen_.putText(row, col, text, colours_.text); }

  screen::Session& session_;
  platform::ScreenBuffer& screen_;
  screen::ScreenColours colours_;
  int count_ = 0;
  int current_ = 0;
  Causal causal_;
  SubAccounts subAccounts_;
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

int CausalScreen::askCode() {
  showLegend(screen::legend("", "", "", "", "", "", "File Unico", "Bilancio", "Ricerca", screen::kPageNote));
  for (;;) {
    screen::FieldResult r = screen::editField(session_, {1, 18, 4, "10000011101", 1}, "");
    switch (r.exitCode) {
      case screen::kExitEsc: return 0;
      case screen::kExitUp:
        editCount();
        continue;
      case 7: screen::handOverToPrintProgram(session_, "2U");
      case 8: screen::handOverToPrintProgram(session_, "2B");
      case 9: {
        if (count_ < 1) {
          session_.console.beep();
          continue;
        }
        const int chosen = screen::selectFromList(session_.console, causalListEntries(session_.catalogue, count_),
                                                 current_ >= 1 && current_ <= count_ ? current_ : 1,
                                                 screen::searchListWindow(), "", screen::kSearchHighlight);
        if (chosen >= 1) return chosen;
        continue;
      }
      case screen::kExitPageUp:
        if (current_ > 1) return current_ - 1;
        continue;
      case screen::kExitPageDown:
        if (current_ < count_) return current_ + 1;
        continue;
      case screen::kExitEnter: {
        const double v = records::val(r.text);
        if (v == 0) return count_ + 1;
        if (v < 1 || v > count_ + 1 || v != std::floor(v)) {
          session_.console.beep();
          continue;
        }
        return static_cast<int>(v);
      }
      default: continue;
    }
  }
}

// The count typed over its display; the screen then starts over with no causal on show.
void CausalScreen::editCount() {
  for (;;) {
    screen::FieldResult r =
        screen::editField(session_, {1, 25, 4, screen::kMaskNone, 0}, count_ > 0 ? std::to_string(count_) : std::string());
    if (r.exitCode == screen::kExitEsc) break;
    if (r.exitCode != screen::kExitEnter) continue;
    const double v = records::val(r.text);
    if (v < 0 || v != std::floor(v)) {
      session_.console.beep();
      continue;
    }
    setCount(static_cast<int>(v));
    break;
  }
  current_ = 0;
  drawScreen();
}

void CausalScreen::showCausal(int n) {
  current_ = n;
  put(1, 18, records::printUsing("####", n));
  causal_ = readCausal(session_.catalogue, n);
  put(2, 18, records::fitLeft(causal_.description, 30));
  put(2, 79, std::string(1, causal_.kind));
  put(3, 79, std::string(1, shownVentilation(causal_.ventilation)));
  subAccounts_.load(session_.catalogue, n);
  drawSubAccountLine(session_);
}

void CausalScreen::editCausal() {
  enum { kDescription, kKind, kVentilation };
  int field = kDescription;
  Causal work = causal_;
  work.ventilation = shownVentilation(work.ventilation);
  for (;;) {
    if (field == kDescription) {
      showLegend(screen::legend("", "", "", "", "", "", "", "", "AnnullaReg", screen::kPageNote));
      screen::FieldResult r = screen::editField(session_, {2, 18, -30, "00000000101", 1}, work.description);
      if (r.exitCode == screen::kExitEsc) return;
      if (r.exitCode == screen::kExitPageUp || r.exitCode == screen::kExitPageDown) {
        const int n = current_ + (r.exitCode == screen::kExitPageUp ? -1 : 1);
        if (n >= 1 && n <= count_) {
          showCausal(n);
          work = causal_;
          work.ventilation = shownVentilation(work.ventilation);
        }
        continue;
      }
      if (r.exitCode != screen::kExitEnter) continue;  // F9 has no effect here
      work.description = records::trimRight(r.text);
      field = kKind;
      continue;
    }

    showLegend(screen::kMainMenuLegend);
    const bool kind = field == kKind;
    screen::FieldResult r = screen::editField(session_, {kind ? 2 : 3, 79, -1, screen::kMaskUp, 0, true},
                                     std::string(1, kind ? work.kind : work.ventilation));
    if (r.exitCode == screen::kExitEsc) return;
    if (r.exitCode == screen::kExitUp) {
      --field;
      continue;
    }
    if (r.exitCode != screen::kExitEnter) continue;
    const std::string letter = records::trim(r.text);
    if (kind ? (letter != "E" && letter != "P") : (letter != "S" && letter != "N")) {
      session_.console.beep();
      continue;
    }
    if (kind) {
      work.kind = letter[0];
      field = kVentilation;
      continue;
    }
    work.ventilation = letter[0];
    // A new causal goes after the last one counted on file now, not when the screen read it.
    records::SaveTransaction transaction(session_.catalogue);
    const bool adding = current_ > count_;
    count_ = records::readCounter(session_.catalogue, records::kCausalCounter);
    if (adding && current_ != count_ + 1) {
      current_ = count_ + 1;
      put(1, 18, records::printUsing("####", current_));
      subAccounts_.load(session_.catalogue, current_);
    }
    writeCausal(session_.catalogue, current_, work);
    causal_ = work;
    if (current_ == count_ + 1) setCount(count_ + 1);
    transaction.commit();
    if (editSubAccounts(session_, subAccounts_) == SubAccountExit::Esc) return;
    // Up from the sub-account number goes back to Ventilazione.
  }
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

void L_6(const records::Catalogue& catalogue, Causal& causal) {
  const records::Record& record = catalogue.channel(kChannel).buffer();
  causal.description = record.trimmed(L::kDescription);
  causal.kind = letterOf(record, L::kKind);
  causal.ventilation = letterOf(record, L::kVentilation);
}

void W_6(records::Catalogue& catalogue, const Causal& causal) {
  records::Record& record = catalogue.channel(kChannel).buffer();
  record.set(L::kDescription, causal.description);
  record.set(L::kKind, std::string(1, causal.kind));
  record.set(L::kVentilation, std::string(1, causal.ventilation));
  record.set(L::kReserved, "");
}

Causal readCausal(records::Catalogue& catalogue, int n) {
  records::openChannel(catalogue, kChannel).read(n);
  Causal causal;
  L_6(catalogue, causal);
  return causal;
}

void writeCausal(records::Catalogue& catalogue, int n, const Causal& causal) {
  records::Channel& channel = records::openChannel(catalogue, kChannel);
  W_6(catalogue, causal);
  channel.write(n);
}

char shownVentilation(char stored) { return stored == 'S' || stored == 'N' ? stored : 'N'; }

std::vector<std::string> causalListEntries(records::Catalogue& catalogue, int count) {
  std::vector<std::string> entries;
  for (int n = 1; n <= count; ++n)
    entries.push_back(records::printUsing("###", n) + " " + records::fitLeft(readCausal(catalogue, n).description, 30));
  return entries;
}

void runCausals(screen::Session& session) { pickCausal(session); }

int pickCausal(screen::Session& session) {
  screen::EditorSettings keep(session.editor);
  return CausalScreen(session).run();
}

}  // namespace vellano::master
