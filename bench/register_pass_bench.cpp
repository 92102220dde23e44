// One pass over a full register as a liquidation makes it: every registration read and its
// VAT lines added up by rate. Beside it the reference, the same file read in one call, and the
// pass through the vector of every registration that readRegistrations returns.
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>

#include "full_register.h"
#include "records/catalogue.h"
#include "records/registration_files.h"

namespace {

using vellano::bench::FullRegister;
using vellano::bench::kRegistrations;
using vellano::records::Catalogue;
using vellano::records::RegisterKind;
using vellano::records::Registration;

// Taxable and VAT by rate, as a liquidation's table of rates holds them.
class ByRate {
 public:
  void add(const Registration& r) {
    if (r.annulled()) return;
    for (const vellano::records::VatLine& line : r.lines) {
      if (line.empty()) continue;
      Total& t = find(line.rate, line.nonDeductible());
      t.taxable += line.taxable;
      t.vat += line.vat;
    }
  }
  double vat() const {
    double sum = 0;
    for (std::size_t i = 0; i < used_; ++i) sum += totals_[i].vat;
    return sum;
  }

 private:
  struct Total {
    float rate = 0;
    bool nonDeductible = false;
    double taxable = 0;
    double vat = 0;
  };
  Total& find(float rate, bool nonDeductible) {
    for (std::size_t i = 0; i < used_; ++i)
      if (totals_[i].rate == rate && totals_[i].nonDeductible == nonDeductible) return totals_[i];
    if (used_ == totals_.size()) return totals_[used_ - 1];
    totals_[used_] = Total{rate, nonDeductible, 0, 0};
    return totals_[used_++];
  }
  std::array<Total, 32> totals_{};
  std::size_t used_ = 0;
};

// The reference: the registration file of 9,999 records in one read.
void BM_RegisterFileInOneRead9999(benchmark::State& state) {
  FullRegister full;
  Catalogue catalogue(full.context());
  vellano::records::openRegister(catalogue, RegisterKind::Sales);
  for (auto _ : state) {
    const std::string block = catalogue.channel(vellano::records::channel::kRegistrations).readBlock(1, kRegistrations);
    benchmark::DoNotOptimize(block.data());
  }
}
BENCHMARK(BM_RegisterFileInOneRead9999)->Unit(benchmark::kMillisecond);

// The pass: one read, one registration unpacked at a time.
void BM_LiquidationPass9999(benchmark::State& state) {
  FullRegister full;
  Catalogue catalogue(full.context());
  vellano::records::openRegister(catalogue, RegisterKind::Sales);
  for (auto _ : state) {
    ByRate totals;
    long seen = 0;
    vellano::records::forEachRegistration(catalogue, kRegistrations, [&](long, const Registration& r) {
      totals.add(r);
      ++seen;
    });
    if (seen != kRegistrations || totals.vat() <= 0) state.SkipWithError("pass did not see the register");
    benchmark::DoNotOptimize(totals);
  }
}
BENCHMARK(BM_LiquidationPass9999)->Unit(benchmark::kMillisecond);

// The same pass over the vector of every registration.
void BM_LiquidationPassAllRegistrations9999(benchmark::State& state) {
  FullRegister full;
  Catalogue catalogue(full.context());
  vellano::records::openRegister(catalogue, RegisterKind::Sales);
  for (auto _ : state) {
    ByRate totals;
    const std::vector<Registration> all = vellano::records::readRegistrations(catalogue, kRegistrations);
    for (const Registration& r : all) totals.add(r);
    if (all.size() != kRegistrations || totals.vat() <= 0) state.SkipWithError("pass did not see the register");
    benchmark::DoNotOptimize(totals);
  }
}
BENCHMARK(BM_LiquidationPassAllRegistrations9999)->Unit(benchmark::kMillisecond);

}  // namespace
