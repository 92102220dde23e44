// SOTCON.DAT, the sub-account line of the causal screen and its lists.
#include "master/sub_accounts.h"

#include <algorithm>
#include <cmath>

#include "frame/cp437_text.h"
#include "frame/list_select.h"
#include "frame/numbers.h"
#include "frame/text.h"
#include "master/causals_fields.h"
#include "master/tax_return_codes.h"

namespace vellano::master {
namespace {

namespace L = sub_account_layout;
constexpr int kChannel = 26;
constexpr int kRow = 7;
constexpr int kNumberCol = 2;
constexpr int kDescriptionCol = 6;
constexpr int kCodeCol = 42;

std::string bar() { return std::string(1, static_cast<char>(0xB3)); }

bool sortsBelowZero(std::string_view text) { return text.empty() || static_cast<unsigned char>(text[0]) < '0'; }

class SubAccountLine {
 public:
  SubAccountLine(frame::Session& session, SubAccounts& accounts)
      : session_(session), accounts_(accounts), colours_(screenColours(session.context())) {}

  SubAccountExit run();

 private:
  enum class Step { Number, Description, Code, Up, Esc };
  Step askNumber();
  Step askDescription();
  Step askCode();
  void show(int n);
  int chooseFromCatalogue(bool byDescription, std::string_view current);
  void showLegend(std::string_view legendText) { session_.panel.show(session_.console.screen(), legendText); }

