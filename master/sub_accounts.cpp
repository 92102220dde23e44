// SOTCON.DAT, the sub-account line of the causal screen and its lists.
#include "master/sub_accounts.h"

#include <algorithm>
#include <optional>

#include "records/cp437_text.h"
#include "records/numbers.h"
#include "records/tax_return_codes.h"
#include "records/text.h"
#include "screen/field_sequence.h"
#include "screen/glyphs.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/list_select.h"
#include "screen/record_picker.h"

namespace vellano::master {
namespace {

constexpr int kChannel = records::channel::kSubAccounts;
constexpr int kRow = 7;
constexpr int kNumberCol = 2;
constexpr int kDescriptionCol = 6;
constexpr int kCodeCol = 42;

using screen::FieldSpec;
using screen::Go;
using screen::kExitEnter;
using screen::kExitEsc;
using screen::kExitF8;
using screen::kExitF9;
using screen::kExitPageDown;
using screen::kExitPageUp;
using screen::kExitUp;
using screen::PageKeys;
using screen::bar;  // between code and description in the catalogue lists

// Up in the number goes back to the causal; F8/F9 in the code search the code catalogue.
constexpr FieldSpec kNumberField = screen::numericField(kRow, kNumberCol, 3)
                                       .withKeys({kExitUp, kExitF9, kExitPageUp})
                                       .withPageKeys(PageKeys::PgUpPgDn);
constexpr FieldSpec kDescriptionField =
    screen::textField(kRow, kDescriptionCol, 35).withKeys({kExitPageUp}).withPageKeys(PageKeys::PgUpPgDn);
constexpr FieldSpec kCodeField = screen::textField(kRow, kCodeCol, 20).withKeys({kExitUp, kExitF8, kExitF9});

// The steps of the line, in the order they are typed.
enum Step { kNumberStep, kDescriptionStep, kCodeStep };

bool sortsBelowZero(std::string_view text) { return text.empty() || static_cast<unsigned char>(text[0]) < '0'; }

class SubAccountLine {
 public:
  SubAccountLine(screen::Session& session, records::SubAccounts& accounts)
      : session_(session), accounts_(accounts), colours_(screen::screenColours(session.context())) {}

  SubAccountExit run();

 private:
  Go askNumber();
  Go askDescription();
  Go askCode();
  void show(int n);
  void choose(int n);
  // The slot a page key moves to: the neighbour, held within 1..100.
  int neighbour(int exitCode) const;
  int chooseFromCatalogue(bool byDescription, std::string_view current);
  void showLegend(std::string_view legendText) { session_.panel.show(session_.console.screen(), legendText); }

