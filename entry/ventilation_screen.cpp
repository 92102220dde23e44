// The CALCOLI screen: three tables over rows 1-44 and columns 1-90, computed afresh each time.
#include "entry/ventilation_screen.h"

#include <array>
#include <string>

#include "records/registration_files.h"
#include "records/cp437_text.h"
#include "records/numbers.h"
#include "records/register_guard.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/field_sequence.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/window.h"

namespace vellano::entry {
namespace {

constexpr const char* kAmountMask = "###,###.##";
constexpr const char* kCoefficientMask = "###.##########";

// The tables fill the whole window, frame rows included, so it is drawn without a frame and
// with the title on the one free stretch of the bottom row.
constexpr int kTop = 1, kLeft = 1, kBottom = 44, kRight = 90;
constexpr int kKeyRow = 44;
constexpr int kStockRow = 16;

constexpr std::string_view kTakingsHeading =
    "Me│ 4%       │ 10%      │ 20%      │TOTALE    │VENTILAZ  │ %            │";
constexpr std::string_view kPurchasesHeading =
    "Me│          4%         ║         10%         ║         20%         ║TOTALE    │PROGRESSIV";
constexpr std::string_view kVatHeading =
    "Me│Imponibile        IVA║Imponibile        IVA║Imponibile        IVA║TOTALE    │";

constexpr std::array<int, 3> kRates{4, 10, 20};
// The one-character field the screen waits in: F9 retypes the stock, ESC leaves.
constexpr screen::FieldSpec kKeyField = screen::textField(kKeyRow, 1, 1).withKeys({screen::kExitF9});

class Painter {
 public:
  Painter(platform::ScreenBuffer& screen, std::uint8_t attr) : screen_(screen), attr_(attr) {}

  void text(int row, int col, std::string_view cp437Text) { screen_.putText(row, col, cp437Text, attr_); }
  // Values are shown only when above 0.
  void amount(int row, int col, float value) {
    if (value > 0) text(row, col, records::printUsing(kAmountMask, value));
  }
  void coefficient(int row, int col, float value) {
    if (value > 0) text(row, col, records::printUsing(kCoefficientMask, value));
  }
  // A heading and its column rules carried down the rows below it.
  void table(int headingRow, int firstRow, int lastRow, std::string_view heading) {
    const std::string bytes = records::cp437(heading);
    text(headingRow, 1, bytes);
    std::string rule(bytes.size(), ' ');
    for (std::size_t i = 0; i < bytes.size(); ++i)
      if (bytes[i] == '\xB3' || bytes[i] == '\xBA') rule[i] = bytes[i];
    for (int row = firstRow; row <= lastRow; ++row) text(row, 1, rule);
  }
  void month(int row, int m) { text(row, 1, records::printUsing("##", m)); }

