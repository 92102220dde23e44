// The customer and supplier screen.
#include "master/customers.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "master/fiscal_checks.h"
#include "records/cp437_text.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/field_editor.h"
#include "screen/field_sequence.h"
#include "screen/glyphs.h"
#include "screen/legend.h"
#include "screen/list_select.h"
#include "screen/palette.h"
#include "screen/print_handover.h"
#include "screen/record_picker.h"
#include "screen/window.h"

namespace vellano::master {
namespace {

using screen::FieldResult;
using screen::FieldSpec;
using screen::Go;
using screen::kExitF8;
using screen::kExitF9;
using screen::kExitPageUp;
using screen::kExitUp;
using screen::PageKeys;
using screen::Session;

constexpr std::uint8_t kTextAttr = 0x1F;   // white on blue
constexpr std::uint8_t kFrameAttr = 0x1E;  // yellow on blue
constexpr const char* kAmountMask = "###,###,###.##";
constexpr std::size_t kAmountWidth = 14;

std::string codeLegend() { return screen::legend({{8, "Stam Saldi"}, {9, "Ricerca"}}, screen::kPageNote); }
std::string searchLegend() { return screen::legend({{8, "Ins Nuovo"}, {9, "Ricerca"}}); }
std::string nameLegend() { return screen::legend({{9, "Lista Mov"}}, screen::kPageNote); }
std::string fieldLegend() { return screen::legend({}); }

// Code field: F8, F9, ESC and the page keys end it.
constexpr FieldSpec kCodeField =
    screen::numericField(4, 11, 4).withKeys({kExitF8, kExitF9, kExitPageUp}).withPageKeys(PageKeys::PgUpPgDn);

// The record fields in the order they are typed. Ragione sociale pages through the codes and
// hands over on F9; the others end on Up.
enum FieldIndex { kName, kName2, kStreet, kHouseNumber, kTown, kPostcode, kProvince,
                  kFiscalCode, kVatNumber, kDare, kAvere, kFieldCount };

constexpr screen::KeyMask kUp{kExitUp};
constexpr FieldSpec kFields[kFieldCount] = {
    screen::textField(7, 20, 30).withKeys({kExitUp, kExitF9, kExitPageUp}).withPageKeys(PageKeys::PgUpPgDn),
    screen::textField(8, 20, 30).withKeys(kUp),
    screen::textField(10, 20, 30).withKeys(kUp),
    screen::textField(10, 62, 5).withKeys(kUp),
    screen::textField(12, 20, 20).withKeys(kUp),
    screen::textField(12, 53, 5).withKeys(kUp),
    screen::textField(12, 65, 2).withKeys(kUp).inCapitals(),
    screen::textField(19, 20, 16).withKeys(kUp).inCapitals(),
    screen::textField(21, 20, 11).withKeys(kUp),
    screen::numericField(17, 64, 10).withKeys(kUp),
    screen::numericField(19, 64, 10).withKeys(kUp),
};

constexpr int kFiscalMarkRow = 19;
constexpr int kVatMarkRow = 21;
constexpr int kMarkCol = 46;

class CounterpartyScreen {
 public:
  CounterpartyScreen(Session& session, records::CounterpartyKind kind)
      : session_(session), kind_(kind), screen_(session.console.screen()) {}

  void run();

 private:
  bool customers() const { return kind_ == records::CounterpartyKind::Customer; }
  int maxCount() const { return customers() ? records::kMaxCustomers : records::kMaxSuppliers; }
  std::string titleWord() const { return customers() ? "  CLIENTI" : "FORNITORI"; }

  void drawLayout();
  void showCount();
  void showRecord();
  void showField(int index);
  void showAmount(int row, double value);
  void showMark(int row, bool bad);
  void showLegend(std::string_view legend) { session_.panel.show(screen_, legend); }

  int codeField();  // 0: leave the screen
  std::optional<int> codeKey(int exitCode);
  std::optional<int> search();
  std::optional<long> pageMove(int exitCode) const;
  void load(long code);
  void editRecord();
  Go fieldStep(int index);
  FieldResult editField(int index);
  bool acceptChecked(int index, const std::string& typed);
  void save();

  std::string& text(int index);