  screen::Session& session_;
  records::SubAccounts& accounts_;
  screen::ScreenColours colours_;
  int current_ = 0;
  std::string description_;  // typed so far for the slot on show
  std::string code_;
};

void SubAccountLine::show(int n) {
  platform::ScreenBuffer& screen = session_.console.screen();
  const records::SubAccount& a = accounts_[n];
  screen.putText(kRow, kNumberCol, records::printUsing("###", n), colours_.text);
  screen.putText(kRow, kDescriptionCol, records::fitLeft(a.description, 35), colours_.text);
  screen.putText(kRow, kCodeCol, records::fitLeft(a.code, 20), colours_.text);
}

// Slot n on show, its fields as stored.
void SubAccountLine::choose(int n) {
  current_ = n;
  show(n);
  description_ = accounts_[n].description;
  code_ = accounts_[n].code;
}

int SubAccountLine::neighbour(int exitCode) const {
  return exitCode == kExitPageUp ? std::max(1, current_ - 1) : std::min(records::kSubAccountsPerCausal, current_ + 1);
}

// Every slot may be typed or listed; 0 or a blank takes the first without a code (none: the
// number is asked again). Page keys never leave the 100 slots.
Go SubAccountLine::askNumber() {
  showLegend(screen::legend({{9, "Ricerca"}}, screen::kPageNote));
  screen::RecordPicker picker;
  picker.field = kNumberField;
  picker.count = records::kSubAccountsPerCausal;
  picker.current = current_;
  picker.highest = records::kSubAccountsPerCausal;
  picker.list = [this] { return subAccountListEntries(accounts_); };
  picker.newRecord = [this] { return accounts_.firstFree(); };
  picker.onKey = [this](int exitCode) -> std::optional<int> {
    if (exitCode == kExitUp) return 0;
    if (exitCode == kExitPageUp || exitCode == kExitPageDown) return neighbour(exitCode);
    return std::nullopt;
  };
  const screen::Pick pick = screen::pickRecord(session_, picker);
  if (pick.record == 0) return pick.exitCode == kExitUp ? Go::back() : Go::abandon();
  choose(pick.record);
  return Go::next();
}

Go SubAccountLine::askDescription() {
  showLegend(screen::legend({}, screen::kPageNote));
  for (;;) {
    const screen::FieldResult r = session_.editor.edit(kDescriptionField, description_);
    switch (r.exitCode) {
      case kExitUp: return Go::back();
      case kExitEsc:
        show(current_);
        return Go::to(kNumberStep);
      case kExitPageUp:
      case kExitPageDown: {
        const int n = neighbour(r.exitCode);
        show(current_);
        choose(n);
        continue;
      }
      case kExitEnter:
        description_ = records::trimRight(r.text);
        return Go::next();
      default: continue;
    }
  }
}

int SubAccountLine::chooseFromCatalogue(bool byDescription, std::string_view current) {
  const int found = records::findTaxReturnCode(records::trim(current));
  return screen::selectFromList(session_.console, byDescription ? records::catalogueByDescription() : records::catalogueByCode(),
                               found > 0 ? found : 1, screen::searchListWindow(),
                               byDescription ? records::catalogueByDescriptionHeading() : records::catalogueByCodeHeading(),
                               screen::kSearchHighlight);
}

// The code typed or taken from the catalogue; Enter writes the slot.
Go SubAccountLine::askCode() {
  showLegend(screen::legend({{8, "Ric Descr"}, {9, "Ric Codice"}}));
  std::string typed = code_;
  for (;;) {
    const screen::FieldResult r = session_.editor.edit(kCodeField, typed);
    switch (r.exitCode) {
      case kExitUp:
        code_ = records::trimRight(r.text);
        return Go::back();
      case kExitEsc:
        show(current_);
        return Go::to(kNumberStep);
      case kExitF8:
      case kExitF9: {
        typed = records::trimRight(r.text);
        const int chosen = chooseFromCatalogue(r.exitCode == kExitF8, typed);
        if (chosen > 0) typed = records::left(records::storedTaxCode(chosen), records::kTaxCodeWidth);
        continue;
      }
      case kExitEnter: {
        records::SubAccount& slot = accounts_[current_];
        slot.description = description_;
        slot.code = records::trimRight(r.text);
        records::writeSubAccount(session_.catalogue, accounts_.causal(), current_, slot);
        show(current_);
        return Go::to(kNumberStep);
      }
      default: continue;
    }
  }
}

// The line ends only from its number: Up back to the causal, ESC out to the causal code.
SubAccountExit SubAccountLine::run() {
  const screen::SequenceEnd end = screen::runSequence(
      {
          [this] { return askNumber(); },
          [this] { return askDescription(); },
          [this] { return askCode(); },
      },
      kNumberStep, screen::BackFromFirst::Ends);
  return end == screen::SequenceEnd::BackFromFirst ? SubAccountExit::Up : SubAccountExit::Esc;
}

}  // namespace

std::vector<std::string> subAccountListEntries(const records::SubAccounts& accounts) {
  std::vector<std::string> entries;
  entries.reserve(records::kSubAccountsPerCausal);
  for (int n = 1; n <= records::kSubAccountsPerCausal; ++n) {
    const records::SubAccount& a = accounts[n];
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

SubAccountExit editSubAccounts(screen::Session& session, records::SubAccounts& accounts) {
  return SubAccountLine(session, accounts).run();
}

}  // namespace vellano::master
