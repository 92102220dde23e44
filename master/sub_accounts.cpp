// SOTCON.DAT, the sub-account line of the causal screen and its lists.
#include "master/sub_accounts.h"

#include <algorithm>
#include <cmath>

#include "records/cp437_text.h"
#include "screen/list_select.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/kit.h"
#include "records/tax_return_codes.h"

namespace vellano::master {
namespace {

constexpr int kRow = 7;
constexpr int kNumberCol = 2;
constexpr int kDescriptionCol = 6;
constexpr int kCodeCol = 42;

bool sortsBelowZero(std::string_view text) { return text.empty() || static_cast<unsigned char>(text[0]) < '0'; }

class SubAccountLine {
 public:
  SubAccountLine(screen::Session& session, SubAccounts& accounts)
      : session_(session), accounts_(accounts), colours_(screen::screenColours(session.context())) {}

  SubAccountExit run();

 private:
  enum class Step { Number, Description, Code, Up, Esc };
  Step askNumber();
  Step askDescription();
  Step askCode();
  void show(int n);
  int chooseFromCatalogue(bool byDescription, std::string_view current);
  void showLegend(std::string_view legendText) { session_.panel.show(session_.console.screen(), legendText); }

  screen::Session& session_;
  SubAccounts& accounts_;
  screen::ScreenColours colours_;
  int current_ = 0;
  std::string description_;  // typed so far for the slot on show
  std::string code_;
};

void SubAccountLine::show(int n) {
  platform::ScreenBuffer& screen = session_.console.screen();
  const SubAccount& a = accounts_[n];
  screen.putText(kRow, kNumberCol, records::printUsing("###", n), colours_.text);
  screen.putText(kRow, kDescriptionCol, records::fitLeft(a.description, 35), colours_.text);
  screen.putText(kRow, kCodeCol, records::fitLeft(a.code, 20), colours_.text);
}

SubAccountLine::Step SubAccountLine::askNumber() {
  showLegend(screen::legend("", "", "", "", "", "", "", "", "Ricerca", screen::kPageNote));
  for (;;) {
    screen::FieldResult r = screen::editField(session_, {kRow, kNumberCol, 3, "10000000101", 1}, "");
    int n = 0;
    switch (r.exitCode) {
      case screen::kExitUp: return Step::Up;
      case screen::kExitEsc: return Step::Esc;
      case 9: {
        int chosen = screen::selectFromList(session_.console, subAccountListEntries(accounts_),
                                           current_ > 0 ? current_ : 1, screen::searchListWindow(), "",
                                           screen::kSearchHighlight);
        if (chosen < 1) continue;
        n = chosen;
        break;
      }
      case screen::kExitPageUp: n = current_ > 1 ? current_ - 1 : 1; break;
      case screen::kExitPageDown: n = current_ < kSubAccountsPerCausal ? current_ + 1 : kSubAccountsPerCausal; break;
      case screen::kExitEnter: {
        const double v = records::val(r.text);
        if (v == 0) {
          n = accounts_.firstFree();
          if (n == 0) continue;  // every slot has a code
        } else if (v < 1 || v > kSubAccountsPerCausal || v != std::floor(v)) {
          session_.console.beep();
          continue;
        } else {
          n = static_cast<int>(v);
        }
        break;
      }
      default: continue;
    }
    current_ = n;
    show(n);
    description_ = accounts_[n].description;
    code_ = accounts_[n].code;
    return Step::Description;
  }
}

SubAccountLine::Step SubAccountLine::askDescription() {
  showLegend(screen::legend("", "", "", "", "", "", "", "", "", screen::kPageNote));
  for (;;) {
    screen::FieldResult r = screen::editField(session_, {kRow, kDescriptionCol, -35, "00000000001", 1}, description_);
    switch (r.exitCode) {
      case screen::kExitUp: return Step::Number;
      case screen::kExitEsc:
        show(current_);
        return Step::Number;
      case screen::kExitPageUp:
      case screen::kExitPageDown: {
        const int n = r.exitCode == screen::kExitPageUp ? std::max(1, current_ - 1)
                                                       : std::min(kSubAccountsPerCausal, current_ + 1);
        show(current_);
        current_ = n;
        show(n);
        description_ = accounts_[n].description;
        code_ = accounts_[n].code;
        continue;
      }
      case screen::kExitEnter:
        description_ = records::trimRight(r.text);
        return Step::Code;
      default: continue;
    }
  }
}

int SubAccountLine::chooseFromCatalogue(bool byDescription, std::string_view current) {
  const int found = records::findTaxReturnCode(records::trim(current));
  return screen::selectFromList(session_.console, byDescription ? catalogueByDescription() : catalogueByCode(),
                               found > 0 ? found : 1, screen::searchListWindow(),
                               byDescription ? catalogueByDescriptionHeading() : catalogueByCodeHeading(),
                               screen::kSearchHighlight);
}

SubAccountLine::Step SubAccountLine::askCode() {
  showLegend(screen::legend("", "", "", "", "", "", "", "Ric Descr", "Ric Codice"));
  std::string typed = code_;
  for (;;) {
    screen::FieldResult r = screen::editField(session_, {kRow, kCodeCol, -20, "10000001100", 0}, typed);
    switch (r.exitCode) {
      case screen::kExitUp:
        code_ = records::trimRight(r.text);
        return Step::Description;
      case screen::kExitEsc:
        show(current_);
        return Step::Number;
      case 8:
      case 9: {
        typed = records::trimRight(r.text);
        const int chosen = chooseFromCatalogue(r.exitCode == 8, typed);
        if (chosen > 0) typed = records::left(records::storedTaxCode(chosen), records::kTaxCodeWidth);
        continue;
      }
      case screen::kExitEnter: {
        SubAccount& slot = accounts_[current_];
        slot.description = description_;
        slot.code = records::trimRight(r.text);
        writeSubAccount(session_.catalogue, accounts_.causal(), current_, slot);
        show(current_);
        return Step::Number;
      }
      default: continue;
    }
  }
}

SubAccountExit SubAccountLine::run() {
  Step step = Step::Number;
  for (;;) {
    switch (step) {
      case Step::Number: step = askNumber(); break;
      case Step::Description: step = askDescription(); break;
      case Step::Code: step = askCode(); break;
      case Step::Up: return SubAccountExit::Up;
      case Step::Esc: return SubAccountExit::Esc;
    }
  }
}

}  // namespace

std::vector<std::string> subAccountListEntries(const SubAccounts& accounts) {
  std::vector<std::string> entries;
  entries.reserve(kSubAccountsPerCausal);
  for (int n = 1; n <= kSubAccountsPerCausal; ++n) {
    const SubAccount& a = accounts[n];
    entries.push_back(records::printUsing("###", n) + " " +
                      (sortsBelowZero(a.description) ? screen::dots(40) : records::fitLeft(a.description, 35)) + " " +
                      (sortsBelowZero(a.code) ? screen::dots(20) : records::fitLeft(a.code, 20)));
  }
  return entries;
}

void drawSubAccountLine(screen::Session& session) {
  platform::ScreenBuffer& screen = session.console.screen();
  const std::uint8_t attr = screen::screenColours(session.context()).text;
  screen.putText(kRow, kNumberCol, screen::dots(3), attr);
  screen.putText(kRow, kNumberCol + 3, " ", attr);
  screen.putText(kRow, kDescriptionCol, screen::dots(35), attr);
  screen.putText(kRow, kDescriptionCol + 35, " ", attr);
  screen.putText(kRow, kCodeCol, screen::dots(20), attr);
}

SubAccountExit editSubAccounts(screen::Session& session, SubAccounts& accounts) {
  return SubAccountLine(session, accounts).run();
}

}  // namespace vellano::master
