// The customer and supplier screen.
#include "master/customers.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "records/cp437_text.h"
#include "screen/field_editor.h"
#include "screen/list_select.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "screen/palette.h"
#include "screen/print_handover.h"
#include "records/text.h"
#include "screen/window.h"
#include "master/fiscal_checks.h"

namespace vellano::master {
namespace {

using screen::FieldResult;
using screen::Session;

constexpr std::uint8_t kTextAttr = 0x1F;   // white on blue
constexpr std::uint8_t kFrameAttr = 0x1E;  // yellow on blue
constexpr std::uint8_t kDot = 0xFA;        // input areas
constexpr std::uint8_t kRule = 0xC4;
constexpr const char* kAmountMask = "###,###,###.##";
constexpr std::size_t kAmountWidth = 14;

constexpr std::string_view kCodeLegend =
    "1          |2          |3          |4          |5          |6          |7          "
    "|8Stam Saldi|9Ricerca   |Pag+-     |          ";
constexpr std::string_view kSearchLegend =
    "1          |2          |3          |4          |5          |6          |7          "
    "|8Ins Nuovo |9Ricerca   |          |          ";
constexpr std::string_view kNameLegend =
    "1          |2          |3          |4          |5          |6          |7          "
    "|8          |9Lista Mov |Pag+-     |          ";
constexpr std::string_view kFieldLegend =
    "1          |2          |3          |4          |5          |6          |7          "
    "|8          |9          |          |          ";

// Code field: F8, F9, ESC and PgUp end it. Ragione sociale: Up, F9 and PgUp. Others: Up.
constexpr std::string_view kCodeKeys = "00000001101";
constexpr std::string_view kNameKeys = "10000000101";
constexpr std::string_view kFieldKeys = "10000000000";

// The record fields in the order they are typed.
enum FieldIndex { kName, kName2, kStreet, kHouseNumber, kTown, kPostcode, kProvince,
                  kFiscalCode, kVatNumber, kDare, kAvere, kFieldCount };

struct FieldPlace {
  int row;
  int col;
  int width;
};
constexpr FieldPlace kPlaces[kFieldCount] = {
    {7, 20, 30}, {8, 20, 30}, {10, 20, 30}, {10, 62, 5}, {12, 20, 20}, {12, 53, 5},
    {12, 65, 2}, {19, 20, 16}, {21, 20, 11}, {17, 64, 10}, {19, 64, 10}};

constexpr int kFiscalMarkRow = 19;
constexpr int kVatMarkRow = 21;
constexpr int kMarkCol = 46;

std::string dots(std::size_t n) { return std::string(n, static_cast<char>(kDot)); }

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

