// The payments window: drawing, the payment number with its search list and page keys, the
// fields of one payment in tab order, and saving with the postings.
#include "entry/payments.h"

#include <cmath>
#include <initializer_list>
#include <utility>

#include "entry/balances.h"
#include "entry/registration_lists.h"
#include "records/dates.h"
#include "screen/list_select.h"
#include "records/numbers.h"
#include "records/register_guard.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/window.h"
#include "master/cash_banks.h"
#include "screen/kit.h"
#include "records/customer_files.h"

namespace vellano::entry {
namespace {

constexpr int kMaxPayments = 9999;  // what the header's count field holds with its blank
constexpr int kBoxLeft = 4;
constexpr int kBoxRight = 75;

constexpr std::string_view kNumberKeys = "00000000101";        // F9 and PgUp
constexpr std::string_view kCounterpartyKeys = "00000001100";  // F8, F9
constexpr std::string_view kUpOnly = "10000000000";
constexpr std::string_view kCashBankKeys = "10000000100";      // Up, F9

constexpr std::string_view kHintCredit = "il conto versa  - va in Avere";
constexpr std::string_view kHintDebit = "la contropartita- va in Dare ";

// Positions of the fields and of what is shown beside them.
constexpr int kNumberRow = 8, kNumberCol = 23, kCountCol = 41;
constexpr int kPartyRow = 11, kPartyCol = 15, kNameCol = 20, kPartyAmountCol = 60;
constexpr int kDateRow = 15, kDateCol = 12, kDateShowCol = 11;
constexpr int kAmountRow = 15, kAmountCol = 28;
constexpr int kCashBankRow = 17, kCashBankCol = 21, kCashBankNameCol = 26, kCashBankAmountCol = 61;
constexpr int kDescriptionRow = 20, kDescriptionCol = 5, kDescriptionWidth = 70;

constexpr const char* kCountMask = "####";
constexpr const char* kAmountMask = "##,###,###.##";
constexpr const char* kPartyAmountMask = "####,###,###.##";
constexpr const char* kCashBankAmountMask = "###,###,###.##";
constexpr const char* kListAmountMask = "#,###,###,###";

enum class Step { Next, Back, Abandon };

// Code page 437 box characters.
constexpr std::uint8_t kH = 0xC4, kV = 0xB3, kTL = 0xDA, kTR = 0xBF, kBL = 0xC0, kBR = 0xD9;
constexpr std::uint8_t kTDown = 0xC2, kTUp = 0xC1, kTRight = 0xC3, kTLeft = 0xB4, kCross = 0xC5;

// A horizontal rule from `from` to `to` with the given characters at the given columns.
std::string rule(int from, int to, std::initializer_list<std::pair<int, std::uint8_t>> marks) {
  std::string line(static_cast<std::size_t>(to - from + 1), static_cast<char>(kH));
  for (const auto& [col, ch] : marks) line[static_cast<std::size_t>(col - from)] = static_cast<char>(ch);
  return line;
}

std::string vbar() { return std::string(1, static_cast<char>(kV)); }

int countOf(float value, int most) {
  if (!(value > 0)) return 0;
  return value > static_cast<float>(most) ? most : static_cast<int>(value);
}

// The channel open on the file its stem names now; reopened when it is closed or on another file.
void ensureOpen(records::Catalogue& catalogue, int channel) {
  const records::Channel& ch = catalogue.channel(channel);
  if (!ch.isOpen() || ch.dosName() != catalogue.dosName(channel)) catalogue.open(channel);
}

records::CounterpartyKind counterpartyKind(records::RegisterKind kind) {
  return kind == records::RegisterKind::Sales ? records::CounterpartyKind::Customer : records::CounterpartyKind::Supplier;
}

std::string counterpartyName(records::Catalogue& catalogue, records::RegisterKind kind, long code) {
  records::Counterparty who;
  if (kind == records::RegisterKind::Sales) {
    records::openChannel(catalogue, 1).read(code);
    records::L_1(catalogue, who);
  } else {
    records::openChannel(catalogue, 7).read(code);
    records::L_7(catalogue, who);
  }
  return who.name;
}

class PaymentsWindow {
 public:
  PaymentsWindow(screen::Session& session, records::RegisterKind kind, records::RegisterHeader& header)
      : session_(session), kind_(kind), header_(header), screen_(session.console.screen()),
        colours_(screen::screenColours(session.context())) {}