  Session& session_;
  records::CounterpartyKind kind_;
  platform::ScreenBuffer& screen_;
  int count_ = 0;
  long code_ = 0;  // 0 until a code is chosen
  records::Counterparty who_;
  records::BalanceTotals totals_;
  records::BalanceTotals loadedTotals_;  // as read, to tell typed totals from untouched ones
  std::vector<std::string> list_;
  std::string rejectedFiscalCode_;
  std::string rejectedVatNumber_;
};

// The screen leaves the editor with the keys the program starts with.
void CounterpartyScreen::run() {
  records::Catalogue& catalogue = session_.catalogue;
  records::openCounterpartyFiles(catalogue, kind_);
  count_ = records::readCount(catalogue, kind_);
  list_ = records::buildSelectionList(catalogue, kind_, count_);

  const std::string ext = session_.context().customerExtension;
  screen::Window window(screen_, screen::windowAt(1, 1, 50, 120).framed(2).titled(2).coloured(kTextAttr, kFrameAttr, kFrameAttr),
                        "GESTIONE " + titleWord() + " (" + ext + ")");
  session_.editor.setColours(screen::palette(session_.context().install.colourScheme).fieldEditing,
                             kTextAttr);
  drawLayout();
  showCount();

  while (const int code = codeField()) {
    load(code);
    editRecord();
  }
  session_.editor.setPageKeyMode(0);
  session_.editor.setKeyMask(std::string(screen::kDefaultKeyMask));
}

void CounterpartyScreen::drawLayout() {
  screen_.putText(4, 2, "CODICE:", kTextAttr);
  screen_.putText(4, 11, screen::dots(4), kTextAttr);
  screen_.putText(4, 17, "[" + screen::dots(4) + "]", kTextAttr);
  screen_.putText(6, 2, screen::rule(118), kTextAttr);
  auto label = [&](int row, const char* text) { screen_.putText(row, 3, records::cp437(text), kTextAttr); };
  label(7, "Ragione Sociale:");
  label(8, "               :");
  label(10, "Indirizzo......:");
  screen_.putText(10, 51, "N. Civico:", kTextAttr);
  label(12, "Citta'.........:");
  screen_.putText(12, 48, "Cap:", kTextAttr);
  screen_.putText(12, 59, "Prov:", kTextAttr);
  label(19, "Codice fiscale.:");
  label(21, "Partita IVA....:");
  for (int i = kName; i <= kVatNumber; ++i)
    screen_.putText(kFields[i].row, kFields[i].col, screen::dots(static_cast<std::size_t>(kFields[i].length)),
                    kTextAttr);

  screen::drawWindow(screen_, screen::windowAt(16, 52, 22, 78).framed(1).coloured(kTextAttr, kFrameAttr, kFrameAttr), {});
  screen_.putText(17, 53, "Dare   :", kTextAttr);
  screen_.putText(19, 53, "Avere  :", kTextAttr);
  screen_.putText(21, 53, "Saldo  :", kTextAttr);
}

void CounterpartyScreen::showCount() {
  screen_.putText(4, 18, records::printUsing("#####", count_), kTextAttr);
  screen_.putText(4, 23, "]", kTextAttr);
}

std::string& CounterpartyScreen::text(int index) {
  switch (index) {
    case kName: return who_.name;
    case kName2: return who_.name2;
    case kStreet: return who_.street;
    case kHouseNumber: return who_.houseNumber;
    case kTown: return who_.town;
    case kPostcode: return who_.postcode;
    case kProvince: return who_.province;
    case kFiscalCode: return who_.fiscalCode;
    default: return who_.vatNumber;
  }
}

void CounterpartyScreen::showField(int index) {
  const FieldSpec& f = kFields[index];
  screen_.putText(f.row, f.col, records::fitLeft(text(index), static_cast<std::size_t>(f.length)), kTextAttr);
}

void CounterpartyScreen::showAmount(int row, double value) {
  screen_.putText(row, 64, records::fitRight(records::printUsing(kAmountMask, value), kAmountWidth), kTextAttr);
}

void CounterpartyScreen::showMark(int row, bool bad) {
  screen_.putText(row, kMarkCol, bad ? "??" : "  ", kTextAttr);
}

// The chosen code, its record and balance on screen. A record already stored gets its marks;
// a new one starts clean.
void CounterpartyScreen::load(long code) {
  code_ = code;
  who_ = records::readCounterparty(session_.catalogue, kind_, code);
  totals_ = records::readBalance(session_.catalogue, code);
  loadedTotals_ = totals_;
  rejectedFiscalCode_.clear();
  rejectedVatNumber_.clear();
  showRecord();
}

void CounterpartyScreen::showRecord() {
  screen_.putText(4, 11, records::printUsing("####", static_cast<double>(code_)), kTextAttr);
  for (int i = kName; i <= kVatNumber; ++i) showField(i);
  showAmount(17, totals_.dare);
  showAmount(19, totals_.avere);
  const double saldo = totals_.dare - totals_.avere;
  showAmount(21, saldo);
  screen_.put(21, 62, saldo >= 0 ? 'D' : 'A', kTextAttr);
  const bool stored = code_ <= count_;
  showMark(kFiscalMarkRow, stored && !fiscalCodeValid(who_.fiscalCode));
  showMark(kVatMarkRow, stored && !vatNumberValid(who_.vatNumber));
}

// PgUp and "-" go back one code, PgDn and "+" forward (the "Pag+-" note); the page-key mode
// makes Tab end the field as "-" does.
std::optional<long> CounterpartyScreen::pageMove(int exitCode) const {
  if (exitCode == screen::kExitPageUp || exitCode == screen::kExitTab) {
    if (code_ > 1) return code_ - 1;
  } else if (exitCode == screen::kExitPageDown || exitCode == screen::kExitPlus) {
    if (code_ < count_) return code_ + 1;
  }
  return std::nullopt;
}

// 0 or blank is a new code; anything outside 1..count+1, or a new code the counter file
// could not hold, is refused.
int CounterpartyScreen::codeField() {
  showLegend(codeLegend());
  screen::RecordPicker picker;
  picker.field = kCodeField;
  picker.initial = code_ > 0 ? std::to_string(code_) : std::string();
  picker.count = count_;
  picker.current = static_cast<int>(code_);
  picker.highest = std::min(count_ + 1, maxCount());
  picker.pageKeys = true;
  picker.newRecord = [this] {
    if (count_ + 1 <= maxCount()) return count_ + 1;
    session_.console.beep();
    return 0;
  };
  picker.onKey = [this](int exitCode) { return codeKey(exitCode); };
  return screen::pickRecord(session_, picker).record;
}

// F8 prints the balances; F9 opens the customers' own search; "-" (or Tab) and "+" page.
std::optional<int> CounterpartyScreen::codeKey(int exitCode) {
  if (exitCode == kExitF8) screen::handOverToPrintProgram(session_, customers() ? "41" : "42");
  if (exitCode == kExitF9) {
    if (const std::optional<int> chosen = search()) return chosen;
    showLegend(codeLegend());
    return std::nullopt;
  }
  if (const std::optional<long> next = pageMove(exitCode)) return static_cast<int>(*next);
  return std::nullopt;
}

// The list with its own legend and an "ESC" mark beside it; nothing chosen on ESC.
std::optional<int> CounterpartyScreen::search() {
  if (count_ == 0) {
    session_.console.beep();
    return std::nullopt;
  }
  showLegend(searchLegend());
  screen_.putText(24, 70, "ESC", kTextAttr);
  const int current = code_ >= 1 && code_ <= count_ ? static_cast<int>(code_) : 1;
  const int chosen =
      screen::selectFromList(session_.console, list_, current, screen::searchListWindow(),
                            records::trim(titleWord()), screen::kSearchHighlight);
  screen_.putText(24, 70, "   ", kTextAttr);
  if (chosen == screen::kListEsc) return std::nullopt;
  return chosen;
}

FieldResult CounterpartyScreen::editField(int index) {
  const FieldSpec& f = kFields[index];
  showLegend(index == kName ? nameLegend() : fieldLegend());
  if (index == kDare || index == kAvere) {
    const double value = index == kDare ? totals_.dare : totals_.avere;
    screen_.putText(f.row, f.col, std::string(kAmountWidth, ' '), kTextAttr);
    return session_.editor.edit(f, value == 0 ? std::string() : records::trim(records::str(value)));
  }
  return session_.editor.edit(f, text(index));
}

// The fiscal-code and VAT-number rule: a failing value is marked and asked again, unless it
// is the same as the one refused last time.
bool CounterpartyScreen::acceptChecked(int index, const std::string& typed) {
  const bool fiscal = index == kFiscalCode;
  const bool valid = fiscal ? fiscalCodeValid(typed) : vatNumberValid(typed);
  std::string& rejected = fiscal ? rejectedFiscalCode_ : rejectedVatNumber_;
  showMark(fiscal ? kFiscalMarkRow : kVatMarkRow, !valid);
  if (valid || typed == rejected) {
    rejected.clear();
    return true;
  }
  // Refused: the value stays in the field for the next try.
  rejected = typed;
  text(index) = typed;
  return false;
}

// ESC reloads the record as stored. In Ragione sociale the page keys load the neighbouring
// code; in the other text fields Tab keeps what was typed.
Go CounterpartyScreen::fieldStep(int index) {
  const FieldResult r = editField(index);
  switch (r.exitCode) {
    case screen::kExitEsc:
      load(code_);
      return Go::abandon();
    case kExitUp: return Go::back();
    case kExitF9:
      screen::handOverToPrintProgram(session_, customers() ? "43" : "44", std::to_string(code_));
    case screen::kExitEnter: break;
    default:
      if (index == kName) {
        if (std::optional<long> next = pageMove(r.exitCode)) load(*next);
      } else if (index <= kVatNumber) {
        text(index) = records::trimRight(r.text);
      }
      return Go::again();
  }
  const std::string typed = records::trimRight(r.text);
  if (index == kDare || index == kAvere) {
    (index == kDare ? totals_.dare : totals_.avere) = records::val(typed);
    showAmount(kFields[index].row, index == kDare ? totals_.dare : totals_.avere);
  } else {
    if ((index == kFiscalCode || index == kVatNumber) && !acceptChecked(index, typed)) return Go::again();
    text(index) = typed;
    showField(index);
  }
  return Go::next();
}

void CounterpartyScreen::editRecord() {
  std::vector<screen::SequenceStep> steps;
  for (int index = kName; index < kFieldCount; ++index) steps.push_back([this, index] { return fieldStep(index); });
  if (screen::runSequence(steps) == screen::SequenceEnd::Completed) save();
}

void CounterpartyScreen::save() {
  records::Catalogue& catalogue = session_.catalogue;
  // Another terminal may have added a code, or posted to this one, since they were read: the
  // count and the totals not typed here are the ones on file inside the save.
  records::SaveTransaction transaction(catalogue);
  const bool adding = code_ > count_;
  count_ = records::readCount(catalogue, kind_);
  if (adding) code_ = count_ + 1;
  if (code_ > maxCount()) {
    session_.console.beep();
    return;
  }
  const records::BalanceTotals stored = records::readBalance(catalogue, code_);
  const records::BalanceTotals typed = totals_;
  if (totals_.dare == loadedTotals_.dare) totals_.dare = stored.dare;
  if (totals_.avere == loadedTotals_.avere) totals_.avere = stored.avere;
  records::writeCounterparty(catalogue, kind_, code_, who_, totals_);
  if (code_ == count_ + 1) {
    ++count_;
    records::writeCount(catalogue, kind_, count_);
    records::Context& context = session_.context();
    (customers() ? context.customerCount : context.supplierCount) = static_cast<float>(count_);
    list_ = records::buildSelectionList(catalogue, kind_, count_);
  }
  transaction.commit();
  loadedTotals_ = totals_;
  // The Saldo waits until the record is shown again, unless another terminal's postings
  // changed what is on screen.
  if (totals_.dare != typed.dare || totals_.avere != typed.avere) showRecord();
  showCount();
}

}  // namespace

void runCounterpartyScreen(Session& session, records::CounterpartyKind kind) {
  CounterpartyScreen(session, kind).run();
}

void runCustomerScreen(Session& session, std::string_view) {
  runCounterpartyScreen(session, records::CounterpartyKind::Customer);
}

void runSupplierScreen(Session& session, std::string_view) {
  runCounterpartyScreen(session, records::CounterpartyKind::Supplier);
}

}  // namespace vellano::master
