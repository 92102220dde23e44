// CASBAN.DAT and the "GESTIONE CASSA E BANCHE" screen.
#include "master/cash_banks.h"

#include <cmath>

#include "screen/list_select.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "screen/print_handover.h"
#include "records/text.h"
#include "screen/window.h"
#include "screen/kit.h"

namespace vellano::master {
namespace {

namespace L = cash_bank_layout;
constexpr int kChannel = 15;
constexpr std::string_view kAmountMask = "###,###,###.##";
constexpr int kAmountCol = 11;
constexpr int kDebitRow = 13;
constexpr int kCreditRow = 14;
constexpr int kBalanceRow = 16;  // one row below its label, as the screen always had it

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
  bool editAmount(int row, double& value, int& exitCode);
  void put(int row, int col, std::string_view text) { screen_.putText(row, col, text, colours_.text); }
  void putAmount(int row, double value) { put(row, kAmountCol, records::printUsing(kAmountMask, value)); }

  screen::Session& session_;
  const CashBankOptions& options_;
  platform::ScreenBuffer& screen_;
  screen::ScreenColours colours_;
  int count_ = 0;
  int current_ = 0;
  CashBank account_;
};

void CashBankScreen::drawScreen() {
  put(4, 2, " Codice : " + screen::dots(4) + " [ " + screen::dots(4) + " ] ");
  put(4, 19, records::printUsing("####", count_));
  const std::string rule(79, static_cast<char>(0xC4));
  put(7, 2, rule);
  put(11, 2, rule);
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
  session_.panel.show(screen_, screen::legend("", "", "", "", "", "", "File Unico", "Bilancio", "Ricerca", screen::kPageNote));
  for (;;) {
    screen::FieldResult r = screen::editField(session_, {4, 12, 4, "00000011100", 0}, "");
    switch (r.exitCode) {
      case screen::kExitEsc: return 0;
      case 8:
        if (options_.menuItem == kSalesRegisterItem) screen::handOverToPrintProgram(session_, "3.");
        continue;
      case 9: {
        if (count_ < 1) {
          session_.console.beep();
          continue;
        }
        const int chosen = screen::selectFromList(session_.console, cashBankListEntries(session_.catalogue, count_),
                                                 current_ >= 1 && current_ <= count_ ? current_ : 1,
                                                 screen::searchListWindow(), "", screen::kSearchHighlight);
        if (chosen >= 1) return chosen;
        continue;
      }
      case screen::kExitEnter: {
        const double v = records::val(r.text);
        if (v == 0) return count_ + 1;
        if (v < 1 || v > count_ + 1 || v != std::floor(v)) {
          session_.console.beep();
          continue;
        }
        return static_cast<int>(v);
      }
      default: continue;  // F7 has no effect here
    }
  }
}

void CashBankScreen::show(int n) {
  current_ = n;
  put(4, 12, records::printUsing("####", n));
  account_ = readCashBank(session_.catalogue, n);
  put(9, 16, records::fitLeft(account_.description, 30));
  putAmount(kDebitRow, account_.debit);
  putAmount(kCreditRow, account_.credit);
  putAmount(kBalanceRow, account_.balance());
}

// One amount: the area blanked, the number typed, shown through the mask. False on ESC.
bool CashBankScreen::editAmount(int row, double& value, int& exitCode) {
  put(row, kAmountCol, std::string(14, ' '));
  const std::string initial = value != 0 ? records::trim(records::str(value)) : std::string();
  screen::FieldResult r = screen::editField(session_, {row, kAmountCol, 11, screen::kMaskUp, 0}, initial);
  exitCode = r.exitCode;
  if (r.exitCode == screen::kExitEsc) return false;
  if (r.exitCode == screen::kExitEnter) value = records::val(r.text);
  putAmount(row, value);
  return true;
}

void CashBankScreen::editAccount() {
  enum { kDescription, kDebit, kCredit };
  CashBank work = account_;
  int field = kDescription;
  for (;;) {
    int code = screen::kExitEnter;
    if (field == kDescription) {
      session_.panel.show(screen_, screen::legend("", "", "", "", "", "", "", "", "Lista Mov"));
      screen::FieldResult r = screen::editField(session_, {9, 16, -30, "00000000100", 0}, work.description);
      code = r.exitCode;
      if (code == 9) {
        if (options_.movementList) options_.movementList(session_, current_);
        else session_.console.beep();
        continue;
      }
      if (code == screen::kExitEnter) work.description = records::trimRight(records::left(r.text, 26));
    } else {
      if (field == kDebit) session_.panel.show(screen_, screen::legend("", "", "", "", "", "", "", "", ""));
      double& value = field == kDebit ? work.debit : work.credit;
      editAmount(field == kDebit ? kDebitRow : kCreditRow, value, code);
    }
    if (code == screen::kExitEsc) {
      clearFields();
      return;
    }
    if (code == screen::kExitUp) {
      if (field > kDescription) --field;
      continue;
    }
    if (code != screen::kExitEnter) continue;
    if (++field <= kCredit) continue;

    // The count, and the totals not typed here (payments move them), are the ones on file
    // inside the save: another terminal may have changed them since they were read.
    records::SaveTransaction transaction(session_.catalogue);
    const bool adding = current_ > count_;
    count_ = records::readCounter(session_.catalogue, records::kCashBankCounter);
    if (adding) current_ = count_ + 1;
    const CashBank stored = readCashBank(session_.catalogue, current_);
    if (work.debit == account_.debit) work.debit = stored.debit;
    if (work.credit == account_.credit) work.credit = stored.credit;
    writeCashBank(session_.catalogue, current_, work);
    account_ = work;
    if (current_ == count_ + 1) {
      ++count_;
      records::writeCounter(session_.catalogue, records::kCashBankCounter, count_);
      put(4, 19, records::printUsing("####", count_));
    }
    transaction.commit();
    clearFields();
    return;
  }
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

void L_15(const records::Catalogue& catalogue, CashBank& account) {
  const records::Record& record = catalogue.channel(kChannel).buffer();
  account.description = record.trimmed(L::kDescription);
  account.debit = record.number(L::kDebit);
  account.credit = record.number(L::kCredit);
}

void W_15(records::Catalogue& catalogue, const CashBank& account) {
  // Fitted before anything is set: an amount too wide stops the write, the record stays as read.
  const std::string debit = records::amountField(account.debit, L::kDebit.width, "W_15");
  const std::string credit = records::amountField(account.credit, L::kCredit.width, "W_15");
  records::Record& record = catalogue.channel(kChannel).buffer();
  record.set(L::kDescription, account.description);
  record.set(L::kDebit, debit);
  record.set(L::kCredit, credit);
}

CashBank readCashBank(records::Catalogue& catalogue, int n) {
  records::openChannel(catalogue, kChannel).read(n);
  CashBank account;
  L_15(catalogue, account);
  return account;
}

void writeCashBank(records::Catalogue& catalogue, int n, const CashBank& account) {
  records::Channel& channel = records::openChannel(catalogue, kChannel);
  W_15(catalogue, account);
  channel.write(n);
}

std::vector<std::string> cashBankListEntries(records::Catalogue& catalogue, int count) {
  std::vector<std::string> entries;
  for (int n = 1; n <= count; ++n)
    entries.push_back(records::printUsing("###", n) + " " + records::fitLeft(readCashBank(catalogue, n).description, 26));
  return entries;
}

void runCashAndBanks(screen::Session& session) { pickCashBank(session, CashBankOptions{}); }

int pickCashBank(screen::Session& session, const CashBankOptions& options) {
  screen::EditorSettings keep(session.editor);
  return CashBankScreen(session, options).run();
}

}  // namespace vellano::master
