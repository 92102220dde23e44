// ELENCOCF: the records, the two passes over each register and the screen that drives them.
#include "telematic/customer_list_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

#include "platform/commands.h"
#include "records/customer_files.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/glyphs.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "telematic/transmission.h"

namespace vellano::telematic {
namespace {

constexpr long kSupplierOffset = 9000;
constexpr const char* kRoutine = "ELENCOCF";

// ---- Screen ----

constexpr std::string_view kTitle = "INVIO TELEMATICO IVA";
constexpr int kTop = 1, kLeft = 1, kBottom = 33, kRight = 88;
constexpr int kLabelCol = 2;
constexpr int kProceedCol = 4;

struct Label {
  int row;
  int col;
  std::string_view text;
};
constexpr std::array<Label, 11> kLabels{{
    {2, kLabelCol, "Codice Fiscale dell'intermediario che effettua la trasmissione:"},
    {3, kLabelCol, "Numero di iscrizione all'albo del C.A.F.......................:"},
    {4, kLabelCol, "Data dell'Impegno.............................................:"},
    {6, kLabelCol, "Contribuente   : "},
    {7, kLabelCol, "(Codice Fiscale: ................ - Partita IVA: ...........)"},
    {9, kLabelCol, "Tipo [X=Societa' M/F=Persona Fisica]: "},
    {10, kLabelCol, "Cognome : "},
    {10, 37, "Nome: "},
    {11, kLabelCol, "Data di Nascita: "},
    {12, kLabelCol, "Comune di Nascita: "},
    {12, 62, "Prov: "},
}};
constexpr IntermediaryPlaces kIntermediaryPlaces{{2, 66}, {3, 66}, {4, 66}};
constexpr Place kNamePlace{6, 19};
constexpr Place kFiscalCodePlace{7, 19};
constexpr Place kVatNumberPlace{7, 51};

// The natural person's fields, typed for the run.
struct PersonField {
  Place at;
  std::size_t width;
  std::string Taxpayer::*value;
};
constexpr Place kKindPlace{9, 40};
constexpr std::array<PersonField, 5> kPersonFields{{
    {{10, 12}, 24, &Taxpayer::surname},
    {{10, 43}, 20, &Taxpayer::firstName},
    {{11, 19}, 6, &Taxpayer::birthDate},
    {{12, 21}, 40, &Taxpayer::birthTown},
    {{12, 68}, 2, &Taxpayer::birthProvince},
}};
constexpr int kWarningFirstRow = 14;
constexpr int kWarningLastRow = 32;

std::string area(std::string_view value, std::size_t width) {
  const std::string cut = records::left(records::trimRight(value), width);
  return cut + screen::dots(width - cut.size());
}

bool validBirthDate(std::string_view ddmmyy) {
  if (ddmmyy.empty()) return true;
  if (ddmmyy.size() != 6) return false;
  for (char c : ddmmyy)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return records::dateValid(ddmmyy, 0, true);
}

class ListScreen {
 public:
  explicit ListScreen(screen::Session& session)
      : session_(session), colours_(colours(session.context())),
        window_(session.console.screen(), screen::screenWindow(session.context(), kTop, kLeft, kBottom, kRight, 2),
                kTitle),
        intermediary_(records::readIntermediary(session.catalogue)), taxpayer_(taxpayerOf(session.catalogue)) {}

  void run();

 private:
  void draw();
  void showPerson();
  // F1: the intermediary values, then the taxpayer kind and the natural person's fields.
  void editValues();
  screen::Go editKind();
  screen::Go editPerson(const PersonField& field);
  void showWarnings(const std::vector<std::string>& warnings);
  void nothingQualified();