  void run();

 private:
  void drawTemplate();
  void put(int row, int col, std::string_view text) { screen_.putText(row, col, text, colours_.text); }
  void putHint(int row, std::string_view text) { screen_.putText(row, kNameCol, text, colours_.title); }
  void showLegend(std::string_view legend) { session_.panel.show(screen_, legend); }
  screen::FieldResult edit(int row, int col, int length, std::string_view mask, int pageMode, std::string_view initial);

  int askNumber();  // the payment chosen, 0 to close the window
  void select(int n);
  void showPayment();
  void showCount() { put(kNumberRow, kCountCol, records::printUsing(kCountMask, header_.payments)); }
  void showCounterparty();
  void showDate();
  void showAmount();
  void showCashBank();

  bool editPayment();  // true when saved
  Step askField(int field);
  Step askCounterparty();
  Step askDate();
  Step askAmount();
  Step askCashBank();
  Step askDescription();
  long chooseCashBank();      // -1 nothing chosen
  long chooseCounterparty();  // -1 nothing chosen
  bool counterpartyAccepted(double code) const;
  void save();

  bool sales() const { return kind_ == records::RegisterKind::Sales; }
  int counterparties() const {
    const records::Context& c = session_.context();
    return sales() ? countOf(c.customerCount, records::kMaxCustomers) : countOf(c.supplierCount, records::kMaxSuppliers);
  }

