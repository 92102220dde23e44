// The ventilation computation and the gathering of its input from the yearly files.
#include "entry/ventilation.h"

#include <cmath>

#include "records/registration_files.h"
#include "records/numbers.h"
#include "records/text.h"
#include "records/causal_file.h"

namespace vellano::entry {
namespace {

float round2f(float value) { return static_cast<float>(records::round2(value)); }

// A BASIC subscript: the nearest whole number.
int subscript(float value) { return static_cast<int>(std::lround(value)); }

bool isStockRate(int r) { return r == 4 || r == 10 || r == 20; }

}  // namespace

void VentilationInput::addPurchase(int month, float rate, double gross) {
  if (month < 1 || month > kMonths || !(rate >= 0) || rate > kMaxRate) return;
  p[month][subscript(rate)] += static_cast<float>(gross);
}

float VentilationInput::stockAt(int rate) const {
  switch (rate) {
    case 4: return stock4;
    case 10: return stock10;
    case 20: return stock20;
    default: return 0;
  }
}

VentilationTables computeVentilation(const VentilationInput& in) {
  VentilationTables t;
  // Takings.
  for (int m = 1; m <= kMonths; ++m) {
    t.total[m] = in.c4[m] + in.c10[m] + in.c20[m];
    t.c4 += in.c4[m];
    t.c10 += in.c10[m];
    t.c20 += in.c20[m];
    t.v += in.v[m];
    t.totalYear += t.total[m];
  }
  // Purchases and their progressives.
  for (int m = 1; m <= kMonths; ++m) {
    for (int r = 0; r <= kMaxRate; ++r) {
      t.m[m] += in.p[m][r];
      t.purchasesYear[r] += in.p[m][r];
      t.pp[m][r] = t.pp[m - 1][r] + in.p[m][r];
    }
    t.pm[m] = t.pm[m - 1] + t.m[m];
    t.mYear += t.m[m];
  }
  // Coefficients: a month without ventilation or purchases keeps the previous one.
  t.k[0] = in.previousCoefficient;
  for (int m = 1; m <= kMonths; ++m) {
    if (in.v[m] > 0 && t.pm[m] > 0)
      t.k[m] = static_cast<float>(records::roundTo(in.v[m] / t.pm[m], 10));
    else
      t.k[m] = t.k[m - 1];
  }
  // Ventilated takings, broken into taxable amount and VAT by scorporo.
  for (int m = 1; m <= kMonths; ++m) {
    if (!(in.v[m] > 0)) continue;
    const float k = t.k[m] != 0 ? t.k[m] : t.k[0];
    for (int r = 1; r <= kMaxRate; ++r) {
      float base = t.pp[m][r];
      if (base == 0 && isStockRate(r)) base = in.stockAt(r);
      if (!(base > 0)) continue;
      const float l = round2f(k * base);
      const float divisor = 1.0f + static_cast<float>(r) / 100.0f;
      const float vat = round2f(l - l / divisor);
      t.l[m][r] = l;
      t.i[m][r] = vat;
      t.vatYear[r] += vat;
      t.taxableYear[r] += l - vat;
      t.monthVat[m] += vat;
      t.vatTotalYear += vat;
    }
  }
  return t;
}

namespace {

void readTakings(records::Catalogue& catalogue, VentilationInput& in) {
  records::Channel& corris = catalogue.open(records::channel::kTakings);
  for (int m = 1; m <= kMonths; ++m) {
    corris.read(m);
    records::Takings takings;
    records::L_27(catalogue, takings);
    std::array<float*, records::kTakingsBlocks> sums{&in.c4[m], &in.c10[m], &in.c20[m], &in.v[m]};
    for (int b = 0; b < records::kTakingsBlocks; ++b)
      for (const std::string& day : takings.day[static_cast<std::size_t>(b)])
        *sums[static_cast<std::size_t>(b)] += static_cast<float>(records::val(day));
  }
}

// The ventilation flag of each causal, read once per code.
class VentilationFlags {
 public:
  explicit VentilationFlags(records::Catalogue& catalogue) : catalogue_(catalogue) {}
  bool counts(int code) {
    if (code < 1 || code > kCausalLimit) return false;
    char& flag = flags_[static_cast<std::size_t>(code)];
    if (flag == 0) flag = records::readCausal(catalogue_, code).ventilation == 'S' ? 'S' : 'N';
    return flag == 'S';
  }

 private:
  static constexpr int kCausalLimit = 999;  // a causal code has at most 3 digits
  records::Catalogue& catalogue_;
  std::array<char, kCausalLimit + 1> flags_{};
};

void readPurchases(records::Catalogue& catalogue, int count, VentilationInput& in) {
  VentilationFlags flags(catalogue);
  for (int n = 1; n <= count; ++n) {
    const records::Registration reg = records::readRegistration(catalogue, n);
    if (reg.annulled()) continue;
    const int month = static_cast<int>(records::val(records::mid(reg.date, 3, 2)));
    if (month < 1 || month > kMonths) continue;
    for (const records::VatLine& line : reg.lines) {
      if (line.causal() <= 0 || !flags.counts(line.causal())) continue;
      in.addPurchase(month, line.rate, line.total);
    }
  }
}

}  // namespace

VentilationInput readVentilationInput(records::Catalogue& catalogue) {
  VentilationInput in;
  records::setRegisterStems(catalogue, records::registerInfo(records::RegisterKind::Purchases).stems);
  catalogue.open(records::channel::kRegisterHeader).read(1);
  records::RegisterHeader header;
  records::L_3(catalogue, header);
  in.stock4 = static_cast<float>(records::val(header.stock4));
  in.stock10 = static_cast<float>(records::val(header.stock10));
  in.stock20 = static_cast<float>(records::val(header.stock20));
  in.previousCoefficient = static_cast<float>(records::val(header.stockPercent));
  readTakings(catalogue, in);
  catalogue.open(records::channel::kRegistrations);
  readPurchases(catalogue, header.count, in);
  return in;
}

}  // namespace vellano::entry
