// TABIVA.DAT and its 40-position editor. A registration line points at a position, not at a
// code, so a position is only written once its whole row has been typed.
#include "master/vat_table.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "frame/cp437_text.h"
#include "frame/numbers.h"
#include "frame/program_frame.h"
#include "frame/text.h"
#include "frame/window.h"
#include "master/causals_fields.h"
#include "platform/commands.h"
#include "platform/dos_path.h"
#include "platform/programs.h"

namespace vellano::master {
namespace {

namespace L = vat_layout;
constexpr int kChannel = 16;

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
  return dots(5) + bar() + dots(3) + bar() + dots(3) + bar() + dots(2) + "." + dots(1) + bar() + dots(20);
}

// A percentage through its mask, zero included ("  0", " 0.0"), held to the mask's width.
std::string masked(std::string_view mask, float value) {
  return frame::left(frame::printUsing(mask, value), mask.size());
}

class VatEditor {
 public:
  explicit VatEditor(frame::Session& session)
      : session_(session), screen_(session.console.screen()), colours_(screenColours(session.context())) {}

  void run();

 private:
  void drawTemplate();
  void show(int position);
  void showField(int position, int field, const VatCode& vat);
  // Takes what was typed into the row being edited.
  void store(int field, const std::string& text);

  frame::Session& session_;
  platform::ScreenBuffer& screen_;
  ScreenColours colours_;
  std::array<VatCode, kVatPositions + 1> table_{};  // [1..40]
  VatCode work_;
};

void VatEditor::drawTemplate() {
  screen_.putText(1, 2,
                  frame::cp437("Cod. │Al.│%Ve│%Com│Note                │Cod. │Al.│%Ve│%Com│Note                "),
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
    case kCodeField: text = frame::fitLeft(vat.code, 5); break;
    case kRateField: text = frame::fitLeft(vat.rateText, 3); break;
    case kVentilationField: text = masked("###", vat.ventilation); break;
    case kCompensationField: text = masked("##.#", vat.compensation); break;
    default: text = frame::fitLeft(vat.note, 20); break;
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
    case kCodeField: work_.code = frame::trimRight(text); break;
    case kRateField:
      work_.rateText = frame::trimRight(text);
      work_.rate = static_cast<float>(frame::val(work_.rateText));
      break;
    case kVentilationField:
      work_.ventilationText = frame::trim(text);
      work_.ventilation = static_cast<float>(frame::val(work_.ventilationText));
      break;
    case kCompensationField:
      work_.compensationText = frame::trim(text);
      work_.compensation = static_cast<float>(frame::val(work_.compensationText));
      break;
    default: work_.note = frame::trimRight(text); break;
  }
}

void VatEditor::run() {
  frame::Catalogue& catalogue = session_.catalogue;
  for (int n = 1; n <= kVatPositions; ++n) table_[static_cast<std::size_t>(n)] = readVatCode(catalogue, n);
  frame::Window window(screen_, screenWindow(session_.context(), 1, 1, 23, 81, 5), "GESTIONE CAUSALI");
  session_.panel.show(screen_, frame::kMainMenuLegend);
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
    frame::FieldResult r = editField(session_, {cell.row, cell.base + f.offset, f.length, kMaskUp}, initial);
    if (r.exitCode == frame::kExitEsc) return;
    if (r.exitCode == frame::kExitUp) {
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
    if (r.exitCode != frame::kExitEnter) continue;
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

bool VatCode::blank() const {
  return frame::isBlank(code) && frame::isBlank(rateText) && frame::isBlank(ventilationText) &&
         frame::isBlank(compensationText) && frame::isBlank(note);
}

void L_16(const frame::Catalogue& catalogue, VatCode& vat) {
  const frame::Record& record = catalogue.channel(kChannel).buffer();
  vat.code = record.trimmed(L::kCode);
  vat.rateText = record.trimmed(L::kRate);
  vat.ventilationText = record.trimmed(L::kVentilation);
  vat.compensationText = record.trimmed(L::kCompensation);
  vat.note = record.trimmed(L::kNote);
  vat.rate = static_cast<float>(record.number(L::kRate));
  vat.ventilation = static_cast<float>(record.number(L::kVentilation));
  vat.compensation = static_cast<float>(record.number(L::kCompensation));
}

void W_16(frame::Catalogue& catalogue, const VatCode& vat) {
  frame::Record& record = catalogue.channel(kChannel).buffer();
  record.set(L::kCode, vat.code);
  record.set(L::kRate, vat.rateText);
  record.set(L::kVentilation, vat.ventilationText);
  record.set(L::kCompensation, vat.compensationText);
  record.set(L::kNote, vat.note);
  record.set(L::kReserved, "");
}

VatCode readVatCode(frame::Catalogue& catalogue, int position) {
  openChannel(catalogue, kChannel).read(position);
  VatCode vat;
  L_16(catalogue, vat);
  return vat;
}

void writeVatCode(frame::Catalogue& catalogue, int position, const VatCode& vat) {
  frame::Channel& channel = openChannel(catalogue, kChannel);
  W_16(catalogue, vat);
  channel.write(position);
}

VatCell vatCell(int position) {
  return position <= 20 ? VatCell{position + 1, 1} : VatCell{position - 19, 41};
}

void runVatTable(frame::Session& session) {
  if (session.context().fullVatTables == 'S') {
    provideVatDocument();
    platform::runCommand(kVatDocumentCommand, session.console);
    return;
  }
  runVatTableEditor(session);
}

void runVatTableEditor(frame::Session& session) {
  EditorSettings keep(session.editor);
  VatEditor(session).run();
}

}  // namespace vellano::master
