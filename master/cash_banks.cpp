// CASBAN.DAT and the "GESTIONE CASSA E BANCHE" screen.
#include "master/cash_banks.h"

#include <optional>

#include "records/numbers.h"
#include "records/save_transaction.h"
#include "screen/print_handover.h"
#include "records/text.h"
#include "screen/field_sequence.h"
#include "screen/glyphs.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/print_handover.h"
#include "screen/record_picker.h"
#include "screen/window.h"

namespace vellano::master {
namespace {

constexpr int kChannel = records::channel::kCashBanks;
constexpr std::string_view kAmountMask = "###,###,###.##";
constexpr int kAmountCol = 11;
constexpr int kDebitRow = 13;
constexpr int kCreditRow = 14;
constexpr int kBalanceRow = 16;  // one row below its label, as the screen always had it

using screen::kExitF7;
using screen::kExitF8;
using screen::kExitF9;
using screen::kExitUp;

// F7 and F8 end the code field (F8 hands over from the sales register, F7 does nothing here).
constexpr screen::FieldSpec kCodeField = screen::numericField(4, 12, 4).withKeys({kExitF7, kExitF8, kExitF9});
constexpr screen::FieldSpec kDescriptionField = screen::textField(9, 16, 30).withKeys({kExitF9});
constexpr screen::FieldSpec kDebitField = screen::numericField(kDebitRow, kAmountCol, 11).withKeys({kExitUp});
constexpr screen::FieldSpec kCreditField = screen::numericField(kCreditRow, kAmountCol, 11).withKeys({kExitUp});

class CashBankScreen {
 public:
  CashBankScreen(screen::Session& session, const CashBankOptions& options)
      : session_(session), options_(options), screen_(session.console.screen()),
        colours_(screen::screenColours(session.context())) {}

  int run();

 private:
  void drawScreen();
  int askCode();  // 0: leave the screen
  void show(int n);
  void clearFields();
  void editAccount();
  screen::Go editDescription(records::CashBank& work);
  screen::Go editAmount(const screen::FieldSpec& field, double& value);
  void save(records::CashBank work);
  void put(int row, int col, std::string_view text) { screen_.putText(row, col, text, colours_.text); }
  void putAmount(int row, double value) { put(row, kAmountCol, records::printUsing(kAmountMask, value)); }

