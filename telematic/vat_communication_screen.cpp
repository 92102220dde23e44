// The screen "INVIO TELEMATICO IVA" of the annual VAT communication: the form of the current
// company, its F1 editing, the range of companies and the file.
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

#include "platform/dos_path.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/glyphs.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "telematic/transmission.h"
#include "telematic/vat_communication.h"

namespace vellano::telematic {
namespace {

constexpr const char* kRoutine = "IVA2011";
constexpr std::string_view kTitle = "INVIO TELEMATICO IVA";
constexpr int kTop = 1, kLeft = 1, kBottom = 33, kRight = 88;
constexpr int kLabelCol = 2;
constexpr std::size_t kLabelWidth = 86;
constexpr int kQuestionCol = 3;
constexpr std::string_view kInclude = "Inserire nel File [Si/No/Tutte]: ";
constexpr const char* kScreenAmount = "###,###.##";

// "~" marks an input position; it is drawn as the input dot.
constexpr std::string_view kOperations =
    "non Imponibile: ~~~,~~~.~~ Esente: ~~~,~~~.~~ Cess.Intracomunitarie: ~~~,~~~.~~";
struct Label {
  int row;
  std::string_view text;
};
constexpr std::array<Label, 18> kLabels{{
    {2, " Sezione I DATI GENERALI           Fornitore:"},
    {3, "Cod.Fisc: ~~~~~~~~~~~~~~~~ Denominazione: ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~"},
    {5, "Cognome : ~~~~~~~~~~~~~~~~~~~~ Nome: ~~~~~~~~~~~~~~~~~~~~  Anno d'Imposta: ~~~~"},
    {6, " CONTRIBUENTE"},
    {7, "Partita IVA: ~~~~~~~~~~~ [~]Cont.Sep [~]Soc ad.gruppo IVA [~]Eventi Eccezionali"},
    {9, " DICHIARANTE (compilare solo se diverso dal contribuente)"},
    {10, "Cod.Fisc.Soc.Dich: ~~~~~~~~~~~~~~~~  Cod.Fisc: ~~~~~~~~~~~~~~~~ -Cod.Car: ~~"},
    {12, " Sezione II DATI RELATIVI ALLE OPERAZIONI EFFETTUATE"},
    {13, "Codice Attivit\x85: ~~~~~~"},
    {15, " OPERAZIONI ATTIVE (totali al netto dell'IVA)"},
    {16, "CD1 Totale: ~~~,~~~.~~ DI CUI:"},
    {18, kOperations},
    {19, " OPERAZIONI PASSIVE (totali al netto dell'IVA)"},
    {20, "CD2 Totale: ~~~,~~~.~~ DI CUI:"},
    {22, kOperations},
    {23, " Sezione III DETERMINAZIONE DELL'IVA DOVUTA O A CREDITO"},
    {24, "CD4 IVA esigibile: ~~~,~~~.~~"},
    {26, "CD5 IVA detratta :                         ~~~,~~~.~~"},
}};
constexpr Label kBalanceLabel{28, "CD6 IVA dovuta   : ~~~,~~~.~~ o a Credito: ~~~,~~~.~~"};
constexpr std::array<int, 5> kCodeRows{16, 20, 24, 26, 28};

// Every value of the form: where it stands and how it is typed.
enum class Kind { Text, Number, Tick, Amount };
struct Slot {
  int row;
  int col;
  int width;
  Kind kind;
};
// The intermediary on the first row: the fiscal code and the supplier type as the form shows
// them, then the registration number and the commitment date, which the file also needs.
constexpr IntermediaryPlaces kIntermediaryPlaces{{2, 48}, {2, 76}, {2, 82}};
constexpr Slot kSupplierType{2, 66, 2, Kind::Number};
constexpr Slot kFiscalCode{3, 12, 16, Kind::Text};
constexpr Slot kName{3, 44, 37, Kind::Text};
constexpr Slot kSurname{5, 12, 20, Kind::Text};
constexpr Slot kFirstName{5, 39, 20, Kind::Text};
constexpr Slot kTaxYear{5, 77, 4, Kind::Number};
constexpr Slot kVatNumber{7, 15, 11, Kind::Number};
constexpr Slot kSeparate{7, 28, 1, Kind::Tick};
constexpr Slot kGroup{7, 40, 1, Kind::Tick};
constexpr Slot kEvents{7, 61, 1, Kind::Tick};
constexpr Slot kDeclaringCompany{10, 21, 16, Kind::Text};
constexpr Slot kDeclarant{10, 49, 16, Kind::Text};
constexpr Slot kRole{10, 76, 2, Kind::Text};
constexpr Slot kActivity{13, 19, 6, Kind::Number};
constexpr std::array<int, 4> kOperationCols{14, 18, 37, 71};  // total on its own row, then row + 2
constexpr Slot kChargeable{24, 21, 10, Kind::Amount};
constexpr Slot kDeducted{26, 45, 10, Kind::Amount};
constexpr Slot kDue{28, 21, 10, Kind::Amount};
constexpr Slot kCredit{28, 45, 10, Kind::Amount};

Slot operationSlot(int totalRow, std::size_t k) {
  return {k == 0 ? totalRow : totalRow + 2, kOperationCols[k], 10, Kind::Amount};
}

std::string withDots(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '~') c = static_cast<char>(screen::kDot);
  return out;
}

std::string shown(std::string_view value, int width) {
  const std::string cut = records::left(records::trimRight(value), static_cast<std::size_t>(width));
  return cut + screen::dots(static_cast<std::size_t>(width) - cut.size());
}

std::string tick(bool ticked) { return ticked ? "X" : ""; }

// The company range: the company number n of the catalogue's context, with its registry
// values; the context is put back when the run ends.
class CompanyScope {
 public:
  explicit CompanyScope(records::Catalogue& catalogue)
      : catalogue_(catalogue), extension_(catalogue.context().companyExtension),
        number_(catalogue.context().companyNumber), company_(catalogue.context().company) {}
  ~CompanyScope() { select(number_); }
  CompanyScope(const CompanyScope&) = delete;
  CompanyScope& operator=(const CompanyScope&) = delete;

