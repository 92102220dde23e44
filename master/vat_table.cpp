// TABIVA.DAT and its 40-position editor. A registration line points at a position, not at a
// code, so a position is only written once its whole row has been typed.
#include "master/vat_table.h"

#include <array>
#include <filesystem>
#include <system_error>
#include <vector>

#include "records/cp437_text.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/field_sequence.h"
#include "screen/function_keys.h"
#include "screen/glyphs.h"
#include "screen/kit.h"
#include "screen/window.h"
#include "platform/commands.h"
#include "platform/dos_path.h"
#include "platform/programs.h"

namespace vellano::master {
namespace {

constexpr int kChannel = records::channel::kVatCodes;

// The five fields of a row in editing order, their columns counted from the position's base.
struct VatField {
  screen::FieldSpec place;
  std::string records::VatCode::*text;
};
constexpr screen::KeyMask kUp{screen::kExitUp};
constexpr std::array<VatField, 5> kFields{{
    {screen::textField(0, 1, 5).withKeys(kUp), &records::VatCode::code},
    {screen::textField(0, 7, 3).withKeys(kUp), &records::VatCode::rateText},
    {screen::numericField(0, 11, 3).withKeys(kUp), &records::VatCode::ventilationText},
    {screen::numericField(0, 15, 4).withKeys(kUp), &records::VatCode::compensationText},
    {screen::textField(0, 20, 20).withKeys(kUp), &records::VatCode::note},
}};
enum FieldIndex { kCodeField, kRateField, kVentilationField, kCompensationField, kNoteField };

// One half of a template row: the five input areas as dots, a bar between each.
std::string templateHalf() {
  using screen::bar;
  using screen::dots;
  return dots(5) + bar() + dots(3) + bar() + dots(3) + bar() + dots(2) + "." + dots(1) + bar() + dots(20);
}

// A percentage through its mask, zero included ("  0", " 0.0"), held to the mask's width.
std::string masked(std::string_view mask, float value) {
  return records::left(records::printUsing(mask, value), mask.size());
}

class VatEditor {
 public:
  explicit VatEditor(screen::Session& session)
      : session_(session), screen_(session.console.screen()), colours_(screen::screenColours(session.context())) {}

  void run();

 private:
  void drawTemplate();
  void show(int position);
  void showField(int position, int field, const records::VatCode& vat);
  screen::Go editField(int position, int field);
  // Takes what was typed into the row being edited.
  void store(int field, const std::string& text);

