// The annual VAT liquidation over full registers: 9,999 sales and 5,000 purchase registrations
// with a year of takings, read from the files and computed as the annual communication runs
// it; the computation alone; and the VAT situation that is recomputed at every showing.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_folder.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/registration_files.h"
#include "records/vat_code_file.h"
#include "registers/liquidation.h"
#include "registers/vat_situation.h"

namespace {

using vellano::records::Catalogue;
using vellano::records::Context;
using vellano::records::RegisterKind;
using vellano::records::Registration;

constexpr int kSales = 9999;
constexpr int kPurchases = 5000;

void writeRegister(Catalogue& catalogue, RegisterKind kind, int count) {
  vellano::records::RegisterHeader header = vellano::records::openRegister(catalogue, kind);
  char date[8];
  for (int n = 1; n <= count; ++n) {
    Registration r;
    std::snprintf(date, sizeof date, "%02d%02d11", 1 + n % 28, 1 + n % 12);
    r.date = date;
    r.counterparty = std::to_string(1 + n % 500);
    r.protocolNumber = std::to_string(n);
    r.section = "1";
    r.lines[0].rateText = "20";
    r.lines[0].taxableText = std::to_string(100 + n % 900) + ".5";
    r.lines[1].rateText = n % 3 == 0 ? "I10" : "10";
    r.lines[1].taxableText = "33.33";
    r.lines[2].rateText = "4";
    r.lines[2].taxableText = "12";
    r.lines[2].vatCodeText = std::to_string(1 + n % 5);
    r.lines[3].rateText = "E15";
    r.lines[3].taxableText = "7";
    vellano::records::writeRegistration(catalogue, n, r);
  }
  header.count = count;
  vellano::records::writeHeader(catalogue, header);
}

class FullYear {
  vellano::bench::BenchFolder folder_;  // first: everything else works inside it
 public:
  FullYear() {
    context_.yearSuffix = "11";
    Catalogue catalogue(context_);
    for (int c = 1; c <= 5; ++c) {
      vellano::records::VatCode v;
      v.code = "C" + std::to_string(c);
      v.rateText = "4";
      v.compensationText = c == 5 ? "4" : "";
      vellano::records::writeVatCode(catalogue, c, v);
    }
    writeRegister(catalogue, RegisterKind::Sales, kSales);
    writeRegister(catalogue, RegisterKind::Purchases, kPurchases);
    vellano::records::Channel& takings = catalogue.open(vellano::records::channel::kTakings);
    for (int m = 1; m <= 12; ++m) {
      vellano::records::Takings t;
      for (int d = 0; d < vellano::records::kDays; ++d)
        for (int b = 0; b < 3; ++b) t.day[static_cast<std::size_t>(b)][static_cast<std::size_t>(d)] = "123.45";
      vellano::records::W_27(catalogue, t);
      takings.write(m);
    }
  }
  Context& context() { return context_; }

 private:
  Context context_;
};

FullYear& fullYear() {
  static FullYear year;
  return year;
}

// Files read, year computed and its print lines made: what the annual communication runs.
void BM_AnnualLiquidationFromFiles(benchmark::State& state) {
  Catalogue catalogue(fullYear().context());
  for (auto _ : state) {
    const auto input = vellano::registers::readLiquidationInput(catalogue);
    const auto liquidation = vellano::registers::liquidate(input, vellano::registers::Period::year());
    const auto lines = vellano::registers::liquidationLines(liquidation, "DITTA", "11");
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_AnnualLiquidationFromFiles)->Unit(benchmark::kMillisecond);

void BM_AnnualLiquidationComputation(benchmark::State& state) {
  Catalogue catalogue(fullYear().context());
  const auto input = vellano::registers::readLiquidationInput(catalogue);
  for (auto _ : state) {
    const auto liquidation = vellano::registers::liquidate(input, vellano::registers::Period::year());
    benchmark::DoNotOptimize(liquidation.amountToPay);
  }
}
BENCHMARK(BM_AnnualLiquidationComputation)->Unit(benchmark::kMillisecond);

// The situation screen's figures, read and computed at every showing.
void BM_VatSituationFromFiles(benchmark::State& state) {
  Catalogue catalogue(fullYear().context());
  for (auto _ : state) {
    const auto situation = vellano::registers::computeSituation(vellano::registers::readSituationInput(catalogue));
    benchmark::DoNotOptimize(situation.months[12].balance);
  }
}
BENCHMARK(BM_VatSituationFromFiles)->Unit(benchmark::kMillisecond);

}  // namespace
