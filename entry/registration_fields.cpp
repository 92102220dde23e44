// The fields of a registration before its VAT lines, in tab order: date, counterparty,
// document, note, protocol and quantity.
#include "entry/annul.h"
#include "entry/registration_editor.h"
#include "entry/registration_lists.h"
#include "records/customer_files.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/glyphs.h"
#include "screen/legend.h"
#include "master/customers.h"

namespace vellano::entry {
namespace {

using screen::dots;
using screen::Go;
using screen::kExitUp;

// F9 annuls or restores, the page keys step through the registrations.
constexpr screen::FieldSpec kDateField =
    screen::numericField(2, 9, 6).withKeys({screen::kExitF9, screen::kExitPageUp}).withPageKeys(screen::PageKeys::PgUpPgDn);
// F8 a new customer or supplier, F9 the list.
constexpr screen::FieldSpec kCounterpartyField =
    screen::numericField(5, 2, 5).withKeys({kExitUp, screen::kExitF8, screen::kExitF9});
constexpr screen::FieldSpec kDocumentNumberField = screen::textField(13, 11, 5).withKeys({kExitUp});
constexpr screen::FieldSpec kDocumentDateField = screen::numericField(16, 12, 6).withKeys({kExitUp});
constexpr screen::FieldSpec kNoteField = screen::textField(13, 24, 50).withKeys({kExitUp});
constexpr screen::FieldSpec kLetterField = screen::textField(16, 52, 1).withKeys({kExitUp});
constexpr screen::FieldSpec kSectionField = screen::textField(16, 56, 1).withKeys({kExitUp});
constexpr screen::FieldSpec kProtocolField = screen::numericField(16, 60, 7).withKeys({kExitUp});
constexpr screen::FieldSpec kQuantityField = screen::numericField(13, 81, 6).withKeys({kExitUp});

std::string plainLegend() { return screen::legend({}); }

}  // namespace

bool RegistrationEditor::editRegistration() {
  const screen::SequenceEnd end = screen::runSequence({
      [this] { return askDate(); },
      [this] { return askCounterparty(); },
      [this] { return askDocumentNumber(); },
      [this] { return askDocumentDate(); },
      [this] { return askNote(); },
      [this] { return askLetter(); },
      [this] { return askSection(); },
      [this] { return askProtocol(); },
      [this] { return askQuantity(); },
      [this] { return editLines(); },
  });
  if (end != screen::SequenceEnd::Completed) return false;
  save();
  return true;
}

bool RegistrationEditor::dateAccepted(std::string_view date) const {
  const int workingYear = static_cast<int>(records::val(session_.context().yearSuffix));
  return records::val(date) != 0 && records::dateValid(date, workingYear, false);
}

Go RegistrationEditor::askDate() {
  const std::string& workingDate = session_.context().workingDate;
  const bool annulled = work_.annulled();
  showLegend(screen::legend({{9, annulled ? "Ripris Reg" : "AnnullaReg"}}, screen::kPageNote));
  const bool zero = records::val(work_.date) == 0;
  // The field sits inside the dd.mm.yy area: its dots come back so no part of the date
  // shown before is left around the digits being typed.
  put(2, 8, dots(2) + "." + dots(2) + "." + dots(2));
  const screen::FieldResult r = type(kDateField, zero && !annulled ? workingDate : work_.date);
  switch (r.exitCode) {
    case screen::kExitEsc: return Go::abandon();
    case screen::kExitF9:
      if (current_ < 1 || current_ > header_.count) {
        session_.console.beep();
        return Go::again();
      }
      if (annulOrRestore(session_, kind_, current_, work_) == AnnulResult::Changed) return Go::abandon();
      return Go::again();
    case screen::kExitPageUp:
    case screen::kExitTab:
      if (current_ > 1) select(current_ - 1);
      return Go::again();
    case screen::kExitPageDown:
    case screen::kExitPlus:
      if (current_ >= 1 && current_ < header_.count) select(current_ + 1);
      return Go::again();
    case screen::kExitEnter: break;
    default: return Go::again();
  }
  std::string date = records::trim(r.text);
  if (records::val(date) == 0) {
    if (annulled) {
      put(2, 8, std::string(8, ' '));
      return Go::next();
    }
    date = workingDate;
  }
  if (!dateAccepted(date)) {
    session_.console.beep();
    return Go::again();
  }
  work_.date = date;
  put(2, 40, std::string(16, ' '));
  put(2, 8, records::dateText(date));
  return Go::next();
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
    records::openChannel(catalogue, records::channel::kSuppliers);
    records::openChannel(catalogue, records::channel::kOtherSuppliers);
  } else {
    records::openChannel(catalogue, records::channel::kCustomers);
  }
  const std::vector<std::string> entries = records::buildSelectionList(catalogue, kind, count);
  showLegend(screen::legend({{8, "Ins Nuovo"}, {9, "Ricerca"}}));
  const int chosen = chooseFromList(session_.console, entries, 1);
  if (chosen < 1) return -1;
  return supplierList ? 9000 + chosen : chosen;
}