  screen::Session& session_;
  const CashBankOptions& options_;
  platform::ScreenBuffer& screen_;
  screen::ScreenColours colours_;
  int count_ = 0;
  int current_ = 0;
  records::CashBank account_;
};

void CashBankScreen::drawScreen() {
  put(4, 2, " Codice : " + screen::dots(4) + " [ " + screen::dots(4) + " ] ");
  put(4, 19, records::printUsing("####", count_));
  put(7, 2, screen::rule(79));
  put(11, 2, screen::rule(79));
  put(9, 2, " Descrizione: " + screen::dots(30));
  put(13, 2, " Dare  :");
  put(14, 2, " Avere :");
  put(15, 2, " Saldo :");
}

void CashBankScreen::clearFields() {
  put(9, 16, screen::dots(30));
  for (int row : {kDebitRow, kCreditRow, kBalanceRow}) put(row, kAmountCol, std::string(14, ' '));
}

int CashBankScreen::askCode() {
  session_.panel.show(screen_, screen::legend({{7, "File Unico"}, {8, "Bilancio"}, {9, "Ricerca"}}, screen::kPageNote));
  screen::RecordPicker picker;
  picker.field = kCodeField;
  picker.count = count_;
  picker.current = current_;
  picker.list = [this] { return records::cashBankListEntries(session_.catalogue, count_); };
  picker.onKey = [this](int exitCode) -> std::optional<int> {
    if (exitCode == kExitF8 && options_.menuItem == kSalesRegisterItem)
      screen::handOverToPrintProgram(session_, "3.");
    return std::nullopt;
  };
  return screen::pickRecord(session_, picker).record;
}

void CashBankScreen::show(int n) {
  current_ = n;
  put(4, 12, records::printUsing("####", n));
  account_ = records::readCashBank(session_.catalogue, n);
  put(9, 16, records::fitLeft(account_.description, 30));
  putAmount(kDebitRow, account_.debit);
  putAmount(kCreditRow, account_.credit);
  putAmount(kBalanceRow, account_.balance());
}

// F9 lists the account's movements where the caller offers a list; otherwise it beeps.
screen::Go CashBankScreen::editDescription(records::CashBank& work) {
  session_.panel.show(screen_, screen::legend({{9, "Lista Mov"}}));
  const screen::FieldResult r = session_.editor.edit(kDescriptionField, work.description);
  if (r.exitCode == kExitF9) {
    if (options_.movementList) options_.movementList(session_, current_);
    else session_.console.beep();
  }
  if (r.exitCode == screen::kExitEnter) work.description = records::trimRight(records::left(r.text, 26));
  return screen::goFor(r.exitCode);
}

// One amount: the area blanked, the number typed, shown through the mask unless left by ESC.
screen::Go CashBankScreen::editAmount(const screen::FieldSpec& field, double& value) {
  put(field.row, kAmountCol, std::string(14, ' '));
  const std::string initial = value != 0 ? records::trim(records::str(value)) : std::string();
  const screen::FieldResult r = session_.editor.edit(field, initial);
  if (r.exitCode == screen::kExitEsc) return screen::Go::abandon();
  if (r.exitCode == screen::kExitEnter) value = records::val(r.text);
  putAmount(field.row, value);
  return screen::goFor(r.exitCode);
}

void CashBankScreen::save(records::CashBank work) {
  // The count, and the totals not typed here (payments move them), are the ones on file
  // inside the save: another terminal may have changed them since they were read.
  records::SaveTransaction transaction(session_.catalogue);
  const bool adding = current_ > count_;
  count_ = records::readCounter(session_.catalogue, records::kCashBankCounter);
  if (adding) current_ = count_ + 1;
  const records::CashBank stored = records::readCashBank(session_.catalogue, current_);
  if (work.debit == account_.debit) work.debit = stored.debit;
  if (work.credit == account_.credit) work.credit = stored.credit;
  records::writeCashBank(session_.catalogue, current_, work);
  account_ = work;
  if (current_ == count_ + 1) {
    ++count_;
    records::writeCounter(session_.catalogue, records::kCashBankCounter, count_);
    put(4, 19, records::printUsing("####", count_));
  }
  transaction.commit();
}

void CashBankScreen::editAccount() {
  records::CashBank work = account_;
  const screen::SequenceEnd end = screen::runSequence({
      [&] { return editDescription(work); },
      [&] {
        session_.panel.show(screen_, screen::legend({}));
        return editAmount(kDebitField, work.debit);
      },
      [&] { return editAmount(kCreditField, work.credit); },
  });
  if (end == screen::SequenceEnd::Completed) save(work);
  clearFields();
}

int CashBankScreen::run() {
  records::Catalogue& catalogue = session_.catalogue;
  records::openChannel(catalogue, kChannel);
  count_ = records::readCounter(catalogue, records::kCashBankCounter);
  screen::Window window(screen_, screen::screenWindow(session_.context(), 1, 1, 18, 81, 2), "GESTIONE CASSA E BANCHE");
  session_.editor.setColours(colours_.editing, colours_.text);
  drawScreen();
  for (;;) {
    const int n = askCode();
    if (n == 0) return current_;
    show(n);
    editAccount();
  }
}

}  // namespace

void runCashAndBanks(screen::Session& session) { pickCashBank(session, CashBankOptions{}); }

int pickCashBank(screen::Session& session, const CashBankOptions& options) {
  screen::EditorKeysKept keep(session.editor);
  return CashBankScreen(session, options).run();
}

}  // namespace vellano::master