 private:
  platform::ScreenBuffer& screen_;
  std::uint8_t attr_;
};

void drawTakings(Painter& p, const VentilationInput& in, const VentilationTables& t) {
  p.table(1, 2, 14, kTakingsHeading);
  p.text(1, 74, "___CORRISPETTIVI");
  for (int m = 1; m <= kMonths; ++m) {
    const int row = m + 1;
    p.month(row, m);
    p.amount(row, 4, in.c4[m]);
    p.amount(row, 15, in.c10[m]);
    p.amount(row, 26, in.c20[m]);
    p.amount(row, 37, t.total[m]);
    p.amount(row, 48, in.v[m]);
    p.coefficient(row, 59, t.k[m]);
  }
  p.amount(14, 4, t.c4);
  p.amount(14, 15, t.c10);
  p.amount(14, 26, t.c20);
  p.amount(14, 37, t.totalYear);
  p.amount(14, 48, t.v);
}

void drawStock(Painter& p, const VentilationInput& in) {
  p.text(15, 1, "   Rimanenze Anno Precedente");
  p.amount(kStockRow, 4, in.stock4);
  p.amount(kStockRow, 26, in.stock10);
  p.amount(kStockRow, 48, in.stock20);
  p.text(kStockRow, 70, "% ");
  p.coefficient(kStockRow, 72, in.previousCoefficient);
}

void drawPurchases(Painter& p, const VentilationInput& in, const VentilationTables& t) {
  p.table(17, 18, 30, kPurchasesHeading);
  for (int m = 1; m <= kMonths; ++m) {
    const int row = 17 + m;
    p.month(row, m);
    for (std::size_t i = 0; i < kRates.size(); ++i) {
      const int col = 4 + static_cast<int>(i) * 22;
      p.amount(row, col, in.p[m][kRates[i]]);
      p.amount(row, col + 11, t.pp[m][kRates[i]]);
    }
    p.amount(row, 70, t.m[m]);
    p.amount(row, 81, t.pm[m]);
  }
  for (std::size_t i = 0; i < kRates.size(); ++i) p.amount(30, 4 + static_cast<int>(i) * 22, t.purchasesYear[kRates[i]]);
  p.amount(30, 70, t.mYear);
}

void drawVat(Painter& p, const VentilationTables& t) {
  p.table(31, 32, 44, kVatHeading);
  p.text(31, 81, "______IVA");
  for (int m = 1; m <= kMonths; ++m) {
    const int row = 31 + m;
    p.month(row, m);
    for (std::size_t i = 0; i < kRates.size(); ++i) {
      const int col = 4 + static_cast<int>(i) * 22;
      p.amount(row, col, t.taxable(m, kRates[i]));
      p.amount(row, col + 11, t.i[m][kRates[i]]);
    }
    p.amount(row, 70, t.monthVat[m]);
  }
  for (std::size_t i = 0; i < kRates.size(); ++i) {
    const int col = 4 + static_cast<int>(i) * 22;
    p.amount(44, col, t.taxableYear[kRates[i]]);
    p.amount(44, col + 11, t.vatYear[kRates[i]]);
  }
  p.amount(44, 70, t.vatTotalYear);
}

screen::WindowDescriptor calcoliWindow(const records::Context& context) {
  return screen::screenWindow(context, kTop, kLeft, kBottom, kRight, 6).framed(0);
}

// F9: the three Rimanenze and the coefficient retyped on row 16, then written to the purchase
// header. False when ESC abandoned the edit (nothing written).
bool editStock(screen::Session& session, std::uint8_t attr) {
  struct Input {
    screen::FieldSpec field;
    std::string records::RegisterHeader::*value;
  };
  static constexpr std::array<Input, 4> kInputs{{
      {screen::numericField(kStockRow, 4, 10).withKeys({screen::kExitUp}), &records::RegisterHeader::stock4},
      {screen::numericField(kStockRow, 26, 10).withKeys({screen::kExitUp}), &records::RegisterHeader::stock10},
      {screen::numericField(kStockRow, 48, 10).withKeys({screen::kExitUp}), &records::RegisterHeader::stock20},
      {screen::numericField(kStockRow, 72, 14).withKeys({screen::kExitUp}), &records::RegisterHeader::stockPercent},
  }};
  records::Catalogue& catalogue = session.catalogue;
  records::setRegisterStems(catalogue, records::registerInfo(records::RegisterKind::Purchases).stems);
  catalogue.open(records::channel::kRegisterHeader).read(1);
  records::RegisterHeader header;
  records::L_3(catalogue, header);

  session.panel.show(session.console.screen(), screen::legend({}));
  std::vector<screen::SequenceStep> steps;
  for (const Input& input : kInputs) {
    steps.push_back([&session, &header, &input, attr] {
      session.editor.setColours(screen::screenColours(session.context()).editing, attr);
      const screen::FieldResult r = session.editor.edit(input.field, header.*input.value);
      if (r.exitCode != screen::kExitEnter) return screen::goFor(r.exitCode);
      header.*input.value = records::trim(r.text);
      return screen::Go::next();
    });
  }
  if (screen::runSequence(steps) != screen::SequenceEnd::Completed) return false;
  // Only the four values typed here change: the rest of the header is the one on file now.
  records::SaveTransaction transaction(catalogue);
  records::RegisterHeader stored = records::headerForSave(catalogue, records::RegisterKind::Purchases);
  for (const Input& input : kInputs) stored.*input.value = header.*input.value;
  records::writeHeader(catalogue, stored);
  transaction.commit();
  return true;
}

}  // namespace

void drawVentilation(platform::ScreenBuffer& screen, const VentilationInput& input,
                     const VentilationTables& tables, std::uint8_t attr) {
  Painter p(screen, attr);
  drawTakings(p, input, tables);
  drawStock(p, input);
  drawPurchases(p, input, tables);
  drawVat(p, tables);
}

void runVentilationScreen(screen::Session& session) {
  platform::ScreenBuffer& screen = session.console.screen();
  const screen::WindowDescriptor d = calcoliWindow(session.context());
  screen::Window window(screen, d, "CALCOLI");
  for (;;) {
    const VentilationInput input = readVentilationInput(session.catalogue);
    const VentilationTables tables = computeVentilation(input);
    screen::drawWindow(screen, d, "CALCOLI");
    drawVentilation(screen, input, tables, d.interiorAttr);
    session.panel.show(screen, screen::legend({{9, "%Anno Prec"}}));
    for (;;) {
      session.editor.setColours(screen::screenColours(session.context()).editing, d.interiorAttr);
      const screen::FieldResult r = session.editor.edit(kKeyField, "");
      if (r.exitCode == screen::kExitEsc) return;
      if (r.exitCode == screen::kExitF9) break;
    }
    editStock(session, d.interiorAttr);
  }
}

}  // namespace vellano::entry