  int current() const { return number_; }
  // The last company the range may reach: the count of the company list, at least this one.
  int count() const { return std::max(records::countOf(catalogue_.context().companyCount, 999), number_); }

  // Makes company n the one the catalogue opens files for and returns its registry values.
  const records::Company& select(int n) {
    records::Context& c = catalogue_.context();
    if (n == number_) {
      c.companyExtension = extension_;
      c.companyNumber = number_;
      c.company = company_;
      return c.company;
    }
    char extension[8];
    std::snprintf(extension, sizeof extension, "%03d", n);
    c.companyExtension = extension;
    c.companyNumber = n;
    c.company = records::Company{};
    if (c.hostMode == 6) {
      catalogue_.open(records::channel::kCompanies).read(n);
      records::L_92(catalogue_, c.company);
    } else {
      // Opening would create an empty registry for a company that has none.
      std::error_code ec;
      if (std::filesystem::exists(platform::hostPath(catalogue_.dosName(records::channel::kCompany)), ec)) {
        catalogue_.open(records::channel::kCompany).read(1);
        records::L_14(catalogue_, c.company);
      }
    }
    return c.company;
  }

 private:
  records::Catalogue& catalogue_;
  std::string extension_;
  int number_;
  records::Company company_;
};

class CommunicationScreen {
 public:
  CommunicationScreen(screen::Session& session, printout::PrintOutput& output)
      : session_(session), output_(output), colours_(colours(session.context())),
        window_(session.console.screen(), screen::screenWindow(session.context(), kTop, kLeft, kBottom, kRight, 2),
                kTitle),
        intermediary_(records::readIntermediary(session.catalogue)), companies_(session.catalogue),
        first_(companies_.current()), last_(companies_.current()) {}

  void run();

 private:
  CommunicationForm load(int company);
  void draw();
  void showValues();
  void put(const Slot& slot, std::string_view text);
  void putAmount(const Slot& slot, double value);
  void editForm();
  screen::Go editText(const Slot& slot, std::string& value);
  screen::Go editTick(const Slot& slot, bool& value);
  screen::Go editAmount(const Slot& slot, double& value);
  void showRange();
  void editRange();
  screen::Go editCompany(int row, int& number);
  // The answer for one company: include it, leave it out, or include it and all that follow.
  char askInclude();
  void clearQuestion();

