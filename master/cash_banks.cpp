// CASBAN.DAT and the "GESTIONE CASSA E BANCHE" screen.
#include "master/cash_banks.h"

#include <cmath>

#include "frame/list_select.h"
#include "frame/numbers.h"
#include "frame/print_handover.h"
#include "frame/text.h"
#include "frame/window.h"
#include "master/causals_fields.h"

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
  CashBankScreen(frame::Session& session, const CashBankOptions& options)
      : session_(session), options_(options), screen_(session.console.screen()),
        colours_(screenColours(session.context())) {}

  int run();

 private:
  void drawScreen();
  int askCode();  // 0: leave the screen
  void show(int n);
  void clearFields();
  void editAccount();
  bool editAmount(int row, double& value, int& exitCode);
  void put(int row, int col, std::string_view text) { screen_.putText(row, col, text, colours_.text); }
  void putAmount(int row, double value) { put(row, kAmountCol, frame::printUsing(kAmountMask, value)); }

  frame::Session& session_;
  const CashBankOptions& options_;
  platform::ScreenBuffer& screen_;
  ScreenColours colours_;
  int count_ = 0;
  int current_ = 0;
  CashBank account_;
};

void CashBankScreen::drawScreen() {
  put(4, 2, " Codice : " + dots(4) + " [ " + dots(4) + " ] ");
  put(4, 19, frame::printUsing("####", count_));
  const std::string rule(79, static_cast<char>(0xC4));
  put(7, 2, rule);
  put(11, 2, rule);
  put(9, 2, " Descrizione: " + dots(30));
  put(13, 2, " Dare  :");
  put(14, 2, " Avere :");
  put(15, 2, " Saldo :");
}

void CashBankScreen::clearFields() {
  put(9, 16, dots(30));
  for (int row : {kDebitRow, kCreditRow, kBalanceRow}) put(row, kAmountCol, std::string(14, ' '));
}

int CashBankScreen::askCode() {
  session_.panel.show(screen_, legend("", "", "", "", "", "", "File Unico", "Bilancio", "Ricerca", kPageNote));
  for (;;) {
    frame::FieldResult r = editField(session_, {4, 12, 4, "00000011100", 0}, "");
    switch (r.exitCode) {
      case frame::kExitEsc: return 0;
      case 8:
        if (options_.menuItem == kSalesRegisterItem) frame::handOverToPrintProgram(session_, "3.");
        continue;
      case 9: {
        if (count_ < 1) {
          session_.console.beep();
          continue;
        }
        const int chosen = frame::selectFromList(session_.console, cashBankListEntries(session_.catalogue, count_),
                                                 current_ >= 1 && current_ <= count_ ? current_ : 1,
                                                 searchListWindow(), "", kSearchHighlight);
        if (chosen >= 1) return chosen;
        continue;
      }
      case frame::kExitEnter: {
        const double v = frame::val(r.text);
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
  put(4, 12, frame::printUsing("####", n));
  account_ = readCashBank(session_.catalogue, n);
  put(9, 16, frame::fitLeft(account_.description, 30));
  putAmount(kDebitRow, account_.debit);
  putAmount(kCreditRow, account_.credit);
  putAmount(kBalanceRow, account_.balance());
}

// One amount: the area blanked, the number typed, shown through the mask. False on ESC.
bool CashBankScreen::editAmount(int row, double& value, int& exitCode) {
  put(row, kAmountCol, std::string(14, ' '));
  const std::string initial = value != 0 ? frame::trim(frame::str(value)) : std::string();
  frame::FieldResult r = editField(session_, {row, kAmountCol, 11, kMaskUp, 0}, initial);
  exitCode = r.exitCode;
  if (r.exitCode == frame::kExitEsc) return false;
  if (r.exitCode == frame::kExitEnter) value = frame::val(r.text);
  putAmount(row, value);
  return true;
}

void CashBankScreen::editAccount() {
  enum { kDescription, kDebit, kCredit };
  CashBank work = account_;
  int field = kDescription;
  for (;;) {
    int code = frame::kExitEnter;
    if (field == kDescription) {
      session_.panel.show(screen_, legend("", "", "", "", "", "", "", "", "Lista Mov"));
      frame::FieldResult r = editField(session_, {9, 16, -30, "00000000100", 0}, work.description);
      code = r.exitCode;
      if (code == 9) {
        if (options_.movementList) options_.movementList(session_, current_);
        else session_.console.beep();
        continue;
      }
      if (code == frame::kExitEnter) work.description = frame::trimRight(frame::left(r.text, 26));
    } else {
      if (field == kDebit) session_.panel.show(screen_, legend("", "", "", "", "", "", "", "", ""));
      double& value = field == kDebit ? work.debit : work.credit;
      editAmount(field == kDebit ? kDebitRow : kCreditRow, value, code);
    }
    if (code == frame::kExitEsc) {
      clearFields();
      return;
    }
    if (code == frame::kExitUp) {
      if (field > kDescription) --field;
      continue;
    }
    if (code != frame::kExitEnter) continue;
    if (++field <= kCredit) continue;

    writeCashBank(session_.catalogue, current_, work);
    account_ = work;
    if (current_ == count_ + 1) {
      ++count_;
      writeCounter(session_.catalogue, kCashBankCounter, count_);
      put(4, 19, frame::printUsing("####", count_));
    }
    clearFields();
    return;
  }
}

int CashBankScreen::run() {
  frame::Catalogue& catalogue = session_.catalogue;
  openChannel(catalogue, kChannel);
  count_ = readCounter(catalogue, kCashBankCounter);
  frame::Window window(screen_, screenWindow(session_.context(), 1, 1, 18, 81, 2), "GESTIONE CASSA E BANCHE");
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

void L_15(const frame::Catalogue& catalogue, CashBank& account) {
  const frame::Record& record = catalogue.channel(kChannel).buffer();
  account.description = record.trimmed(L::kDescription);
  account.debit = record.number(L::kDebit);
  account.credit = record.number(L::kCredit);
}

void W_15(frame::Catalogue& catalogue, const CashBank& account) {
  // Fitted before anything is set: an amount too wide stops the write, the record stays as read.
  const std::string debit = frame::amountField(account.debit, L::kDebit.width, "W_15");
  const std::string credit = frame::amountField(account.credit, L::kCredit.width, "W_15");
  frame::Record& record = catalogue.channel(kChannel).buffer();
  record.set(L::kDescription, account.description);
  record.set(L::kDebit, debit);
  record.set(L::kCredit, credit);
}

CashBank readCashBank(frame::Catalogue& catalogue, int n) {
  openChannel(catalogue, kChannel).read(n);
  CashBank account;
  L_15(catalogue, account);
  return account;
}

void writeCashBank(frame::Catalogue& catalogue, int n, const CashBank& account) {
  frame::Channel& channel = openChannel(catalogue, kChannel);
  W_15(catalogue, account);
  channel.write(n);
}

std::vector<std::string> cashBankListEntries(frame::Catalogue& catalogue, int count) {
  std::vector<std::string> entries;
  for (int n = 1; n <= count; ++n)
    entries.push_back(frame::printUsing("###", n) + " " + frame::fitLeft(readCashBank(catalogue, n).description, 26));
  return entries;
}

void runCashAndBanks(frame::Session& session) { pickCashBank(session, CashBankOptions{}); }

int pickCashBank(frame::Session& session, const CashBankOptions& options) {
  EditorSettings keep(session.editor);
  return CashBankScreen(session, options).run();
}

}  // namespace vellano::master
