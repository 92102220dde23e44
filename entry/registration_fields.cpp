// The fields of a registration before its VAT lines, in tab order: date, counterparty,
// document, note, protocol and quantity.
#include <cmath>

#include "entry/annul.h"
#include "entry/registration_editor.h"
#include "entry/registration_lists.h"
#include "records/dates.h"
#include "screen/list_select.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/kit.h"
#include "records/customer_files.h"
#include "master/customers.h"

namespace vellano::entry {
namespace {

constexpr std::string_view kUpOnly = "10000000000";
constexpr std::string_view kDateKeys = "00000000101";          // F9 and PgUp
constexpr std::string_view kCounterpartyKeys = "10000001100";  // Up, F8, F9
constexpr int kLastHeadField = 9;

std::string plainLegend() { return screen::legend("", "", "", "", "", "", "", "", ""); }

}  // namespace

bool RegistrationEditor::editRegistration() {
  int field = 1;
  for (;;) {
    if (field <= kLastHeadField) {
      const Step step = askField(field);
      if (step == Step::Abandon) return false;
      if (step == Step::Back) field = field > 2 ? field - 1 : 1;
      else ++field;
      continue;
    }
    const Step step = editLines();
    if (step == Step::Abandon) return false;
    if (step == Step::Back) {
      field = kLastHeadField;
      continue;
    }
    save();
    return true;
  }
}

Step RegistrationEditor::askField(int field) {
  switch (field) {
    case 1: return askDate();
    case 2: return askCounterparty();
    case 3: return askDocumentNumber();
    case 4: return askDocumentDate();
    case 5: return askNote();
    case 6: return askLetter();
    case 7: return askSection();
    case 8: return askProtocol();
    default: return askQuantity();
  }
}

bool RegistrationEditor::dateAccepted(std::string_view date) const {
  const int workingYear = static_cast<int>(records::val(session_.context().yearSuffix));
  return records::val(date) != 0 && records::dateValid(date, workingYear, false);
}

Step RegistrationEditor::askDate() {
  const std::string& workingDate = session_.context().workingDate;
  for (;;) {
    const bool annulled = work_.annulled();
    showLegend(screen::legend("", "", "", "", "", "", "", "", annulled ? "Ripris Reg" : "AnnullaReg",
                              screen::kPageNote));
    const bool zero = records::val(work_.date) == 0;
    // The field sits inside the dd.mm.yy area: its dots come back so no part of the date
    // shown before is left around the digits being typed.
    put(2, 8, std::string(2, '\xFA') + "." + std::string(2, '\xFA') + "." + std::string(2, '\xFA'));
    const screen::FieldResult r = edit(2, 9, 6, kDateKeys, 1, zero && !annulled ? workingDate : work_.date);
    switch (r.exitCode) {
      case screen::kExitEsc: return Step::Abandon;
      case 9:
        if (current_ < 1 || current_ > header_.count) {
          session_.console.beep();
          continue;
        }
        if (annulOrRestore(session_, kind_, current_, work_) == AnnulResult::Changed) return Step::Abandon;
        continue;
      case screen::kExitPageUp:
      case screen::kExitTab:
        if (current_ > 1) select(current_ - 1);
        continue;
      case screen::kExitPageDown:
      case screen::kExitPlus:
        if (current_ >= 1 && current_ < header_.count) select(current_ + 1);
        continue;
      case screen::kExitEnter: break;
      default: continue;
    }
    std::string date = records::trim(r.text);
    if (records::val(date) == 0) {
      if (annulled) {
        put(2, 8, std::string(8, ' '));
        return Step::Next;
      }
      date = workingDate;
    }
    if (!dateAccepted(date)) {
      session_.console.beep();
      continue;
    }
    work_.date = date;
    put(2, 40, std::string(16, ' '));
    put(2, 8, records::dateText(date));
    return Step::Next;
  }
}

long RegistrationEditor::chooseCounterparty(bool supplierList) {
  records::Catalogue& catalogue = session_.catalogue;
  const records::CounterpartyKind kind =
      supplierList ? records::CounterpartyKind::Supplier : records::CounterpartyKind::Customer;
  const int count = supplierList ? suppliers() : customers();
  if (count < 1) {
    if (supplierList) {
      session_.console.beep();
      return -1;
    }
    return 0;  // no customers: the list is skipped
  }
  if (supplierList) {
    records::openChannel(catalogue, 7);
    records::openChannel(catalogue, 71);
  } else {
    records::openChannel(catalogue, 1);
  }
  const std::vector<std::string> entries = records::buildSelectionList(catalogue, kind, count);
  showLegend(screen::legend("", "", "", "", "", "", "", "Ins Nuovo", "Ricerca"));
  const int chosen = screen::selectFromList(session_.console, entries, 1, searchWindow(), "", kSearchHighlight);
  if (chosen < 1) return -1;
  return supplierList ? 9000 + chosen : chosen;
}

bool RegistrationEditor::counterpartyAccepted(double code) const {
  if (code != std::floor(code) || code < 0) return false;
  if (code == 0) return true;
  if (code < 9000) return code <= customers();
  return code > 9000 && code - 9000 <= suppliers();
}

Step RegistrationEditor::askCounterparty() {
  for (;;) {
    showLegend(screen::legend("", "", "", "", "", "", "", "Ins Nuovo", "Ricerca"));
    std::string initial = work_.counterparty;
    if (records::val(initial) == 0 && !sales()) initial = "9000";
    const screen::FieldResult r = edit(5, 2, 5, kCounterpartyKeys, 0, initial);
    double code = records::val(r.text);
    switch (r.exitCode) {
      case screen::kExitEsc: return Step::Abandon;
      case screen::kExitUp: return Step::Back;
      case 8:
        // A new customer or supplier through its own screen; then the field again.
        master::runCounterpartyScreen(session_,
                                      sales() ? records::CounterpartyKind::Customer : records::CounterpartyKind::Supplier);
        showCounterparty();
        continue;
      case 9: {
        const long chosen = chooseCounterparty(code >= 9000);
        if (chosen < 0) continue;
        code = static_cast<double>(chosen);
        break;
      }
      case screen::kExitEnter:
        if (code == 0 || code == 9000) {
          const long chosen = chooseCounterparty(code >= 9000);
          if (chosen < 0) continue;
          code = static_cast<double>(chosen);
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

Step RegistrationEditor::askDocumentNumber() {
  showLegend(plainLegend());
  const screen::FieldResult r = edit(13, 11, -5, kUpOnly, 0, work_.documentNumber);
  if (r.exitCode == screen::kExitEsc) return Step::Abandon;
  if (r.exitCode == screen::kExitUp) return Step::Back;
  work_.documentNumber = records::trimRight(r.text);
  put(13, 11, records::fitLeft(work_.documentNumber, 5));
  return Step::Next;
}

Step RegistrationEditor::askDocumentDate() {
  showLegend(plainLegend());
  const std::string& workingDate = session_.context().workingDate;
  for (;;) {
    const screen::FieldResult r =
        edit(16, 12, 6, kUpOnly, 0, records::val(work_.documentDate) == 0 ? workingDate : work_.documentDate);
    if (r.exitCode == screen::kExitEsc) return Step::Abandon;
    if (r.exitCode == screen::kExitUp) return Step::Back;
    std::string date = records::trim(r.text);
    if (records::val(date) == 0) date = workingDate;
    if (!dateAccepted(date)) {
      session_.console.beep();
      continue;
    }
    work_.documentDate = date;
    put(16, 11, records::dateText(date));
    return Step::Next;
  }
}

Step RegistrationEditor::askNote() {
  showLegend(plainLegend());
  const screen::FieldResult r = edit(13, 24, -50, kUpOnly, 0, work_.note);
  if (r.exitCode == screen::kExitEsc) return Step::Abandon;
  if (r.exitCode == screen::kExitUp) return Step::Back;
  work_.note = records::trimRight(r.text);
  return Step::Next;
}

Step RegistrationEditor::askLetter() {
  showLegend(plainLegend());
  const std::string fallback(records::registerInfo(kind_).letter);
  const screen::FieldResult r =
      edit(16, 52, -1, kUpOnly, 0, records::isBlank(work_.protocolLetter) ? fallback : work_.protocolLetter);
  if (r.exitCode == screen::kExitEsc) return Step::Abandon;
  if (r.exitCode == screen::kExitUp) return Step::Back;
  work_.protocolLetter = records::isBlank(r.text) ? fallback : records::trimRight(r.text);
  put(16, 52, work_.protocolLetter);
  return Step::Next;
}

Step RegistrationEditor::askSection() {
  showLegend(plainLegend());
  for (;;) {
    std::string initial = work_.section;
    if (records::isBlank(initial) && current_ == header_.count + 1) initial = "1";
    const screen::FieldResult r = edit(16, 56, -1, kUpOnly, 0, initial);
    if (r.exitCode == screen::kExitEsc) return Step::Abandon;
    if (r.exitCode == screen::kExitUp) return Step::Back;
    const std::string s = records::trim(r.text);
    if (s.size() != 1 || s[0] < '1' || s[0] > '5') {
      session_.console.beep();
      continue;
    }
    work_.section = s;
    return Step::Next;
  }
}

Step RegistrationEditor::askProtocol() {
  showLegend(plainLegend());
  for (;;) {
    std::string initial = work_.protocolNumber;
    const int s = work_.sectionNumber();
    if (records::val(initial) == 0 && s >= 1)
      initial = std::to_string(header_.protocol[static_cast<std::size_t>(s - 1)] + 1);
    const screen::FieldResult r = edit(16, 60, 7, kUpOnly, 0, initial);
    if (r.exitCode == screen::kExitEsc) return Step::Abandon;
    if (r.exitCode == screen::kExitUp) return Step::Back;
    const double v = records::val(r.text);
    // The counter it becomes holds whole numbers up to 9999.
    if (!(v > 0) || v != std::floor(v) || v > records::kMaxCounter) {
      session_.console.beep();
      continue;
    }
    work_.protocolNumber = records::trim(r.text);
    put(16, 60, records::fitLeft(work_.protocolNumber, 7));
    return Step::Next;
  }
}

Step RegistrationEditor::askQuantity() {
  showLegend(plainLegend());
  const screen::FieldResult r = edit(13, 81, 6, kUpOnly, 0, work_.quantity);
  if (r.exitCode == screen::kExitEsc) return Step::Abandon;
  if (r.exitCode == screen::kExitUp) return Step::Back;
  work_.quantity = records::trim(r.text);
  return Step::Next;
}

}  // namespace vellano::entry