  screen::Session& session_;
  Colours colours_;
  screen::Window window_;
  records::Intermediary intermediary_;
  Taxpayer taxpayer_;
};

void ListScreen::draw() {
  platform::ScreenBuffer& screen = session_.console.screen();
  for (const Label& l : kLabels) screen.putText(l.row, l.col, l.text, colours_.text);
  showIntermediary(screen, kIntermediaryPlaces, intermediary_, colours_);
  screen.putText(kNamePlace.row, kNamePlace.col, taxpayer_.name, colours_.text);
  // A code the registry lacks leaves the label's dots in view.
  if (!records::isBlank(taxpayer_.fiscalCode))
    screen.putText(kFiscalCodePlace.row, kFiscalCodePlace.col, records::fitLeft(taxpayer_.fiscalCode, 16), colours_.text);
  if (!records::isBlank(taxpayer_.vatNumber))
    screen.putText(kVatNumberPlace.row, kVatNumberPlace.col, records::fitLeft(taxpayer_.vatNumber, 11), colours_.text);
  showPerson();
}

void ListScreen::showPerson() {
  platform::ScreenBuffer& screen = session_.console.screen();
  screen.putText(kKindPlace.row, kKindPlace.col, area(std::string(1, taxpayer_.kind), 1), colours_.text);
  for (const PersonField& f : kPersonFields)
    screen.putText(f.at.row, f.at.col, area(taxpayer_.*f.value, f.width), colours_.text);
}

screen::Go ListScreen::editKind() {
  const screen::FieldSpec field =
      screen::textField(kKindPlace.row, kKindPlace.col, 1).withKeys({screen::kExitUp}).inCapitals();
  session_.editor.setColours(colours_.editing, colours_.text);
  const screen::FieldResult r = session_.editor.edit(field, std::string(1, taxpayer_.kind));
  if (r.exitCode == screen::kExitEnter) {
    const std::string typed = records::trim(r.text);
    if (typed != "" && typed != "X" && typed != "M" && typed != "F") {
      session_.console.beep();
      return screen::Go::again();
    }
    taxpayer_.kind = typed.empty() ? ' ' : typed[0];
  }
  showPerson();
  return screen::goFor(r.exitCode);
}

screen::Go ListScreen::editPerson(const PersonField& f) {
  const screen::FieldSpec field =
      screen::textField(f.at.row, f.at.col, static_cast<int>(f.width)).withKeys({screen::kExitUp}).inCapitals();
  session_.editor.setColours(colours_.editing, colours_.text);
  std::string& value = taxpayer_.*f.value;
  const screen::FieldResult r = session_.editor.edit(field, value);
  if (r.exitCode == screen::kExitEnter) {
    const std::string typed = records::trimRight(r.text);
    if (f.value == &Taxpayer::birthDate && !validBirthDate(typed)) {
      session_.console.beep();
      return screen::Go::again();
    }
    value = typed;
  }
  showPerson();
  return screen::goFor(r.exitCode);
}

void ListScreen::editValues() {
  std::vector<screen::SequenceStep> steps = intermediarySteps(session_, kIntermediaryPlaces, intermediary_, colours_);
  steps.push_back([this] {
    const screen::Go go = editKind();
    // A company has no natural person's data.
    if (go == screen::Go::next() && taxpayer_.company()) return screen::Go::finish();
    return go;
  });
  for (const PersonField& f : kPersonFields) steps.push_back([this, &f] { return editPerson(f); });
  screen::runSequence(steps);
}

void ListScreen::showWarnings(const std::vector<std::string>& warnings) {
  platform::ScreenBuffer& screen = session_.console.screen();
  const int rows = kWarningLastRow - kWarningFirstRow + 1;
  const int width = kRight - kLabelCol;
  for (int i = 0; i < static_cast<int>(warnings.size()) && i < rows; ++i) {
    std::string line = warnings[static_cast<std::size_t>(i)];
    if (i == rows - 1 && static_cast<int>(warnings.size()) > rows)
      line = "... e altri " + std::to_string(warnings.size() - static_cast<std::size_t>(rows) + 1) +
             " senza Codice Fiscale e Partita IVA";
    screen.putText(kWarningFirstRow + i, kLabelCol, records::fitLeft(line, static_cast<std::size_t>(width)),
                   colours_.text);
  }
}

void ListScreen::nothingQualified() {
  const screen::WindowDescriptor d =
      screen::windowAt(20, 19, 26, 79).framed(1).titled(2).shadowed(2, 0x08).coloured(0x4F, 0x4F, 0x4E);
  screen::Window notice(session_.console.screen(), d, "A T T E N Z I O N E !");
  session_.console.screen().putText(22, 22, "Nessun Cliente o Fornitore soddisfa i criteri stabiliti,", 0x4F);
  session_.console.screen().putText(24, 22, "pertanto nessun record e' stato creato.", 0x4F);
  session_.console.readKey();
}

void ListScreen::run() {
  screen::EditorKeysKept keys(session_.editor);
  platform::ScreenBuffer& screen = session_.console.screen();
  session_.panel.show(screen, screen::legend({{1, "Modifica"}, {2, "Nome File"}}));
  draw();
  const std::string output = session_.catalogue.dosName(records::channel::kCustomerListFile);
  FileNameWindow file(session_, output, colours_);
  for (;;) {
    const ProceedAnswer answer = askProceed(session_, kProceedCol, {screen::kExitUp, screen::kExitF2}, colours_);
    if (answer.kind == ProceedAnswer::Kind::Leave) return;
    if (answer.kind == ProceedAnswer::Kind::Key) {
      if (answer.key == screen::kExitUp) editValues();
      else file.edit(automaticFileName(session_.context().companyExtension, taxpayer_.surname));
      continue;
    }
    break;
  }
  platform::runCommand("CMD /C DEL " + output, session_.console);
  const ListFile list = buildListFile(session_.catalogue, taxpayer_, intermediary_);
  writeOutputFile(output, list.bytes, kRoutine);
  showWarnings(list.warnings);
  if (list.details == 0) nothingQualified();
  offerCopy(session_, output, file.name(), colours_);
}

}  // namespace

// ---- Records ----

Taxpayer taxpayerOf(records::Catalogue& catalogue) {
  const records::Company& c = catalogue.context().company;
  Taxpayer t;
  t.name = c.name;
  t.town = c.town;
  t.vatNumber = c.vatNumber;
  t.fiscalCode = c.fiscalCode;
  t.province = records::readRegistryProvince(catalogue);
  if (!records::isBlank(c.name)) t.kind = 'X';
  return t;
}

std::string frameRecord(char type, const Taxpayer& taxpayer, const records::Intermediary& intermediary,
                        std::string_view yearSuffix) {
  FixedRecord r(kListRecordLength);
  r.text(1, 1, std::string(1, type))
      .text(2, 5, "ART21")
      .text(7, 2, "47")
      .text(9, 1, "0")
      .text(10, 17, std::string(17, '0'))
      .text(27, 6, "000000")
      .text(33, 16, taxpayer.fiscalCode)
      .text(49, 11, taxpayer.vatNumber)
      .text(206, 1, std::string(1, taxpayer.kind))
      .text(257, 4, "20" + records::fitRight(yearSuffix, 2))
      .text(261, 1, "0")
      .text(262, 4, "0001")
      .text(266, 4, "0001")
      .text(270, 16, intermediary.fiscalCode)
      .text(286, 5, intermediary.registrationNumber)
      .text(291, 1, "1")
      .text(292, 8, longDate(intermediary.commitmentDate));
  if (taxpayer.company()) {
    r.text(60, 60, taxpayer.name).text(120, 40, taxpayer.town).text(160, 2, taxpayer.province);
  } else {
    r.text(162, 24, taxpayer.surname)
        .text(186, 20, taxpayer.firstName)
        .text(207, 8, longDate(taxpayer.birthDate, "19"))
        .text(215, 40, taxpayer.birthTown)
        .text(255, 2, taxpayer.birthProvince);
  }
  return r.bytes();
}

std::string fiscalCodeRecord(std::string_view fiscalCode, std::string_view documentDate, double total) {
  FixedRecord r(kListRecordLength);
  r.text(1, 1, "1").text(2, 16, fiscalCode).text(18, 8, longDate(documentDate)).text(26, 1, "1");
  r.number(27, 9, integerPart(total), kRoutine);
  return r.bytes();
}

std::string vatNumberRecord(std::string_view vatNumber, std::string_view documentDate,
                            std::string_view documentNumber, double taxable, double vat, char side) {
  FixedRecord r(kListRecordLength);
  r.text(1, 1, "2")
      .text(2, 11, vatNumber)
      .text(13, 8, longDate(documentDate))
      .text(21, 15, documentNumber)
      .text(36, 1, "1")
      .text(55, 1, std::string(1, side));
  r.number(37, 9, integerPart(taxable), kRoutine).number(46, 9, integerPart(vat), kRoutine);
  return r.bytes();
}

std::vector<bool> qualifyingSlots(std::span<const records::Registration> registrations, int count, long codeOffset) {
  const std::size_t slots = static_cast<std::size_t>(std::max(count, 0)) + 1;
  std::vector<double> totals(slots, 0.0);
  std::vector<bool> qualifies(slots, false);
  for (const records::Registration& r : registrations) {
    if (r.annulled()) continue;
    const long slot = r.counterpartyCode() - codeOffset;
    if (slot < 1 || slot > count) continue;
    double& total = totals[static_cast<std::size_t>(slot)];
    total += r.totals().taxable;
    if (total > kListThreshold) qualifies[static_cast<std::size_t>(slot)] = true;
  }
  return qualifies;
}

void addDetails(ListFile& file, std::span<const records::Registration> registrations,
                const std::vector<lists::ListedParty>& parties, bool sales) {
  const int count = static_cast<int>(parties.size());
  const long offset = sales ? 0 : kSupplierOffset;
  const std::vector<bool> qualifies = qualifyingSlots(registrations, count, offset);
  std::vector<bool> warned(qualifies.size(), false);
  for (const records::Registration& r : registrations) {
    if (r.annulled()) continue;
    const long slot = r.counterpartyCode() - offset;
    if (slot < 1 || slot > count || !qualifies[static_cast<std::size_t>(slot)]) continue;
    const records::Totals totals = r.totals();
    if (!(totals.taxable > 0)) continue;
    const lists::ListedParty& who = parties[static_cast<std::size_t>(slot - 1)];
    const std::string fiscalCode = records::left(records::trim(who.fiscalCode), 16);
    const std::string vatNumber = records::left(records::trim(who.vatNumber), 11);
    if (sales && !(records::val(vatNumber) > 0)) {
      file.bytes += fiscalCodeRecord(fiscalCode, r.documentDate, totals.total);
    } else {
      file.bytes += vatNumberRecord(vatNumber, r.documentDate, r.documentNumber, totals.taxable, totals.vat,
                                    sales ? '1' : '2');
    }
    ++file.details;
    if (fiscalCode.empty() && vatNumber.empty() && !warned[static_cast<std::size_t>(slot)]) {
      warned[static_cast<std::size_t>(slot)] = true;
      file.warnings.push_back(std::string(sales ? "Cliente " : "Fornitore ") + std::to_string(slot) + " " +
                              records::trim(who.name) + ": manca Codice Fiscale e Partita IVA");
    }
  }
}

ListFile buildListFile(records::Catalogue& catalogue, const Taxpayer& taxpayer,
                       const records::Intermediary& intermediary) {
  const std::string& year = catalogue.context().yearSuffix;
  ListFile file;
  file.bytes = frameRecord('0', taxpayer, intermediary, year);
  struct Pass {
    records::RegisterKind registers;
    records::CounterpartyKind parties;
  };
  for (const Pass pass : {Pass{records::RegisterKind::Sales, records::CounterpartyKind::Customer},
                          Pass{records::RegisterKind::Purchases, records::CounterpartyKind::Supplier}}) {
    const records::RegisterHeader header = records::openRegister(catalogue, pass.registers);
    records::openCounterpartyFiles(catalogue, pass.parties);
    const int count = records::readCount(catalogue, pass.parties);
    addDetails(file, records::readRegistrations(catalogue, header.count),
               lists::readListedParties(catalogue, pass.parties, count),
               pass.registers == records::RegisterKind::Sales);
  }
  file.bytes += frameRecord('9', taxpayer, intermediary, year);
  return file;
}

void runCustomerListFile(screen::Session& session) { ListScreen(session).run(); }

}  // namespace vellano::telematic