  frame::Session& session_;
  SubAccounts& accounts_;
  ScreenColours colours_;
  int current_ = 0;
  std::string description_;  // typed so far for the slot on show
  std::string code_;
};

void SubAccountLine::show(int n) {
  platform::ScreenBuffer& screen = session_.console.screen();
  const SubAccount& a = accounts_[n];
  screen.putText(kRow, kNumberCol, frame::printUsing("###", n), colours_.text);
  screen.putText(kRow, kDescriptionCol, frame::fitLeft(a.description, 35), colours_.text);
  screen.putText(kRow, kCodeCol, frame::fitLeft(a.code, 20), colours_.text);
}

SubAccountLine::Step SubAccountLine::askNumber() {
  showLegend(legend("", "", "", "", "", "", "", "", "Ricerca", kPageNote));
  for (;;) {
    frame::FieldResult r = editField(session_, {kRow, kNumberCol, 3, "10000000101", 1}, "");
    int n = 0;
    switch (r.exitCode) {
      case frame::kExitUp: return Step::Up;
      case frame::kExitEsc: return Step::Esc;
      case 9: {
        int chosen = frame::selectFromList(session_.console, subAccountListEntries(accounts_),
                                           current_ > 0 ? current_ : 1, searchListWindow(), "",
                                           kSearchHighlight);
        if (chosen < 1) continue;
        n = chosen;
        break;
      }
      case frame::kExitPageUp: n = current_ > 1 ? current_ - 1 : 1; break;
      case frame::kExitPageDown: n = current_ < kSubAccountsPerCausal ? current_ + 1 : kSubAccountsPerCausal; break;
      case frame::kExitEnter: {
        const double v = frame::val(r.text);
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
  showLegend(legend("", "", "", "", "", "", "", "", "", kPageNote));
  for (;;) {
    frame::FieldResult r = editField(session_, {kRow, kDescriptionCol, -35, "00000000001", 1}, description_);
    switch (r.exitCode) {
      case frame::kExitUp: return Step::Number;
      case frame::kExitEsc:
        show(current_);
        return Step::Number;
      case frame::kExitPageUp:
      case frame::kExitPageDown: {
        const int n = r.exitCode == frame::kExitPageUp ? std::max(1, current_ - 1)
                                                       : std::min(kSubAccountsPerCausal, current_ + 1);
        show(current_);
        current_ = n;
        show(n);
        description_ = accounts_[n].description;
        code_ = accounts_[n].code;
        continue;
      }
      case frame::kExitEnter:
        description_ = frame::trimRight(r.text);
        return Step::Code;
      default: continue;
    }
  }
}

int SubAccountLine::chooseFromCatalogue(bool byDescription, std::string_view current) {
  const int found = findTaxReturnCode(frame::trim(current));
  return frame::selectFromList(session_.console, byDescription ? catalogueByDescription() : catalogueByCode(),
                               found > 0 ? found : 1, searchListWindow(),
                               byDescription ? catalogueByDescriptionHeading() : catalogueByCodeHeading(),
                               kSearchHighlight);
}

SubAccountLine::Step SubAccountLine::askCode() {
  showLegend(legend("", "", "", "", "", "", "", "Ric Descr", "Ric Codice"));
  std::string typed = code_;
  for (;;) {
    frame::FieldResult r = editField(session_, {kRow, kCodeCol, -20, "10000001100", 0}, typed);
    switch (r.exitCode) {
      case frame::kExitUp:
        code_ = frame::trimRight(r.text);
        return Step::Description;
      case frame::kExitEsc:
        show(current_);
        return Step::Number;
      case 8:
      case 9: {
        typed = frame::trimRight(r.text);
        const int chosen = chooseFromCatalogue(r.exitCode == 8, typed);
        if (chosen > 0) typed = frame::left(storedTaxCode(chosen), kTaxCodeWidth);
        continue;
      }
      case frame::kExitEnter: {
        SubAccount& slot = accounts_[current_];
        slot.description = description_;
        slot.code = frame::trimRight(r.text);
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

long subAccountRecord(int causal, int n) {
  return static_cast<long>(causal - 1) * kSubAccountsPerCausal + n;
}

void L_26(const frame::Catalogue& catalogue, SubAccount& account) {
  const frame::Record& record = catalogue.channel(kChannel).buffer();
  account.description = record.trimmed(L::kDescription);
  account.code = record.trimmed(L::kCode);
}

void W_26(frame::Catalogue& catalogue, const SubAccount& account) {
  frame::Record& record = catalogue.channel(kChannel).buffer();
  record.set(L::kDescription, account.description);
  record.set(L::kCode, account.code);
}

void SubAccounts::load(frame::Catalogue& catalogue, int causal) {
  causal_ = causal;
  frame::Channel& channel = openChannel(catalogue, kChannel);
  for (int n = 1; n <= kSubAccountsPerCausal; ++n) {
    channel.read(subAccountRecord(causal, n));
    L_26(catalogue, (*this)[n]);
  }
}

int SubAccounts::firstFree() const {
  for (int n = 1; n <= kSubAccountsPerCausal; ++n) {
    const std::string& code = (*this)[n].code;
    if (code.find_first_not_of(" \0", 0, 2) == std::string::npos) return n;
  }
  return 0;
}

void writeSubAccount(frame::Catalogue& catalogue, int causal, int n, const SubAccount& account) {
  frame::Channel& channel = openChannel(catalogue, kChannel);
  const long record = subAccountRecord(causal, n);
  channel.read(record);
  W_26(catalogue, account);
  channel.write(record);
}

std::vector<std::string> subAccountListEntries(const SubAccounts& accounts) {
  std::vector<std::string> entries;
  entries.reserve(kSubAccountsPerCausal);
  for (int n = 1; n <= kSubAccountsPerCausal; ++n) {
    const SubAccount& a = accounts[n];
    entries.push_back(frame::printUsing("###", n) + " " +
                      (sortsBelowZero(a.description) ? dots(40) : frame::fitLeft(a.description, 35)) + " " +
                      (sortsBelowZero(a.code) ? dots(20) : frame::fitLeft(a.code, 20)));
  }
  return entries;
}

std::vector<std::string> catalogueByDescription() {
  std::vector<std::string> entries;
  entries.reserve(kTaxReturnCodeCount);
  for (int i = 1; i <= static_cast<int>(kTaxReturnCodeCount); ++i)
    entries.push_back(storedTaxDescription(i) + bar() + storedTaxCode(i));
  return entries;
}

std::vector<std::string> catalogueByCode() {
  std::vector<std::string> entries;
  entries.reserve(kTaxReturnCodeCount);
  for (int i = 1; i <= static_cast<int>(kTaxReturnCodeCount); ++i)
    entries.push_back(storedTaxCode(i) + bar() + storedTaxDescription(i));
  return entries;
}

// Padded like the entries so that its bar stands over theirs.
std::string catalogueByDescriptionHeading() {
  return frame::fitLeft("Descrizione", kTaxDescriptionWidth) + bar() + "Codice";
}

std::string catalogueByCodeHeading() { return frame::cp437("Codice │Descrizione"); }

void drawSubAccountLine(frame::Session& session) {
  platform::ScreenBuffer& screen = session.console.screen();
  const std::uint8_t attr = screenColours(session.context()).text;
  screen.putText(kRow, kNumberCol, dots(3), attr);
  screen.putText(kRow, kNumberCol + 3, " ", attr);
  screen.putText(kRow, kDescriptionCol, dots(35), attr);
  screen.putText(kRow, kDescriptionCol + 35, " ", attr);
  screen.putText(kRow, kCodeCol, dots(20), attr);
}

SubAccountExit editSubAccounts(frame::Session& session, SubAccounts& accounts) {
  return SubAccountLine(session, accounts).run();
}

}  // namespace vellano::master