  screen::Session& session_;
  printout::PrintOutput& output_;
  Colours colours_;
  screen::Window window_;
  records::Intermediary intermediary_;
  CompanyScope companies_;
  int first_;
  int last_;
  CommunicationForm form_;
};

CommunicationForm CommunicationScreen::load(int company) {
  const records::Company& registry = companies_.select(company);
  CommunicationForm form = formOf(registry, session_.context().yearSuffix);
  fillTotals(form, registers::liquidate(registers::readLiquidationInput(session_.catalogue),
                                        registers::Period::year()));
  return form;
}

void CommunicationScreen::put(const Slot& slot, std::string_view text) {
  session_.console.screen().putText(slot.row, slot.col, shown(text, slot.width), colours_.text);
}

void CommunicationScreen::putAmount(const Slot& slot, double value) {
  session_.console.screen().putText(slot.row, slot.col, records::printUsing(kScreenAmount, value), colours_.text);
}

void CommunicationScreen::draw() {
  platform::ScreenBuffer& screen = session_.console.screen();
  for (const Label& l : kLabels)
    screen.putText(l.row, kLabelCol, records::fitLeft(withDots(l.text), kLabelWidth), colours_.text);
  screen.putText(kBalanceLabel.row, kLabelCol, records::fitLeft(withDots(kBalanceLabel.text), kLabelWidth),
                 colours_.text);
  // The row codes stand out from their labels.
  const std::uint8_t code = static_cast<std::uint8_t>((colours_.text & 0xF0) | 0x0E);
  constexpr std::string_view kCodes = "12456";
  for (std::size_t k = 0; k < kCodeRows.size(); ++k)
    screen.putText(kCodeRows[k], kLabelCol, "CD" + std::string(1, kCodes[k]), code);
  showValues();
}

void CommunicationScreen::showValues() {
  platform::ScreenBuffer& screen = session_.console.screen();
  showIntermediary(screen, kIntermediaryPlaces, intermediary_, colours_);
  screen.putText(2, 64, " (", colours_.text);
  put(kSupplierType, intermediary_.supplierType);
  screen.putText(2, 68, ")  Iscr:", colours_.text);
  screen.putText(2, 81, " ", colours_.text);
  const CommunicationForm& f = form_;
  put(kFiscalCode, f.fiscalCode);
  put(kName, f.name);
  put(kSurname, f.surname);
  put(kFirstName, f.firstName);
  put(kTaxYear, f.taxYear);
  put(kVatNumber, f.vatNumber);
  put(kSeparate, tick(f.separateAccounts));
  put(kGroup, tick(f.vatGroup));
  put(kEvents, tick(f.exceptionalEvents));
  put(kDeclaringCompany, f.declaringCompany);
  put(kDeclarant, f.declarant);
  put(kRole, f.declarantRole);
  put(kActivity, f.activityCode);
  for (std::size_t k = 0; k < 4; ++k) {
    putAmount(operationSlot(16, k), f.active[k]);
    putAmount(operationSlot(20, k), f.passive[k]);
  }
  putAmount(kChargeable, f.chargeable);
  putAmount(kDeducted, f.deducted);
  putAmount(kDue, f.due);
  putAmount(kCredit, f.credit);
}

screen::Go CommunicationScreen::editText(const Slot& slot, std::string& value) {
  const screen::FieldSpec field = (slot.kind == Kind::Number ? screen::numericField(slot.row, slot.col, slot.width)
                                                            : screen::textField(slot.row, slot.col, slot.width))
                                     .withKeys({screen::kExitUp})
                                     .inCapitals();
  session_.editor.setColours(colours_.editing, colours_.text);
  const screen::FieldResult r = session_.editor.edit(field, records::left(value, static_cast<std::size_t>(slot.width)));
  if (r.exitCode == screen::kExitEnter) value = records::trim(r.text);
  showValues();
  return screen::goFor(r.exitCode);
}

screen::Go CommunicationScreen::editTick(const Slot& slot, bool& value) {
  const screen::FieldSpec field = screen::textField(slot.row, slot.col, 1).withKeys({screen::kExitUp}).inCapitals();
  session_.editor.setColours(colours_.editing, colours_.text);
  const screen::FieldResult r = session_.editor.edit(field, tick(value));
  if (r.exitCode == screen::kExitEnter) {
    const std::string typed = records::trim(r.text);
    if (typed != "" && typed != "X") {
      session_.console.beep();
      return screen::Go::again();
    }
    value = typed == "X";
  }
  showValues();
  return screen::goFor(r.exitCode);
}

screen::Go CommunicationScreen::editAmount(const Slot& slot, double& value) {
  const screen::FieldSpec field = screen::numericField(slot.row, slot.col, slot.width).withKeys({screen::kExitUp});
  session_.editor.setColours(colours_.editing, colours_.text);
  const screen::FieldResult r = session_.editor.edit(field, records::trim(records::str(value)));
  if (r.exitCode == screen::kExitEnter) {
    const double typed = records::round2(records::val(r.text));
    if (!(typed >= 0) || records::printUsing(kScreenAmount, typed).size() > static_cast<std::size_t>(slot.width)) {
      session_.console.beep();
      return screen::Go::again();
    }
    value = typed;
    form_.settleBalance();
  }
  showValues();
  return screen::goFor(r.exitCode);
}

void CommunicationScreen::editForm() {
  CommunicationForm& f = form_;
  std::vector<screen::SequenceStep> steps = intermediarySteps(session_, kIntermediaryPlaces, intermediary_, colours_);
  steps.insert(steps.begin() + 1, [&] { return editText(kSupplierType, intermediary_.supplierType); });
  for (auto& step : steps) {
    // The shared steps redraw only their own field.
    step = [this, inner = std::move(step)] {
      const screen::Go go = inner();
      showValues();
      return go;
    };
  }
  std::vector<screen::SequenceStep> form{
      [&] { return editText(kFiscalCode, f.fiscalCode); },
      [&] {
        const screen::Go go = editText(kName, f.name);
        // Without a company name the taxpayer is a natural person.
        f.company = !records::isBlank(f.name);
        return go;
      },
      [&] { return editText(kSurname, f.surname); },
      [&] { return editText(kFirstName, f.firstName); },
      [&] { return editText(kTaxYear, f.taxYear); },
      [&] { return editText(kVatNumber, f.vatNumber); },
      [&] { return editTick(kSeparate, f.separateAccounts); },
      [&] { return editTick(kGroup, f.vatGroup); },
      [&] { return editTick(kEvents, f.exceptionalEvents); },
      [&] { return editText(kDeclaringCompany, f.declaringCompany); },
      [&] { return editText(kDeclarant, f.declarant); },
      [&] { return editText(kRole, f.declarantRole); },
      [&] { return editText(kActivity, f.activityCode); },
  };
  steps.insert(steps.end(), form.begin(), form.end());
  for (std::size_t k = 0; k < 4; ++k) steps.push_back([&, k] { return editAmount(operationSlot(16, k), f.active[k]); });
  for (std::size_t k = 0; k < 4; ++k) steps.push_back([&, k] { return editAmount(operationSlot(20, k), f.passive[k]); });
  steps.push_back([&] { return editAmount(kChargeable, f.chargeable); });
  steps.push_back([&] { return editAmount(kDeducted, f.deducted); });
  screen::runSequence(steps);
}

void CommunicationScreen::showRange() {
  platform::ScreenBuffer& screen = session_.console.screen();
  char number[8];
  screen.putText(37, 63, "dall'Azienda: ", colours_.text);
  std::snprintf(number, sizeof number, "%03d", first_ % 1000);
  screen.putText(37, 77, number, colours_.text);
  screen.putText(38, 81, "(" + form_.taxYear + ")", colours_.text);
  screen.putText(39, 63, "all 'Azienda: ", colours_.text);
  std::snprintf(number, sizeof number, "%03d", last_ % 1000);
  screen.putText(39, 77, number, colours_.text);
}

screen::Go CommunicationScreen::editCompany(int row, int& number) {
  const screen::FieldSpec field = screen::numericField(row, 77, 3).withKeys({screen::kExitUp});
  session_.editor.setColours(colours_.editing, colours_.text);
  const screen::FieldResult r = session_.editor.edit(field, std::to_string(number));
  if (r.exitCode == screen::kExitEnter) {
    const double typed = records::val(r.text);
    if (!(typed >= 1 && typed <= companies_.count()) || typed != static_cast<int>(typed)) {
      session_.console.beep();
      return screen::Go::again();
    }
    number = static_cast<int>(typed);
  }
  showRange();
  return screen::goFor(r.exitCode);
}

void CommunicationScreen::editRange() {
  int first = first_;
  int last = last_;
  const screen::SequenceEnd end = screen::runSequence({
      [&] { return editCompany(37, first); },
      [&] {
        const screen::Go go = editCompany(39, last);
        if (go == screen::Go::next() && last < first) {
          session_.console.beep();
          return screen::Go::again();
        }
        return go;
      },
  });
  if (end == screen::SequenceEnd::Completed) {
    first_ = first;
    last_ = last;
    form_ = load(first_);
  }
  showValues();
  showRange();
}

void CommunicationScreen::clearQuestion() {
  session_.console.screen().fill(kQuestionRow, kQuestionCol, 50 - kQuestionCol, ' ', colours_.text);
}

char CommunicationScreen::askInclude() {
  const int answerCol = kQuestionCol + static_cast<int>(kInclude.size());
  const screen::FieldSpec field = screen::textField(kQuestionRow, answerCol, 1).withKeys({screen::kExitUp}).inCapitals();
  for (;;) {
    clearQuestion();
    session_.console.screen().putText(kQuestionRow, kQuestionCol, kInclude, colours_.text);
    session_.editor.setColours(colours_.editing, colours_.text);
    const screen::FieldResult r = session_.editor.edit(field, "S");
    if (r.exitCode == screen::kExitUp) {
      editForm();
      continue;
    }
    if (r.exitCode == screen::kExitEsc) return 'N';
    if (r.exitCode != screen::kExitEnter) continue;
    const std::string typed = records::trim(r.text);
    if (typed == "S" || typed == "N" || typed == "T") return typed[0];
    session_.console.beep();
  }
}

void CommunicationScreen::run() {
  screen::EditorKeysKept keys(session_.editor);
  session_.panel.show(session_.console.screen(),
                      screen::legend({{1, "Modifica"}, {2, "Nome File"}, {8, "Stampa"}, {9, "Aziende"}}));
  form_ = load(first_);
  draw();
  const std::string output = session_.catalogue.dosName(records::channel::kVatReturnFile);
  FileNameWindow file(session_, output, colours_);
  screen::Window range(session_.console.screen(), screen::screenWindow(session_.context(), 35, 62, 41, 87, 1),
                       " AZIENDE ");
  showRange();
  for (;;) {
    const ProceedAnswer answer = askProceed(
        session_, kQuestionCol, {screen::kExitUp, screen::kExitF2, screen::kExitF8, screen::kExitF9}, colours_);
    if (answer.kind == ProceedAnswer::Kind::Leave) return;
    if (answer.kind == ProceedAnswer::Kind::Proceed) break;
    switch (answer.key) {
      case screen::kExitUp: editForm(); break;
      case screen::kExitF2: file.edit(automaticFileName(session_.context().companyExtension, form_.surname)); break;
      case screen::kExitF8: printCommunication(session_, output_, form_, intermediary_); break;
      case screen::kExitF9: editRange(); break;
      default: break;
    }
  }

  CommunicationFile communication(intermediary_);
  bool all = false;
  for (int n = first_; n <= last_; ++n) {
    // The first company keeps what was typed for it at the question.
    if (n != first_) form_ = load(n);
    showValues();
    if (form_.empty()) continue;
    const char answer = all ? 'S' : askInclude();
    if (answer == 'T') all = true;
    if (answer != 'N') communication.add(form_);
  }
  writeOutputFile(output, communication.finish(), kRoutine);
  offerCopy(session_, output, file.name(), colours_);
}

}  // namespace

void runVatCommunication(screen::Session& session, printout::PrintOutput& output) {
  CommunicationScreen(session, output).run();
}

}  // namespace vellano::telematic