  screen::Session& session_;
  records::RegisterKind kind_;
  records::RegisterHeader& header_;
  platform::ScreenBuffer& screen_;
  screen::ScreenColours colours_;
  int cashBanks_ = 0;
  int current_ = 0;   // payment on show; 0 before the first choice
  records::Payment work_;
  PaymentEffect loaded_;  // what the payment on file moved, taken out again on saving
};

screen::FieldResult PaymentsWindow::edit(int row, int col, int length, std::string_view mask, int pageMode,
                                        std::string_view initial) {
  screen::FieldEditor& editor = session_.editor;
  editor.setKeyMask(std::string(mask));
  editor.setPageKeyMode(pageMode);
  editor.setCapitals(false);
  editor.setColours(colours_.editing, colours_.text);
  session_.console.setCursor(row, col);
  return editor.edit(length, initial);
}

// ---- Drawing ----

void PaymentsWindow::drawTemplate() {
  const int l = kBoxLeft, r = kBoxRight;
  put(7, l, rule(l, 45, {{l, kTL}, {27, kTDown}, {45, kTR}}));
  put(8, l, vbar() + "Codice pagamento:     " + vbar() + "Progressivo:     " + vbar());
  put(9, l, rule(l, 45, {{l, kBL}, {27, kTUp}, {45, kBR}}));

  put(10, l, rule(l, r, {{l, kTL}, {19, kTDown}, {51, kTDown}, {r, kTR}}));
  for (int row = 11; row <= 13; ++row) {
    put(row, l, vbar() + std::string(14, ' ') + vbar() + std::string(31, ' ') + vbar() + std::string(23, ' ') + vbar());
  }
  put(11, l + 1, "Cli/For :");
  put(11, 52, "Dare   :");
  put(12, 52, "Avere  :");
  put(13, 52, "Saldo  :");

  put(14, l, rule(l, r, {{l, kTRight}, {19, kCross}, {41, kTDown}, {51, kTUp}, {r, kTLeft}}));
  put(15, l, vbar() + "Data:" + std::string(9, ' ') + vbar() + "Importo:" + std::string(13, ' ') + vbar() +
                 std::string(33, ' ') + vbar());
  put(15, 57, "D :");
  put(16, l, rule(l, 41, {{l, kTRight}, {19, kTUp}, {41, kBR}}) + std::string(33, ' ') + vbar());
  put(16, 57, "A :");
  put(17, l, vbar() + " Contropartita :" + std::string(54, ' ') + vbar());
  put(17, 57, "S :");
  put(18, l, rule(l, r, {{l, kBL}, {r, kBR}}));

  std::string heading = rule(l, r, {{l, kTL}, {r, kTR}});
  const std::string title = " D e s c r i z i o n e ";
  heading.replace(2, title.size(), title);
  put(19, l, heading);
  put(20, l, vbar() + std::string(70, ' ') + vbar());
  put(21, l, rule(l, r, {{l, kBL}, {r, kBR}}));

  work_ = records::Payment{};
  showPayment();
  put(kNumberRow, kNumberCol, screen::dots(4));
  showCount();
}

void PaymentsWindow::showPayment() {
  showCounterparty();
  showDate();
  showAmount();
  showCashBank();
  put(kDescriptionRow, kDescriptionCol,
      records::isBlank(work_.description) ? screen::dots(kDescriptionWidth)
                                        : records::fitLeft(work_.description, kDescriptionWidth));
}

void PaymentsWindow::showCounterparty() {
  const double code = records::val(work_.counterparty);
  put(kPartyRow, kPartyCol, code > 0 ? records::printUsing(kCountMask, code) : screen::dots(4));
  put(kPartyRow, kNameCol, std::string(31, ' '));
  for (int row = kPartyRow + 1; row <= kPartyRow + 2; ++row) put(row, kNameCol, std::string(29, ' '));
  for (int row = kPartyRow; row <= kPartyRow + 2; ++row) put(row, kPartyAmountCol, std::string(15, ' '));
  const long c = effectOf(work_).counterparty;
  double dare = 0, avere = 0;
  if (c > kCashBankBase) {
    const master::CashBank account = master::readCashBank(session_.catalogue, static_cast<int>(c - kCashBankBase));
    put(kPartyRow, kNameCol, records::fitLeft(account.description, 26));
    putHint(kPartyRow + 1, kHintCredit);
    putHint(kPartyRow + 2, kHintDebit);
    dare = account.debit;
    avere = account.credit;
  } else if (c > 0 && c < kCashBankBase) {
    put(kPartyRow, kNameCol, records::fitLeft(counterpartyName(session_.catalogue, kind_, c), 30));
    const records::BalanceTotals totals = records::readBalance(session_.catalogue, c);
    dare = totals.dare;
    avere = totals.avere;
  } else {
    return;
  }
  put(kPartyRow, kPartyAmountCol, records::printUsing(kPartyAmountMask, dare));
  put(kPartyRow + 1, kPartyAmountCol, records::printUsing(kPartyAmountMask, avere));
  put(kPartyRow + 2, kPartyAmountCol, records::printUsing(kPartyAmountMask, dare - avere));
}

void PaymentsWindow::showDate() {
  put(kDateRow, kDateShowCol, std::string(8, ' '));
  if (records::val(work_.date) != 0) put(kDateRow, kDateShowCol, records::dateText(work_.date));
  else put(kDateRow, kDateCol, screen::dots(6));
}

void PaymentsWindow::showAmount() {
  put(kAmountRow, kAmountCol, std::string(13, ' '));
  if (records::isBlank(work_.amount)) put(kAmountRow, kAmountCol, screen::dots(10));
  else put(kAmountRow, kAmountCol, records::printUsing(kAmountMask, records::val(work_.amount)));
}

void PaymentsWindow::showCashBank() {
  const long k = effectOf(work_).cashBank;
  put(kCashBankRow, kCashBankCol, k > 0 ? records::printUsing(kCountMask, static_cast<double>(k)) : screen::dots(4));
  put(kCashBankRow, kCashBankNameCol, std::string(26, ' '));
  for (int row = 15; row <= 17; ++row) put(row, kCashBankAmountCol, std::string(14, ' '));
  if (k <= 0) return;
  const master::CashBank account = master::readCashBank(session_.catalogue, static_cast<int>(k));
  put(kCashBankRow, kCashBankNameCol, records::fitLeft(account.description, 26));
  put(15, kCashBankAmountCol, records::printUsing(kCashBankAmountMask, account.debit));
  put(16, kCashBankAmountCol, records::printUsing(kCashBankAmountMask, account.credit));
  put(17, kCashBankAmountCol, records::printUsing(kCashBankAmountMask, account.balance()));
}

// ---- Choosing a payment ----

int PaymentsWindow::askNumber() {
  for (;;) {
    showLegend(screen::legend("", "", "", "", "", "", "", "", "Ricerca", screen::kPageNote));
    const screen::FieldResult r = edit(kNumberRow, kNumberCol, 4, kNumberKeys, 1, "");
    switch (r.exitCode) {
      case screen::kExitEsc: return 0;
      case 9: {
        if (header_.payments < 1) {
          session_.console.beep();
          continue;
        }
        const std::vector<std::string> entries = paymentListEntries(session_.catalogue, kind_, header_.payments);
        const int from = current_ >= 1 && current_ <= header_.payments ? current_ : header_.payments;
        const int chosen = screen::selectFromList(session_.console, entries, from, searchWindow(), "", kSearchHighlight);
        if (chosen >= 1) return chosen;
        continue;
      }
      case screen::kExitPageUp:
      case screen::kExitTab:
        if (current_ > 1) return current_ - 1;
        continue;
      case screen::kExitPageDown:
      case screen::kExitPlus:
        if (current_ < header_.payments) return current_ + 1;
        continue;
      case screen::kExitEnter: {
        const double v = records::val(r.text);
        const long n = v == 0 ? header_.payments + 1 : records::wholeNumberIn(v, 1, header_.payments + 1);
        // A payment file full to the count's field refuses one more.
        if (n < 1 || n > kMaxPayments) {
          session_.console.beep();
          continue;
        }
        return static_cast<int>(n);
      }
      default: continue;
    }
  }
}

void PaymentsWindow::select(int n) {
  current_ = n;
  put(kNumberRow, kNumberCol, records::printUsing(kCountMask, n));
  work_ = records::Payment{};
  loaded_ = PaymentEffect{};
  // A new payment starts empty whatever lies past the count in the file: it never moved anything.
  if (n <= header_.payments) {
    session_.catalogue.channel(12).read(n);
    records::L_12(session_.catalogue, work_);
    loaded_ = effectOf(work_);
  }
  showPayment();
}

// ---- The fields of one payment ----

bool PaymentsWindow::editPayment() {
  constexpr int kLastField = 4;
  int field = 0;
  for (;;) {
    const Step step = askField(field);
    if (step == Step::Abandon) return false;
    if (step == Step::Back) {
      if (field > 0) --field;
      continue;
    }
    if (field < kLastField) {
      ++field;
      continue;
    }
    save();
    return true;
  }
}

Step PaymentsWindow::askField(int field) {
  switch (field) {
    case 0: return askCounterparty();
    case 1: return askDate();
    case 2: return askAmount();
    case 3: return askCashBank();
    default: return askDescription();
  }
}

long PaymentsWindow::chooseCashBank() {
  // The purchase register takes suppliers only: a cash/bank counterparty is refused at once.
  if (!sales() || cashBanks_ < 1) {
    session_.console.beep();
    return -1;
  }
  const std::vector<std::string> entries = master::cashBankListEntries(session_.catalogue, cashBanks_);
  const int chosen = screen::selectFromList(session_.console, entries, 1, screen::searchListWindow(), "",
                                           screen::kSearchHighlight);
  return chosen >= 1 ? chosen : -1;
}

long PaymentsWindow::chooseCounterparty() {
  const int count = counterparties();
  if (count < 1) {
    session_.console.beep();
    return -1;
  }
  records::Catalogue& catalogue = session_.catalogue;
  if (sales()) {
    records::openChannel(catalogue, 1);
  } else {
    records::openChannel(catalogue, 7);
    records::openChannel(catalogue, 71);
  }
  const std::vector<std::string> entries = records::buildSelectionList(catalogue, counterpartyKind(kind_), count);
  const int chosen = screen::selectFromList(session_.console, entries, 1, searchWindow(), "", kSearchHighlight);
  return chosen >= 1 ? chosen : -1;
}

bool PaymentsWindow::counterpartyAccepted(double code) const {
  if (code != std::floor(code) || code < 1) return false;
  if (code > kCashBankBase) return sales() && code - kCashBankBase <= cashBanks_;
  return code < kCashBankBase && code <= counterparties();
}

Step PaymentsWindow::askCounterparty() {
  for (;;) {
    showLegend(screen::legend("", "", "", "", "", "", "", "Ric CasBan", "Ricerca", "8000+Codic", "Cassa/Banc"));
    const screen::FieldResult r = edit(kPartyRow, kPartyCol, 4, kCounterpartyKeys, 0, work_.counterparty);
    double code = records::val(r.text);
    long chosen = 0;
    switch (r.exitCode) {
      case screen::kExitEsc: return Step::Abandon;
      case 8:
        chosen = chooseCashBank();
        if (chosen < 0) continue;
        code = static_cast<double>(kCashBankBase + chosen);
        break;
      case 9:
        chosen = chooseCounterparty();
        if (chosen < 0) continue;
        code = static_cast<double>(chosen);
        break;
      case screen::kExitEnter:
        if (code == kCashBankBase || code == 0) {
          chosen = code == 0 ? chooseCounterparty() : chooseCashBank();
          if (chosen < 0) continue;
          code = static_cast<double>(code == 0 ? chosen : kCashBankBase + chosen);
        }
        break;
      default: continue;
    }
    if (!counterpartyAccepted(code)) {
      session_.console.beep();
      continue;
    }
    work_.counterparty = records::codeText(static_cast<long>(code));
    showCounterparty();
    return Step::Next;
  }
}

Step PaymentsWindow::askDate() {
  const std::string& workingDate = session_.context().workingDate;
  const int workingYear = static_cast<int>(records::val(session_.context().yearSuffix));
  for (;;) {
    showLegend(screen::legend("", "", "", "", "", "", "", "", ""));
    const std::string initial = records::val(work_.date) == 0 ? workingDate : work_.date;
    const screen::FieldResult r = edit(kDateRow, kDateCol, 6, kUpOnly, 0, initial);
    if (r.exitCode == screen::kExitEsc) return Step::Abandon;
    if (r.exitCode == screen::kExitUp) return Step::Back;
    if (r.exitCode != screen::kExitEnter) continue;
    std::string date = records::trim(r.text);
    if (records::val(date) == 0) date = workingDate;
    if (records::val(date) == 0 || !records::dateValid(date, workingYear, false)) {
      session_.console.beep();
      continue;
    }
    work_.date = date;
    showDate();
    return Step::Next;
  }
}

Step PaymentsWindow::askAmount() {
  for (;;) {
    const screen::FieldResult r = edit(kAmountRow, kAmountCol, 10, kUpOnly, 0, work_.amount);
    if (r.exitCode == screen::kExitEsc) return Step::Abandon;
    if (r.exitCode == screen::kExitUp) return Step::Back;
    if (r.exitCode != screen::kExitEnter) continue;
    const std::string amount = records::trim(r.text);
    // Money has cents at most: finer amounts would add up to totals the 12-character balance
    // fields cannot hold, and a cut total could no longer be undone exactly.
    const std::size_t point = amount.find('.');
    if (point != std::string::npos && amount.size() - point - 1 > 2) {
      session_.console.beep();
      continue;
    }
    work_.amount = amount;
    showAmount();
    return Step::Next;
  }
}

Step PaymentsWindow::askCashBank() {
  for (;;) {
    showLegend(screen::legend("", "", "", "", "", "", "", "", "Ricerca"));
    const screen::FieldResult r = edit(kCashBankRow, kCashBankCol, 4, kCashBankKeys, 0, work_.cashBank);
    double code = records::val(r.text);
    switch (r.exitCode) {
      case screen::kExitEsc: return Step::Abandon;
      case screen::kExitUp: return Step::Back;
      case 9: {
        if (cashBanks_ < 1) {
          session_.console.beep();
          continue;
        }
        const int chosen = screen::selectFromList(session_.console,
                                                 master::cashBankListEntries(session_.catalogue, cashBanks_), 1,
                                                 screen::searchListWindow(), "", screen::kSearchHighlight);
        if (chosen < 1) continue;
        code = chosen;
        break;
      }
      case screen::kExitEnter: break;
      default: continue;
    }
    if (records::wholeNumberIn(code, 0, cashBanks_) < 0) {
      session_.console.beep();
      continue;
    }
    work_.cashBank = records::codeText(static_cast<long>(code));
    showCashBank();
    return Step::Next;
  }
}

Step PaymentsWindow::askDescription() {
  for (;;) {
    showLegend(screen::legend("", "", "", "", "", "", "", "", ""));
    const screen::FieldResult r = edit(kDescriptionRow, kDescriptionCol, -kDescriptionWidth, kUpOnly, 0,
                                      work_.description);
    if (r.exitCode == screen::kExitEsc) return Step::Abandon;
    if (r.exitCode == screen::kExitUp) return Step::Back;
    if (r.exitCode != screen::kExitEnter) continue;
    work_.description = records::trimRight(r.text);
    return Step::Next;
  }
}

// The record first, then the old effect out and the new one in, then the count of a new one.
void PaymentsWindow::save() {
  records::Catalogue& catalogue = session_.catalogue;
  // The count, and what the payment posted when it was saved before, come from the files
  // inside the save: another terminal may have saved since the window read them.
  records::SaveTransaction transaction(catalogue);
  const records::RegisterHeader opened = header_;
  header_ = records::headerForSave(catalogue, kind_);
  current_ = static_cast<int>(records::placePayment(opened, header_, current_));
  loaded_ = effectOf(records::paymentOnFile(catalogue, header_, current_));
  put(kNumberRow, kNumberCol, records::printUsing(kCountMask, current_));
  records::Channel& payments = catalogue.channel(12);
  records::W_12(catalogue, work_);
  payments.write(current_);
  // What is posted is what the record now holds, so undoing it later reads the same values.
  payments.read(current_);
  records::Payment stored;
  records::L_12(catalogue, stored);
  const PaymentEffect now = effectOf(stored);
  repost(catalogue, kind_, loaded_, now);
  loaded_ = now;
  if (current_ == header_.payments + 1) {
    header_.payments = current_;
    records::writeHeader(catalogue, header_);
  }
  transaction.commit();
  showCount();
}

void PaymentsWindow::run() {
  screen::EditorSettings keep(session_.editor);
  records::Catalogue& catalogue = session_.catalogue;
  records::setRegisterStems(catalogue, records::registerInfo(kind_).stems);
  for (int channel : {3, 8, 12}) ensureOpen(catalogue, channel);
  records::openChannel(catalogue, 15);
  cashBanks_ = records::readCounter(catalogue, records::kCashBankCounter);

  screen::Window window(screen_, screen::screenWindow(session_.context(), 5, 3, 22, 76, 2), "P A G A M E N T I");
  drawTemplate();
  for (;;) {
    const int n = askNumber();
    if (n == 0) return;
    select(n);
    // Saved or abandoned, the window starts over at the payment number.
    editPayment();
    drawTemplate();
  }
}

}  // namespace

std::vector<std::string> paymentListEntries(records::Catalogue& catalogue, records::RegisterKind kind, int count) {
  std::vector<std::string> entries;
  for (int i = 1; i <= count; ++i) {
    catalogue.channel(12).read(i);
    records::Payment p;
    records::L_12(catalogue, p);
    const long c = effectOf(p).counterparty;
    std::string name(30, ' ');
    if (c > kCashBankBase)
      name = records::fitLeft(master::readCashBank(catalogue, static_cast<int>(c - kCashBankBase)).description, 26) + "    ";
    else if (c > 0 && c < kCashBankBase)
      name = records::fitLeft(counterpartyName(catalogue, kind, c), 30);
    entries.push_back(records::printUsing(kCountMask, i) + " " + records::dateText(p.date) + " " + name + " " +
                      records::printUsing(kListAmountMask, records::val(p.amount)));
  }
  return entries;
}

void runPaymentsWindow(screen::Session& session, records::RegisterKind kind, records::RegisterHeader& header) {
  PaymentsWindow(session, kind, header).run();
}

}  // namespace vellano::entry