  screen::Session& session_;
  platform::ScreenBuffer& screen_;
  screen::ScreenColours colours_;
  std::array<records::VatCode, records::kVatPositions + 1> table_{};  // [1..40]
  records::VatCode work_;
};

void VatEditor::drawTemplate() {
  screen_.putText(1, 2,
                  records::cp437("Cod. │Al.│%Ve│%Com│Note                │Cod. │Al.│%Ve│%Com│Note                "),
                  colours_.text);
  for (int row = 2; row <= 21; ++row) {
    screen_.putText(row, 2, templateHalf(), colours_.text);
    screen_.putText(row, 41, screen::bar(), colours_.text);
    screen_.putText(row, 42, templateHalf(), colours_.text);
  }
}

void VatEditor::showField(int position, int field, const records::VatCode& vat) {
  const VatCell cell = vatCell(position);
  const int col = cell.base + kFields[static_cast<std::size_t>(field)].place.col;
  std::string text;
  switch (field) {
    case kCodeField: text = records::fitLeft(vat.code, 5); break;
    case kRateField: text = records::fitLeft(vat.rateText, 3); break;
    case kVentilationField: text = masked("###", vat.ventilation); break;
    case kCompensationField: text = masked("##.#", vat.compensation); break;
    default: text = records::fitLeft(vat.note, 20); break;
  }
  screen_.putText(cell.row, col, text, colours_.text);
}

// A never-filled position keeps its dotted areas.
void VatEditor::show(int position) {
  const records::VatCode& vat = table_[static_cast<std::size_t>(position)];
  const VatCell cell = vatCell(position);
  screen_.putText(cell.row, cell.base + 1, templateHalf(), colours_.text);
  if (vat.blank()) return;
  for (int field = kCodeField; field <= kNoteField; ++field) showField(position, field, vat);
}

void VatEditor::store(int field, const std::string& text) {
  switch (field) {
    case kCodeField: work_.code = records::trimRight(text); break;
    case kRateField:
      work_.rateText = records::trimRight(text);
      work_.rate = static_cast<float>(records::val(work_.rateText));
      break;
    case kVentilationField:
      work_.ventilationText = records::trim(text);
      work_.ventilation = static_cast<float>(records::val(work_.ventilationText));
      break;
    case kCompensationField:
      work_.compensationText = records::trim(text);
      work_.compensation = static_cast<float>(records::val(work_.compensationText));
      break;
    default: work_.note = records::trimRight(text); break;
  }
}

// Up shows the field left behind as the row holds it so far.
screen::Go VatEditor::editField(int position, int field) {
  const VatCell cell = vatCell(position);
  const VatField& f = kFields[static_cast<std::size_t>(field)];
  const screen::FieldResult r = session_.editor.edit(f.place.at(cell.row, cell.base + f.place.col), work_.*f.text);
  if (r.exitCode == screen::kExitUp && field > kCodeField) showField(position, field, work_);
  if (r.exitCode == screen::kExitEnter) {
    store(field, r.text);
    showField(position, field, work_);
  }
  return screen::goFor(r.exitCode);
}

// A row is written when its last field is typed, and the next position follows (after 40,
// position 1). Up from a code goes to the code of the position before, where there is one.
void VatEditor::run() {
  records::Catalogue& catalogue = session_.catalogue;
  for (int n = 1; n <= records::kVatPositions; ++n) table_[static_cast<std::size_t>(n)] = records::readVatCode(catalogue, n);
  screen::Window window(screen_, screen::screenWindow(session_.context(), 1, 1, 23, 81, 5), "GESTIONE CAUSALI");
  session_.panel.show(screen_, screen::kMainMenuLegend);
  session_.editor.setColours(colours_.editing, colours_.text);
  drawTemplate();
  for (int n = 1; n <= records::kVatPositions; ++n) show(n);

  int position = 1;
  work_ = table_[1];
  std::vector<screen::SequenceStep> row;
  for (int field = kCodeField; field <= kNoteField; ++field)
    row.push_back([this, &position, field] { return editField(position, field); });
  for (;;) {
    switch (screen::runSequence(row, kCodeField, screen::BackFromFirst::Ends)) {
      case screen::SequenceEnd::Abandoned: return;
      case screen::SequenceEnd::BackFromFirst:
        if (position > 1) {
          show(position);  // the row left behind shows what is stored
          --position;
          work_ = table_[static_cast<std::size_t>(position)];
        }
        break;
      case screen::SequenceEnd::Completed:
        records::writeVatCode(catalogue, position, work_);
        table_[static_cast<std::size_t>(position)] = work_;
        position = position % records::kVatPositions + 1;
        work_ = table_[static_cast<std::size_t>(position)];
        break;
    }
  }
}

// The reference document is installed beside the programs; the command opens it in the
// working folder, so a folder that lacks it gets a copy first (an existing one is kept).
void provideVatDocument() {
  const std::filesystem::path target = platform::hostPath(kVatDocument);
  std::error_code ec;
  if (std::filesystem::exists(target, ec)) return;
  const std::filesystem::path source = platform::ownFolder() / std::string(kVatDocument);
  if (std::filesystem::exists(source, ec)) std::filesystem::copy_file(source, target, ec);
}

}  // namespace

VatCell vatCell(int position) {
  return position <= 20 ? VatCell{position + 1, 1} : VatCell{position - 19, 41};
}

void runVatTable(screen::Session& session) {
  if (session.context().fullVatTables == 'S') {
    provideVatDocument();
    platform::runCommand(kVatDocumentCommand, session.console);
    return;
  }
  runVatTableEditor(session);
}

void runVatTableEditor(screen::Session& session) {
  screen::EditorKeysKept keep(session.editor);
  VatEditor(session).run();
}

}  // namespace vellano::master
