// The payments window: drawing, the payment number with its search list and page keys, the
// fields of one payment in tab order, and saving with the postings.
#include "entry/payments.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>

#include "entry/balances.h"
#include "entry/registration_lists.h"
#include "records/customer_files.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "records/register_guard.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/field_sequence.h"
#include "screen/glyphs.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/record_picker.h"
#include "screen/window.h"
#include "master/cash_banks.h"

namespace vellano::entry {
namespace {

constexpr int kMaxPayments = 9999;  // what the header's count field holds with its blank
constexpr int kBoxLeft = 4;
constexpr int kBoxRight = 75;

namespace channel = records::channel;
using screen::Go;
using screen::kExitUp;

constexpr std::string_view kHintCredit = "il conto versa  - va in Avere";
constexpr std::string_view kHintDebit = "la contropartita- va in Dare ";

// Positions of the fields and of what is shown beside them.
constexpr int kNumberRow = 8, kNumberCol = 23, kCountCol = 41;
constexpr int kPartyRow = 11, kPartyCol = 15, kNameCol = 20, kPartyAmountCol = 60;
constexpr int kDateRow = 15, kDateCol = 12, kDateShowCol = 11;
constexpr int kAmountRow = 15, kAmountCol = 28;
constexpr int kCashBankRow = 17, kCashBankCol = 21, kCashBankNameCol = 26, kCashBankAmountCol = 61;
constexpr int kDescriptionRow = 20, kDescriptionCol = 5, kDescriptionWidth = 70;

// F9 lists the payments, the page keys step through them.
constexpr screen::FieldSpec kNumberField = screen::numericField(kNumberRow, kNumberCol, 4)
                                               .withKeys({screen::kExitF9, screen::kExitPageUp})
                                               .withPageKeys(screen::PageKeys::PgUpPgDn);
// F8 lists the cash/bank accounts, F9 the customers or suppliers; no way back from the first field.
constexpr screen::FieldSpec kCounterpartyField =
    screen::numericField(kPartyRow, kPartyCol, 4).withKeys({screen::kExitF8, screen::kExitF9});
constexpr screen::FieldSpec kDateField = screen::numericField(kDateRow, kDateCol, 6).withKeys({kExitUp});
constexpr screen::FieldSpec kAmountField = screen::numericField(kAmountRow, kAmountCol, 10).withKeys({kExitUp});
constexpr screen::FieldSpec kCashBankField =
    screen::numericField(kCashBankRow, kCashBankCol, 4).withKeys({kExitUp, screen::kExitF9});
constexpr screen::FieldSpec kDescriptionField =
    screen::textField(kDescriptionRow, kDescriptionCol, kDescriptionWidth).withKeys({kExitUp});

constexpr const char* kCountMask = "####";
constexpr const char* kAmountMask = "##,###,###.##";
constexpr const char* kPartyAmountMask = "####,###,###.##";
constexpr const char* kCashBankAmountMask = "###,###,###.##";
constexpr const char* kListAmountMask = "#,###,###,###";

using screen::bar;
using screen::kBottomLeft, screen::kBottomRight, screen::kCross, screen::kTeeDown, screen::kTeeLeft;
using screen::kTeeRight, screen::kTeeUp, screen::kTopLeft, screen::kTopRight;

// A horizontal rule from `from` to `to` with the given characters at the given columns.
std::string ruleWith(int from, int to, std::initializer_list<std::pair<int, std::uint8_t>> marks) {
  std::string line = screen::rule(static_cast<std::size_t>(to - from + 1));
  for (const auto& [col, ch] : marks) line[static_cast<std::size_t>(col - from)] = static_cast<char>(ch);
  return line;
}

// The channel open on the file its stem names now; reopened when it is closed or on another file.
void ensureOpen(records::Catalogue& catalogue, int number) {
  const records::Channel& ch = catalogue.channel(number);
  if (!ch.isOpen() || ch.dosName() != catalogue.dosName(number)) catalogue.open(number);
}

records::CounterpartyKind counterpartyKind(records::RegisterKind kind) {
  return kind == records::RegisterKind::Sales ? records::CounterpartyKind::Customer : records::CounterpartyKind::Supplier;
}

std::string counterpartyName(records::Catalogue& catalogue, records::RegisterKind kind, long code) {
  records::Counterparty who;
  if (kind == records::RegisterKind::Sales) {
    records::openChannel(catalogue, channel::kCustomers).read(code);
    records::L_1(catalogue, who);
  } else {
    records::openChannel(catalogue, channel::kSuppliers).read(code);
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
  screen::FieldResult type(const screen::FieldSpec& field, std::string_view initial);

  int askNumber();  // the payment chosen, 0 to close the window
  std::optional<int> numberKey(int key);
  void select(int n);
  void showPayment();
  void showCount() { put(kNumberRow, kCountCol, records::printUsing(kCountMask, header_.payments)); }
  void showCounterparty();
  void showDate();
  void showAmount();
  void showCashBank();

  // The fields of a payment, each a step of the sequence.
  bool editPayment();  // true when saved
  Go askCounterparty();
  Go askDate();
  Go askAmount();
  Go askCashBank();
  Go askDescription();
  long chooseCashBank();      // -1 nothing chosen
  long chooseCounterparty();  // -1 nothing chosen
  bool counterpartyAccepted(double code) const;
  void save();

  bool sales() const { return kind_ == records::RegisterKind::Sales; }
  int counterparties() const {
    const records::Context& c = session_.context();
    return sales() ? records::countOf(c.customerCount, records::kMaxCustomers)
                   : records::countOf(c.supplierCount, records::kMaxSuppliers);
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

screen::FieldResult PaymentsWindow::type(const screen::FieldSpec& field, std::string_view initial) {
  session_.editor.setColours(colours_.editing, colours_.text);
  return session_.editor.edit(field, initial);
}

// ---- Drawing ----

void PaymentsWindow::drawTemplate() {
  const int l = kBoxLeft, r = kBoxRight;
  put(7, l, ruleWith(l, 45, {{l, kTopLeft}, {27, kTeeDown}, {45, kTopRight}}));
  put(8, l, bar() + "Codice pagamento:     " + bar() + "Progressivo:     " + bar());
  put(9, l, ruleWith(l, 45, {{l, kBottomLeft}, {27, kTeeUp}, {45, kBottomRight}}));

  put(10, l, ruleWith(l, r, {{l, kTopLeft}, {19, kTeeDown}, {51, kTeeDown}, {r, kTopRight}}));
  for (int row = 11; row <= 13; ++row) {
    put(row, l, bar() + std::string(14, ' ') + bar() + std::string(31, ' ') + bar() + std::string(23, ' ') + bar());
  }
  put(11, l + 1, "Cli/For :");
  put(11, 52, "Dare   :");
  put(12, 52, "Avere  :");
  put(13, 52, "Saldo  :");

  put(14, l, ruleWith(l, r, {{l, kTeeRight}, {19, kCross}, {41, kTeeDown}, {51, kTeeUp}, {r, kTeeLeft}}));
  put(15, l, bar() + "Data:" + std::string(9, ' ') + bar() + "Importo:" + std::string(13, ' ') + bar() +
                 std::string(33, ' ') + bar());
  put(15, 57, "D :");
  put(16, l, ruleWith(l, 41, {{l, kTeeRight}, {19, kTeeUp}, {41, kBottomRight}}) + std::string(33, ' ') + bar());
  put(16, 57, "A :");
  put(17, l, bar() + " Contropartita :" + std::string(54, ' ') + bar());
  put(17, 57, "S :");
  put(18, l, ruleWith(l, r, {{l, kBottomLeft}, {r, kBottomRight}}));

  std::string heading = ruleWith(l, r, {{l, kTopLeft}, {r, kTopRight}});
  const std::string title = " D e s c r i z i o n e ";
  heading.replace(2, title.size(), title);
  put(19, l, heading);
  put(20, l, bar() + std::string(70, ' ') + bar());
  put(21, l, ruleWith(l, r, {{l, kBottomLeft}, {r, kBottomRight}}));

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
    const records::CashBank account = records::readCashBank(session_.catalogue, static_cast<int>(c - kCashBankBase));
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
  const records::CashBank account = records::readCashBank(session_.catalogue, static_cast<int>(k));
  put(kCashBankRow, kCashBankNameCol, records::fitLeft(account.description, 26));
  put(15, kCashBankAmountCol, records::printUsing(kCashBankAmountMask, account.debit));
  put(16, kCashBankAmountCol, records::printUsing(kCashBankAmountMask, account.credit));
  put(17, kCashBankAmountCol, records::printUsing(kCashBankAmountMask, account.balance()));
}

// ---- Choosing a payment ----

int PaymentsWindow::askNumber() {
  showLegend(screen::legend({{9, "Ricerca"}}, screen::kPageNote));
  screen::RecordPicker picker;
  picker.field = kNumberField;
  picker.count = header_.payments;
  picker.current = current_;
  picker.pageKeys = true;
  // A payment file full to the count's field refuses one more.
  picker.highest = std::min(header_.payments + 1, kMaxPayments);
  picker.newRecord = [this] {
    if (header_.payments + 1 <= kMaxPayments) return header_.payments + 1;
    session_.console.beep();
    return 0;
  };
  picker.onKey = [this](int key) { return numberKey(key); };
  session_.editor.setColours(colours_.editing, colours_.text);
  return screen::pickRecord(session_, picker).record;
}

// F9 and the other page keys of the payment number: the payment to show, or nothing to ask again.
std::optional<int> PaymentsWindow::numberKey(int key) {
  switch (key) {
    case screen::kExitF9: {
      if (header_.payments < 1) {
        session_.console.beep();
        return std::nullopt;
      }
      const int from = current_ >= 1 && current_ <= header_.payments ? current_ : header_.payments;
      const int chosen =
          chooseFromList(session_.console, paymentListEntries(session_.catalogue, kind_, header_.payments), from);
      if (chosen >= 1) return chosen;
      return std::nullopt;
    }
    case screen::kExitTab:
      if (current_ > 1) return current_ - 1;
      return std::nullopt;
    case screen::kExitPlus:
      if (current_ < header_.payments) return current_ + 1;
      return std::nullopt;
    default: return std::nullopt;
  }
}

void PaymentsWindow::select(int n) {
  current_ = n;
  put(kNumberRow, kNumberCol, records::printUsing(kCountMask, n));
  work_ = records::Payment{};
  loaded_ = PaymentEffect{};
  // A new payment starts empty whatever lies past the count in the file: it never moved anything.
  if (n <= header_.payments) {
    session_.catalogue.channel(channel::kPayments).read(n);
    records::L_12(session_.catalogue, work_);
    loaded_ = effectOf(work_);
  }
  showPayment();
}

// ---- The fields of one payment ----

bool PaymentsWindow::editPayment() {
  const screen::SequenceEnd end = screen::runSequence({
      [this] { return askCounterparty(); },
      [this] { return askDate(); },
      [this] { return askAmount(); },
      [this] { return askCashBank(); },
      [this] { return askDescription(); },
  });
  if (end != screen::SequenceEnd::Completed) return false;
  save();
  return true;
}

long PaymentsWindow::chooseCashBank() {
  // The purchase register takes suppliers only: a cash/bank counterparty is refused at once.
  if (!sales() || cashBanks_ < 1) {
    session_.console.beep();
    return -1;
  }
  const int chosen = chooseFromList(session_.console, records::cashBankListEntries(session_.catalogue, cashBanks_), 1);
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
    records::openChannel(catalogue, channel::kCustomers);
  } else {
    records::openChannel(catalogue, channel::kSuppliers);
    records::openChannel(catalogue, channel::kOtherSuppliers);
  }
  const std::vector<std::string> entries = records::buildSelectionList(catalogue, counterpartyKind(kind_), count);
  const int chosen = chooseFromList(session_.console, entries, 1);
  return chosen >= 1 ? chosen : -1;
}

// A customer or supplier, or in the sales register 8000 + a cash/bank account.
bool PaymentsWindow::counterpartyAccepted(double code) const {
  if (code > kCashBankBase) return sales() && records::wholeNumberIn(code - kCashBankBase, 1, cashBanks_) >= 0;
  return code < kCashBankBase && records::wholeNumberIn(code, 1, counterparties()) >= 0;
}

Go PaymentsWindow::askCounterparty() {
  showLegend(screen::legend({{8, "Ric CasBan"}, {9, "Ricerca"}}, "8000+Codic", "Cassa/Banc"));
  const screen::FieldResult r = type(kCounterpartyField, work_.counterparty);
  double code = records::val(r.text);
  long chosen = 0;
  switch (r.exitCode) {
    case screen::kExitEsc: return Go::abandon();
    case screen::kExitF8:
      chosen = chooseCashBank();
      if (chosen < 0) return Go::again();
      code = static_cast<double>(kCashBankBase + chosen);
      break;
    case screen::kExitF9:
      chosen = chooseCounterparty();
      if (chosen < 0) return Go::again();
      code = static_cast<double>(chosen);
      break;
    case screen::kExitEnter:
      if (code == kCashBankBase || code == 0) {
        chosen = code == 0 ? chooseCounterparty() : chooseCashBank();
        if (chosen < 0) return Go::again();
        code = static_cast<double>(code == 0 ? chosen : kCashBankBase + chosen);
      }
      break;
    default: return Go::again();
  }
  if (!counterpartyAccepted(code)) {
    session_.console.beep();
    return Go::again();
  }
  work_.counterparty = records::codeText(static_cast<long>(code));
  showCounterparty();
  return Go::next();
}

Go PaymentsWindow::askDate() {
  const std::string& workingDate = session_.context().workingDate;
  const int workingYear = static_cast<int>(records::val(session_.context().yearSuffix));
  showLegend(screen::legend({}));
  const std::string initial = records::val(work_.date) == 0 ? workingDate : work_.date;
  const screen::FieldResult r = type(kDateField, initial);
  if (r.exitCode != screen::kExitEnter) return screen::goFor(r.exitCode);
  std::string date = records::trim(r.text);
  if (records::val(date) == 0) date = workingDate;
  if (records::val(date) == 0 || !records::dateValid(date, workingYear, false)) {
    session_.console.beep();
    return Go::again();
  }
  work_.date = date;
  showDate();
  return Go::next();
}

Go PaymentsWindow::askAmount() {
  const screen::FieldResult r = type(kAmountField, work_.amount);
  if (r.exitCode != screen::kExitEnter) return screen::goFor(r.exitCode);
  const std::string amount = records::trim(r.text);
  // Money has cents at most: finer amounts would add up to totals the 12-character balance
  // fields cannot hold, and a cut total could no longer be undone exactly.
  const std::size_t point = amount.find('.');
  if (point != std::string::npos && amount.size() - point - 1 > 2) {
    session_.console.beep();
    return Go::again();
  }
  work_.amount = amount;
  showAmount();
  return Go::next();
}

Go PaymentsWindow::askCashBank() {
  showLegend(screen::legend({{9, "Ricerca"}}));
  const screen::FieldResult r = type(kCashBankField, work_.cashBank);
  double code = records::val(r.text);
  switch (r.exitCode) {
    case screen::kExitEsc: return Go::abandon();
    case kExitUp: return Go::back();
    case screen::kExitF9: {
      if (cashBanks_ < 1) {
        session_.console.beep();
        return Go::again();
      }
      const int chosen =
          chooseFromList(session_.console, records::cashBankListEntries(session_.catalogue, cashBanks_), 1);
      if (chosen < 1) return Go::again();
      code = chosen;
      break;
    }
    case screen::kExitEnter: break;
    default: return Go::again();
  }
  if (records::wholeNumberIn(code, 0, cashBanks_) < 0) {
    session_.console.beep();
    return Go::again();
  }
  work_.cashBank = records::codeText(static_cast<long>(code));
  showCashBank();
  return Go::next();
}

Go PaymentsWindow::askDescription() {
  showLegend(screen::legend({}));
  const screen::FieldResult r = type(kDescriptionField, work_.description);
  if (r.exitCode != screen::kExitEnter) return screen::goFor(r.exitCode);
  work_.description = records::trimRight(r.text);
  return Go::next();
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
  records::Channel& payments = catalogue.channel(channel::kPayments);
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
  records::Catalogue& catalogue = session_.catalogue;
  records::setRegisterStems(catalogue, records::registerInfo(kind_).stems);
  for (int number : {channel::kRegisterHeader, channel::kBalances, channel::kPayments}) ensureOpen(catalogue, number);
  records::openChannel(catalogue, channel::kCashBanks);
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
    catalogue.channel(channel::kPayments).read(i);
    records::Payment p;
    records::L_12(catalogue, p);
    const long c = effectOf(p).counterparty;
    std::string name(30, ' ');
    if (c > kCashBankBase)
      name = records::fitLeft(records::readCashBank(catalogue, static_cast<int>(c - kCashBankBase)).description, 26) + "    ";
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