  std::optional<long> codeField();
  std::optional<long> typedCode(const std::string& text);
  std::optional<long> search();
  std::optional<long> pageMove(int exitCode) const;
  void load(long code);
  void editRecord();
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

void CounterpartyScreen::run() {
  records::Catalogue& catalogue = session_.catalogue;
  records::openCounterpartyFiles(catalogue, kind_);
  count_ = records::readCount(catalogue, kind_);
  list_ = records::buildSelectionList(catalogue, kind_, count_);

  screen::WindowDescriptor d;
  d.top = 1;
  d.left = 1;
  d.bottom = 50;
  d.right = 120;
  d.borderStyle = 2;
  d.titlePosition = 2;
  d.interiorAttr = kTextAttr;
  d.borderAttr = kFrameAttr;
  d.titleAttr = kFrameAttr;
  const std::string ext = session_.context().customerExtension;
  screen::Window window(screen_, d, "GESTIONE " + titleWord() + " (" + ext + ")");
  session_.editor.setColours(screen::palette(session_.context().install.colourScheme).fieldEditing,
                             kTextAttr);
  drawLayout();
  showCount();

  for (;;) {
    std::optional<long> code = codeField();
    if (!code) break;
    load(*code);
    editRecord();
  }
  session_.editor.setPageKeyMode(0);
  session_.editor.setKeyMask(std::string(screen::kDefaultKeyMask));
}

void CounterpartyScreen::drawLayout() {
  screen_.putText(4, 2, "CODICE:", kTextAttr);
  screen_.putText(4, 11, dots(4), kTextAttr);
  screen_.putText(4, 17, "[" + dots(4) + "]", kTextAttr);
  for (int col = 2; col <= 119; ++col) screen_.put(6, col, kRule, kTextAttr);
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
    screen_.putText(kPlaces[i].row, kPlaces[i].col, dots(static_cast<std::size_t>(kPlaces[i].width)), kTextAttr);

  screen::WindowDescriptor box;
  box.top = 16;
  box.left = 52;
  box.bottom = 22;
  box.right = 78;
  box.borderStyle = 1;
  box.interiorAttr = kTextAttr;
  box.borderAttr = kFrameAttr;
  screen::drawWindow(screen_, box, {});
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
  const FieldPlace& p = kPlaces[index];
  screen_.putText(p.row, p.col, records::fitLeft(text(index), static_cast<std::size_t>(p.width)), kTextAttr);
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

std::optional<long> CounterpartyScreen::codeField() {
  screen::FieldEditor& editor = session_.editor;
  for (;;) {
    showLegend(kCodeLegend);
    editor.setKeyMask(std::string(kCodeKeys));
    editor.setPageKeyMode(1);
    session_.console.setCursor(4, 11);
    const FieldResult r = editor.edit(4, code_ > 0 ? std::to_string(code_) : std::string());
    std::optional<long> chosen;
    switch (r.exitCode) {
      case screen::kExitEsc: return std::nullopt;
      case 8: screen::handOverToPrintProgram(session_, customers() ? "41" : "42");
      case 9: chosen = search(); break;
      case screen::kExitEnter: chosen = typedCode(r.text); break;
      default: chosen = pageMove(r.exitCode); break;
    }
    if (code_ > 0) screen_.putText(4, 11, records::printUsing("####", static_cast<double>(code_)), kTextAttr);
    if (chosen) return chosen;
  }
}

// 0 or blank is a new code; anything outside 1..count+1, or a new code the counter file
// could not hold, is refused.
std::optional<long> CounterpartyScreen::typedCode(const std::string& text) {
  const double value = records::val(text);
  long code = 0;
  if (value == 0) {
    code = count_ + 1;
  } else if (value >= 1 && value <= count_ + 1 && value == std::floor(value)) {
    code = static_cast<long>(value);
  }
  if (code < 1 || code > maxCount()) {
    session_.console.beep();
    return std::nullopt;
  }
  return code;
}

std::optional<long> CounterpartyScreen::search() {
  if (count_ == 0) {
    session_.console.beep();
    return std::nullopt;
  }
  showLegend(kSearchLegend);
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
  screen::FieldEditor& editor = session_.editor;
  const FieldPlace& p = kPlaces[index];
  const bool name = index == kName;
  showLegend(name ? kNameLegend : kFieldLegend);
  editor.setKeyMask(std::string(name ? kNameKeys : kFieldKeys));
  editor.setPageKeyMode(name ? 1 : 0);
  if (index == kDare || index == kAvere) {
    const double value = index == kDare ? totals_.dare : totals_.avere;
    screen_.putText(p.row, p.col, std::string(kAmountWidth, ' '), kTextAttr);
    session_.console.setCursor(p.row, p.col);
    return editor.edit(p.width, value == 0 ? std::string() : records::trim(records::str(value)));
  }
  if (index == kFiscalCode || index == kProvince) editor.setCapitals(true);
  session_.console.setCursor(p.row, p.col);
  return editor.edit(-p.width, text(index));
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

void CounterpartyScreen::editRecord() {
  int index = kName;
  while (index < kFieldCount) {
    const FieldResult r = editField(index);
    switch (r.exitCode) {
      case screen::kExitEsc:
        load(code_);
        return;
      case screen::kExitUp:
        if (index > kName) --index;
        continue;
      case 9:
        screen::handOverToPrintProgram(session_, customers() ? "43" : "44", std::to_string(code_));
      case screen::kExitEnter: break;
      default:
        if (index == kName) {
          if (std::optional<long> next = pageMove(r.exitCode)) {
            load(*next);
            index = kName;
          }
        } else if (index <= kVatNumber) {
          text(index) = records::trimRight(r.text);  // Tab: keep what was typed
        }
        continue;
    }
    const std::string typed = records::trimRight(r.text);
    if (index == kDare || index == kAvere) {
      (index == kDare ? totals_.dare : totals_.avere) = records::val(typed);
      showAmount(kPlaces[index].row, index == kDare ? totals_.dare : totals_.avere);
    } else {
      if ((index == kFiscalCode || index == kVatNumber) && !acceptChecked(index, typed)) continue;
      text(index) = typed;
      showField(index);
    }
    ++index;
  }
  save();
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
  showRecord();
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