// 0 for none, a customer below 9000, 9000 + a supplier above.
bool RegistrationEditor::counterpartyAccepted(double code) const {
  if (code < 9000) return records::wholeNumberIn(code, 0, customers()) >= 0;
  return records::wholeNumberIn(code - 9000, 1, suppliers()) >= 0;
}

Go RegistrationEditor::askCounterparty() {
  showLegend(screen::legend({{8, "Ins Nuovo"}, {9, "Ricerca"}}));
  std::string initial = work_.counterparty;
  if (records::val(initial) == 0 && !sales()) initial = "9000";
  const screen::FieldResult r = type(kCounterpartyField, initial);
  double code = records::val(r.text);
  switch (r.exitCode) {
    case screen::kExitEsc: return Go::abandon();
    case kExitUp: return Go::back();
    case screen::kExitF8:
      // A new customer or supplier through its own screen; then the field again.
      master::runCounterpartyScreen(session_,
                                    sales() ? records::CounterpartyKind::Customer : records::CounterpartyKind::Supplier);
      showCounterparty();
      return Go::again();
    case screen::kExitF9: {
      const long chosen = chooseCounterparty(code >= 9000);
      if (chosen < 0) return Go::again();
      code = static_cast<double>(chosen);
      break;
    }
    case screen::kExitEnter:
      if (code == 0 || code == 9000) {
        const long chosen = chooseCounterparty(code >= 9000);
        if (chosen < 0) return Go::again();
        code = static_cast<double>(chosen);
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

Go RegistrationEditor::askDocumentNumber() {
  showLegend(plainLegend());
  const screen::FieldResult r = type(kDocumentNumberField, work_.documentNumber);
  if (const auto go = leaving(r.exitCode)) return *go;
  work_.documentNumber = records::trimRight(r.text);
  put(13, 11, records::fitLeft(work_.documentNumber, 5));
  return Go::next();
}

Go RegistrationEditor::askDocumentDate() {
  showLegend(plainLegend());
  const std::string& workingDate = session_.context().workingDate;
  const screen::FieldResult r =
      type(kDocumentDateField, records::val(work_.documentDate) == 0 ? workingDate : work_.documentDate);
  if (const auto go = leaving(r.exitCode)) return *go;
  std::string date = records::trim(r.text);
  if (records::val(date) == 0) date = workingDate;
  if (!dateAccepted(date)) {
    session_.console.beep();
    return Go::again();
  }
  work_.documentDate = date;
  put(16, 11, records::dateText(date));
  return Go::next();
}

Go RegistrationEditor::askNote() {
  showLegend(plainLegend());
  const screen::FieldResult r = type(kNoteField, work_.note);
  if (const auto go = leaving(r.exitCode)) return *go;
  work_.note = records::trimRight(r.text);
  return Go::next();
}

Go RegistrationEditor::askLetter() {
  showLegend(plainLegend());
  const std::string fallback(records::registerInfo(kind_).letter);
  const screen::FieldResult r =
      type(kLetterField, records::isBlank(work_.protocolLetter) ? fallback : work_.protocolLetter);
  if (const auto go = leaving(r.exitCode)) return *go;
  work_.protocolLetter = records::isBlank(r.text) ? fallback : records::trimRight(r.text);
  put(16, 52, work_.protocolLetter);
  return Go::next();
}

Go RegistrationEditor::askSection() {
  showLegend(plainLegend());
  std::string initial = work_.section;
  if (records::isBlank(initial) && current_ == header_.count + 1) initial = "1";
  const screen::FieldResult r = type(kSectionField, initial);
  if (const auto go = leaving(r.exitCode)) return *go;
  const std::string s = records::trim(r.text);
  if (s.size() != 1 || s[0] < '1' || s[0] > '5') {
    session_.console.beep();
    return Go::again();
  }
  work_.section = s;
  return Go::next();
}

Go RegistrationEditor::askProtocol() {
  showLegend(plainLegend());
  std::string initial = work_.protocolNumber;
  const int s = work_.sectionNumber();
  if (records::val(initial) == 0 && s >= 1)
    initial = std::to_string(header_.protocol[static_cast<std::size_t>(s - 1)] + 1);
  const screen::FieldResult r = type(kProtocolField, initial);
  if (const auto go = leaving(r.exitCode)) return *go;
  // The counter it becomes holds whole numbers up to 9999.
  if (records::wholeNumberIn(records::val(r.text), 1, records::kMaxCounter) < 0) {
    session_.console.beep();
    return Go::again();
  }
  work_.protocolNumber = records::trim(r.text);
  put(16, 60, records::fitLeft(work_.protocolNumber, 7));
  return Go::next();
}

Go RegistrationEditor::askQuantity() {
  showLegend(plainLegend());
  const screen::FieldResult r = type(kQuantityField, work_.quantity);
  if (const auto go = leaving(r.exitCode)) return *go;
  work_.quantity = records::trim(r.text);
  return Go::next();
}

}  // namespace vellano::entry
