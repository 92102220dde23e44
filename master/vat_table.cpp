// TABIVA.DAT and its 40-position editor. A registration line points at a position, not at a
// code, so a position is only written once its whole row has been typed.
#include "master/vat_table.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "records/cp437_text.h"
#include "records/numbers.h"
#include "screen/function_keys.h"
#include "records/text.h"
#include "screen/window.h"
#include "screen/kit.h"
#include "platform/commands.h"
#include "platform/dos_path.h"
#include "platform/programs.h"

namespace vellano::master {
namespace {

// The five fields of a row in editing order: column offset from the base, editor length.
struct VatField {
  int offset;
  int length;
};
constexpr std::array<VatField, 5> kFields{{{1, -5}, {7, -3}, {11, 3}, {15, 4}, {20, -20}}};
enum FieldIndex { kCodeField, kRateField, kVentilationField, kCompensationField, kNoteField };

std::string bar() { return std::string(1, static_cast<char>(0xB3)); }

// One half of a template row: the five input areas as dots, a bar between each.
std::string templateHalf() {
  return screen::dots(5) + bar() + screen::dots(3) + bar() + screen::dots(3) + bar() + screen::dots(2) + "." + screen::dots(1) + bar() + screen::dots(20);
}

std::string maskedOrBlank(std::string_view mask, float value) {
  if (!(value > 0)) return std::string(mask.size(), ' ');
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
  void showField(int position, int field, const VatCode& vat);
  // Takes what was typed into the row being edited.
  void store(int field, const std::string& text);

  screen::Session& session_;
  platform::ScreenBuffer& screen_;
  screen::ScreenColours colours_;
  std::array<VatCode, kVatPositions + 1> table_{};  // [1..40]
  VatCode work_;
};

void VatEditor::drawTemplate() {
  screen_.putText(1, 2,
                  records::cp437("Cod. │Al.│%Ve│%Com│Note                │Cod. │Al.│%Ve│%Com│Note                "),
                  colours_.text);
  for (int row = 2; row <= 21; ++row) {
    screen_.putText(row, 2, templateHalf(), colours_.text);
    screen_.putText(row, 41, bar(), colours_.text);
    screen_.putText(row, 42, templateHalf(), colours_.text);
  }
}

void VatEditor::showField(int position, int field, const VatCode& vat) {
  const VatCell cell = vatCell(position);
  const int col = cell.base + kFields[static_cast<std::size_t>(field)].offset;
  std::string text;
  switch (field) {
    case kCodeField: text = records::fitLeft(vat.code, 5); break;
    case kRateField: text = records::fitLeft(vat.rateText, 3); break;
    case kVentilationField: text = maskedOrBlank("###", vat.ventilation); break;
    case kCompensationField: text = maskedOrBlank("##.#", vat.compensation); break;
    default: text = records::fitLeft(vat.note, 20); break;
  }
  screen_.putText(cell.row, col, text, colours_.text);
}

// A never-filled position keeps its dotted areas.
void VatEditor::show(int position) {
  const VatCode& vat = table_[static_cast<std::size_t>(position)];
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

void VatEditor::run() {
  records::Catalogue& catalogue = session_.catalogue;
  for (int n = 1; n <= kVatPositions; ++n) table_[static_cast<std::size_t>(n)] = readVatCode(catalogue, n);
  screen::Window window(screen_, screen::screenWindow(session_.context(), 1, 1, 23, 81, 5), "GESTIONE CAUSALI");
  session_.panel.show(screen_, screen::kMainMenuLegend);
  session_.editor.setColours(colours_.editing, colours_.text);
  drawTemplate();
  for (int n = 1; n <= kVatPositions; ++n) show(n);

  int position = 1;
  int field = kCodeField;
  work_ = table_[1];
  for (;;) {
    const VatCell cell = vatCell(position);
    const VatField f = kFields[static_cast<std::size_t>(field)];
    std::string initial;
    switch (field) {
      case kCodeField: initial = work_.code; break;
      case kRateField: initial = work_.rateText; break;
      case kVentilationField: initial = work_.ventilationText; break;
      case kCompensationField: initial = work_.compensationText; break;
      default: initial = work_.note; break;
    }
    screen::FieldResult r = screen::editField(session_, {cell.row, cell.base + f.offset, f.length, screen::kMaskUp}, initial);
    if (r.exitCode == screen::kExitEsc) return;
    if (r.exitCode == screen::kExitUp) {
      if (field > kCodeField) {
        showField(position, field, work_);
        --field;
      } else if (position > 1) {
        show(position);  // the row left behind shows what is stored
        --position;
        work_ = table_[static_cast<std::size_t>(position)];
      }
      continue;
    }
    if (r.exitCode != screen::kExitEnter) continue;
    store(field, r.text);
    showField(position, field, work_);
    if (++field <= kNoteField) continue;

    writeVatCode(catalogue, position, work_);
    table_[static_cast<std::size_t>(position)] = work_;
    position = position % kVatPositions + 1;
    field = kCodeField;
    work_ = table_[static_cast<std::size_t>(position)];
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
  screen::EditorSettings keep(session.editor);
  VatEditor(session).run();
}

}  // namespace vellano::master
