// The registration screen: windows and templates, browsing by record number, the search list,
// the protocol counters, the register print hand-over and saving.
#include "entry/registration_screen.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

#include "entry/payments.h"
#include "entry/protocol_reorder.h"
#include "entry/registration_editor.h"
#include "entry/registration_lists.h"
#include "records/cp437_text.h"
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
#include "screen/palette.h"
#include "screen/print_handover.h"
#include "screen/record_picker.h"
#include "screen/window.h"
#include "master/sub_accounts.h"
#include "master/vat_table.h"

namespace vellano::entry {
namespace {

namespace channel = records::channel;
using screen::dots;

constexpr const char* kCountMask = "####";
constexpr const char* kGridMask = "###,###.##";
constexpr const char* kBalanceMask = "####,###.##";
constexpr int kLineRow = 37;  // line k is on row 37 + k
constexpr int kTotalsRow = 43;

// The record number: F2 payments, F3 protocol counters, F4 reordering, F8 register print,
// F9 search, and the page keys.
constexpr screen::FieldSpec kNumberField =
    screen::numericField(2, 114, 4)
        .withKeys({screen::kExitF2, screen::kExitF3, screen::kExitF4, screen::kExitF8, screen::kExitF9,
                   screen::kExitPageUp})
        .withPageKeys(screen::PageKeys::PgUpPgDn);
// The last page and protocol counter k on row 3 + k.
constexpr screen::FieldSpec kCounterField = screen::numericField(3, 85, 4).withKeys({screen::kExitUp});

}  // namespace

RegistrationEditor::RegistrationEditor(screen::Session& session, records::RegisterKind kind)
    : session_(session), kind_(kind), screen_(session.console.screen()) {
  const screen::ScreenColours colours = screen::screenColours(session.context());
  textAttr_ = colours.text;
  borderAttr_ = colours.border;
  titleAttr_ = colours.title;
  editAttr_ = colours.editing;
  gridAttr_ = screen::palette(session.context().install.colourScheme).background;
}

int RegistrationEditor::customers() const {
  return records::countOf(session_.context().customerCount, records::kMaxCustomers);
}
int RegistrationEditor::suppliers() const {
  return records::countOf(session_.context().supplierCount, records::kMaxSuppliers);
}
int RegistrationEditor::causals() const { return records::countOf(session_.context().causalCount, 999); }

void RegistrationEditor::fieldColours(const screen::FieldSpec& field) {
  session_.editor.setColours(editAttr_, screen_.at(field.row, field.col).attr);
}

screen::FieldResult RegistrationEditor::type(const screen::FieldSpec& field, std::string_view initial) {
  fieldColours(field);
  return session_.editor.edit(field, initial);
}

void RegistrationEditor::put(int row, int col, std::string_view text) {
  // Outside the windows the text takes the colour already there.
  screen_.putText(row, col, text, screen_.at(row, col).attr);
}

void RegistrationEditor::putField(int row, int col, std::string_view text, std::size_t width) {
  put(row, col, records::isBlank(text) ? dots(width) : records::fitLeft(text, width));
}

void RegistrationEditor::showLegend(std::string_view legend) { session_.panel.show(screen_, legend); }

// ---- Drawing ----

void RegistrationEditor::drawScreen() {
  const records::RegisterInfo& info = records::registerInfo(kind_);
  auto window = [&](int t, int l, int b, int r, std::string_view title) {
    screen::drawWindow(screen_, screen::screenWindow(session_.context(), t, l, b, r, 1), title);
  };
  window(1, 58, 9, 90, " REGISTRO" + std::string(info.title) + " ");
  window(1, 1, 3, 56, " REGISTRAZIONE ");
  window(4, 1, 9, 56, sales() ? " CLIENTE " : " FORNITORE ");
  window(12, 1, 17, 20, " DOCUMENTO ");
  window(12, 22, 14, 75, " NOTE ");
  window(15, 22, 17, 75, " PROTOCOLLO ");
  window(12, 77, 14, 90, records::cp437(" Quantità "));

  put(3, 59, "Ultima Pagina Registro  : " + dots(4) + " ");
  for (int s = 1; s <= records::kSections; ++s)
    put(3 + s, 59, "Ultimo Protocollo " + std::to_string(s) + "     : " + dots(4) + " ");
  put(kLineRow, 1,
      records::cp437("Conto                           │Cod. IVA %Ve %Com │Al%│Imponibile│       IVA│    Totale"));
  drawTemplates();
  showHeader();
}

// The empty input areas of every registration field.
void RegistrationEditor::drawTemplates() {
  put(2, 2, "Data: " + dots(2) + "." + dots(2) + "." + dots(2) + std::string(24, ' ') + dots(16));
  put(5, 2, dots(5) + " " + std::string(29, ' '));
  for (int row = 6; row <= 8; ++row) put(row, 8, std::string(29, ' '));
  put(6, 38, "Dare :");
  put(7, 38, "Avere:");
  put(8, 38, "Saldo:");
  for (int row = 6; row <= 8; ++row) put(row, 44, std::string(12, ' '));
  put(13, 2, "Numero : " + dots(5) + "   ");
  put(16, 2, "Data   : " + dots(2) + "." + dots(2) + "." + dots(2));
  put(13, 24, dots(50));
  put(16, 23, "(Registro.Sezionale.Numero): " + dots(1) + " . " + dots(1) + " . " + dots(7) + "        ");
  put(13, 81, dots(6));
  for (int k = 1; k <= records::kLines; ++k) put(kLineRow + k, 1, records::cp437(kLineTemplate));
  put(kTotalsRow, 1, "Totali:" + std::string(48, ' ') + records::cp437("│          │          │"));
  put(kTotalsRow, 34, "IVA indetr.:");
}

void RegistrationEditor::showHeader() {
  put(3, 85, records::printUsing(kCountMask, header_.lastPage));
  for (int s = 1; s <= records::kSections; ++s)
    put(3 + s, 85, records::printUsing(kCountMask, header_.protocol[static_cast<std::size_t>(s - 1)]));
  put(4, 114, records::printUsing(kCountMask, header_.count));
}

void RegistrationEditor::showRecordNumber() { put(2, 114, records::printUsing(kCountMask, current_)); }

void RegistrationEditor::showRegistration() {
  drawTemplates();
  const records::Registration& r = work_;
  if (r.annulled()) {
    put(2, 8, std::string(8, ' '));
    put(2, 40, " Reg. Annullata ");
  } else {
    put(2, 40, std::string(16, ' '));
    if (records::val(r.date) != 0) put(2, 8, records::dateText(r.date));
  }
  showCounterparty();
  putField(13, 11, r.documentNumber, 5);
  if (records::val(r.documentDate) != 0) put(16, 11, records::dateText(r.documentDate));
  putField(13, 24, r.note, 50);
  putField(16, 52, r.protocolLetter, 1);
  putField(16, 56, r.section, 1);
  putField(16, 60, r.protocolNumber, 7);
  putField(13, 81, r.quantity, 6);
  for (int k = 1; k <= records::kLines; ++k) showLine(k);
  showTotals();
}

void RegistrationEditor::showCounterparty() {
  const long code = work_.counterpartyCode();
  for (int row = 6; row <= 8; ++row) {
    put(row, 8, std::string(29, ' '));
    put(row, 44, std::string(12, ' '));
  }
  if (code <= 0) {
    put(5, 2, dots(5) + " " + std::string(29, ' '));
    return;
  }
  records::Counterparty who;
  if (code < 9000) {
    records::openChannel(session_.catalogue, channel::kCustomers).read(code);
    records::L_1(session_.catalogue, who);
  } else if (code > 9000) {
    records::openChannel(session_.catalogue, channel::kSuppliers).read(code - 9000);
    records::L_7(session_.catalogue, who);
  }
  put(5, 2, records::printUsing("#####", static_cast<double>(code)) + " " + records::fitLeft(who.name, 29));
  put(6, 8, records::fitLeft(who.name2, 29));
  put(7, 8, records::fitLeft(who.street, 21));
  put(8, 8, records::fitLeft(who.town, 29));

  session_.catalogue.channel(channel::kBalances).read(code > 9000 ? code - 9000 : code);
  records::BalanceTotals totals;
  records::L_8(session_.catalogue, totals);
  const double saldo = totals.dare - totals.avere;
  put(6, 45, records::left(records::printUsing(kBalanceMask, totals.dare), 11));
  put(7, 45, records::left(records::printUsing(kBalanceMask, totals.avere), 11));
  put(8, 45, records::left(records::printUsing(kBalanceMask, saldo), 11));
  put(8, 44, saldo >= 0 ? "D" : "A");
}

std::string RegistrationEditor::subAccountDescription(int causal, int subAccount) {
  if (causal <= 0 || subAccount <= 0) return std::string();
  records::openChannel(session_.catalogue, channel::kSubAccounts).read(records::subAccountRecord(causal, subAccount));
  records::SubAccount account;
  records::L_26(session_.catalogue, account);
  return account.description;
}

void RegistrationEditor::showLine(int k) {
  const records::VatLine& line = work_.lines[static_cast<std::size_t>(k - 1)];
  const int row = kLineRow + k;
  if (records::isBlank(line.causalText) && records::isBlank(line.subAccountText) && records::isBlank(line.vatCodeText) &&
      records::isBlank(line.rateText) && records::isBlank(line.taxableText)) {
    put(row, 1, records::cp437(kLineTemplate));
    return;
  }
  auto number = [](const char* mask, double v) {
    return v > 0 ? records::printUsing(mask, v) : std::string(std::strlen(mask), ' ');
  };
  put(row, 1, number("###", line.causal()));
  put(row, 5, number("##", line.subAccount()));
  put(row, 8, records::fitLeft(subAccountDescription(line.causal(), line.subAccount()), 25));
  put(row, 34, number("##", line.vatCode()));
  records::VatCode vat;
  const bool hasVatCode = line.vatCode() > 0 && line.vatCode() <= records::kVatPositions;
  if (hasVatCode) vat = records::readVatCode(session_.catalogue, line.vatCode());
  put(row, 37, records::fitLeft(vat.code, 5));
  // The percentages of a VAT code through their masks, zero too.
  put(row, 43, hasVatCode ? records::printUsing("###", vat.ventilation) : std::string(3, ' '));
  put(row, 47, hasVatCode ? records::printUsing("##.#", vat.compensation) : std::string(4, ' '));
  put(row, 53, records::left(records::printUsing("###", line.rate), 3));
  put(row, 57, records::left(records::printUsing(kGridMask, line.taxable), 10));
  put(row, 68, records::left(records::printUsing(kGridMask, line.vat), 10));
  put(row, 79, records::left(records::printUsing(kGridMask, line.total), 10));
}

void RegistrationEditor::showTotals() {
  const records::Totals t = work_.totals();
  put(kTotalsRow, 46, records::left(records::printUsing(kGridMask, t.nonDeductible), 10));
  put(kTotalsRow, 57, records::left(records::printUsing(kGridMask, t.taxable), 10));
  put(kTotalsRow, 68, records::left(records::printUsing(kGridMask, t.vat), 10));
  put(kTotalsRow, 79, records::left(records::printUsing(kGridMask, t.total), 10));
}

// ---- Browsing ----

int RegistrationEditor::askNumber() {
  const std::string legend = screen::legend(
      {{2, "Pagamenti"}, {3, "Protocollo"}, {4, "Ord Protoc"}, {8, "St Registr"}, {9, "Ricerca"}}, screen::kPageNote);
  screen::RecordPicker picker;
  picker.field = kNumberField;
  picker.count = header_.count;
  picker.current = current_;
  // A register full to the count's field refuses one more.
  picker.highest = std::min(header_.count + 1, records::kMaxRegistrations);
  picker.newRecord = [this] {
    if (header_.count + 1 <= records::kMaxRegistrations) return header_.count + 1;
    session_.console.beep();
    return 0;
  };
  picker.onKey = [&](int key) {
    showRecordNumber();
    const std::optional<int> chosen = numberKey(key);
    if (!chosen) {
      // The windows these keys open have legends and field colours of their own.
      showLegend(legend);
      fieldColours(kNumberField);
    }
    return chosen;
  };
  showLegend(legend);
  fieldColours(kNumberField);
  const screen::Pick pick = screen::pickRecord(session_, picker);
  showRecordNumber();
  return pick.record;
}

// The keys of the record number beyond ESC and Enter: the registration to show, or nothing
// to ask again.
std::optional<int> RegistrationEditor::numberKey(int key) {
  switch (key) {
    case screen::kExitF2:
      runPaymentsWindow(session_, kind_, header_);
      showHeader();
      return std::nullopt;
    case screen::kExitF3: protocolCounters(); return std::nullopt;
    case screen::kExitF4:
      if (reorderProtocols(session_, kind_, header_.count) && current_ >= 1 && current_ <= header_.count)
        return current_;
      return std::nullopt;
    case screen::kExitF8: screen::handOverToPrintProgram(session_, sales() ? "1V" : "1A");  // never returns
    case screen::kExitF9: {
      if (header_.count < 1) {
        session_.console.beep();
        return std::nullopt;
      }
      const int from = current_ >= 1 && current_ <= header_.count ? current_ : header_.count;
      const int chosen = chooseFromList(session_.console, registrationListEntries(session_.catalogue, header_.count),
                                        from, registrationListHeading());
      if (chosen >= 1) return chosen;
      return std::nullopt;
    }
    case screen::kExitPageUp:
    case screen::kExitTab:
      if (current_ > 1) return current_ - 1;
      return std::nullopt;
    case screen::kExitPageDown:
    case screen::kExitPlus:
      if (current_ >= 1 && current_ < header_.count) return current_ + 1;
      return std::nullopt;
    default: return std::nullopt;
  }
}

void RegistrationEditor::select(int n) {
  current_ = n;
  showRecordNumber();
  work_ = n <= header_.count ? records::readRegistration(session_.catalogue, n) : records::Registration{};
  loadedCounterparty_ = work_.counterpartyCode();
  loadedTotal_ = work_.totals().total;
  showRegistration();
}

// F3: the last page and the five counters retyped in place; the header is written after the
// fifth. Values confirmed before an ESC stay in use.
void RegistrationEditor::protocolCounters() {
  showLegend(screen::legend({}));
  auto counter = [this](int i) {
    int& value = i == 0 ? header_.lastPage : header_.protocol[static_cast<std::size_t>(i - 1)];
    const screen::FieldSpec field = kCounterField.at(kCounterField.row + i, kCounterField.col);
    const screen::FieldResult r = type(field, value > 0 ? std::to_string(value) : "");
    put(field.row, field.col, records::printUsing(kCountMask, value));
    if (r.exitCode != screen::kExitEnter) return screen::goFor(r.exitCode);
    const long v = records::wholeNumberIn(records::val(r.text), 0, records::kMaxCounter);
    if (v < 0) {
      session_.console.beep();
      return screen::Go::again();
    }
    value = static_cast<int>(v);
    put(field.row, field.col, records::printUsing(kCountMask, value));
    return screen::Go::next();
  };
  std::vector<screen::SequenceStep> steps;
  for (int i = 0; i <= records::kSections; ++i) steps.push_back([counter, i] { return counter(i); });
  if (screen::runSequence(steps) != screen::SequenceEnd::Completed) return;
  // Only the counters typed here change: the counts are taken from the file inside the save.
  records::SaveTransaction transaction(session_.catalogue);
  const records::RegisterHeader typed = header_;
  header_ = records::headerForSave(session_.catalogue, kind_);
  header_.lastPage = typed.lastPage;
  header_.protocol = typed.protocol;
  records::writeHeader(session_.catalogue, header_);
  transaction.commit();
  showHeader();
}

void RegistrationEditor::moveBalance(long code, double amount) {
  if (code <= 0) return;
  records::Channel& balances = session_.catalogue.channel(channel::kBalances);
  const long record = code > 9000 ? code - 9000 : code;
  balances.read(record);
  records::BalanceTotals totals;
  records::L_8(session_.catalogue, totals);
  (sales() ? totals.dare : totals.avere) += amount;
  records::W_8(session_.catalogue, totals);
  balances.write(record);
}

void RegistrationEditor::save() {
  // Another terminal may have saved since the screen read the header: the counts, and what
  // the registration moved when it was saved before, are taken from the files inside the save.
  records::SaveTransaction transaction(session_.catalogue);
  const records::RegisterHeader opened = header_;
  header_ = records::headerForSave(session_.catalogue, kind_);
  current_ = static_cast<int>(records::placeRegistration(opened, header_, current_, work_));
  const records::Registration onFile = records::registrationOnFile(session_.catalogue, header_, current_);
  loadedCounterparty_ = onFile.counterpartyCode();
  loadedTotal_ = onFile.totals().total;
  showRecordNumber();
  records::writeRegistration(session_.catalogue, current_, work_);
  moveBalance(loadedCounterparty_, -loadedTotal_);
  moveBalance(work_.counterpartyCode(), work_.totals().total);
  if (current_ == header_.count + 1) {
    header_.count = current_;
    const int s = work_.sectionNumber();
    if (s >= 1) {
      const long protocol = records::wholeNumberIn(records::val(work_.protocolNumber), 0, records::kMaxCounter);
      header_.protocol[static_cast<std::size_t>(s - 1)] = protocol < 0 ? 0 : static_cast<int>(protocol);
    }
    records::writeHeader(session_.catalogue, header_);
  }
  transaction.commit();
  loadedCounterparty_ = work_.counterpartyCode();
  loadedTotal_ = work_.totals().total;
  putField(16, 60, work_.protocolNumber, 7);
  showHeader();
  showCounterparty();
}

void RegistrationEditor::run() {
  const auto saved = std::make_unique<platform::ScreenBuffer::Cells>(screen_.cells());
  header_ = records::openRegister(session_.catalogue, kind_);
  drawScreen();
  for (;;) {
    const int n = askNumber();
    if (n == 0) break;
    select(n);
    if (!editRegistration()) {
      // Abandoned: nothing saved, the screen starts over.
      work_ = records::Registration{};
      drawTemplates();
    }
  }
  screen_.cells() = *saved;
}

void runRegistrationScreen(screen::Session& session, records::RegisterKind kind) { RegistrationEditor(session, kind).run(); }
void runSalesRegister(screen::Session& session) { runRegistrationScreen(session, records::RegisterKind::Sales); }
void runPurchaseRegister(screen::Session& session) { runRegistrationScreen(session, records::RegisterKind::Purchases); }

}  // namespace vellano::entry
