// Cost of the number routines that every screen refresh and every printed line goes through.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "records/numbers.h"

namespace {

using vellano::records::printUsing;
using vellano::records::str;
using vellano::records::strSingle;
using vellano::records::val;

constexpr std::array<std::string_view, 8> kMasks = {
    "#,###,###.##", "###,###.##", "###,###,###.##", "####",
    "##.#",         "###.##########", "######.##",   "####,###,###.##",
};

// Amounts of the kind a register holds: cents, negatives, zero, a few that overflow.
std::vector<double> sampleValues(std::size_t n) {
  std::vector<double> values;
  values.reserve(n);
  unsigned state = 12345;
  for (std::size_t i = 0; i < n; ++i) {
    state = state * 1103515245u + 12345u;
    const double cents = static_cast<double>(state % 100000000u);
    double v = cents / 100.0;
    if (i % 7 == 0) v = -v;
    if (i % 50 == 0) v = 0;
    values.push_back(v);
  }
  return values;
}

constexpr std::size_t kFormatsPerIteration = 100000;

void BM_PrintUsing(benchmark::State& state) {
  const std::vector<double> values = sampleValues(kFormatsPerIteration);
  for (auto _ : state) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < kFormatsPerIteration; ++i) {
      total += printUsing(kMasks[i % kMasks.size()], values[i]).size();
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(kFormatsPerIteration));
}
BENCHMARK(BM_PrintUsing)->Unit(benchmark::kMillisecond);

void BM_Str(benchmark::State& state) {
  const std::vector<double> values = sampleValues(kFormatsPerIteration);
  for (auto _ : state) {
    std::size_t total = 0;
    for (double v : values) total += str(v).size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(values.size()));
}
BENCHMARK(BM_Str)->Unit(benchmark::kMillisecond);

void BM_StrSingle(benchmark::State& state) {
  const std::vector<double> values = sampleValues(kFormatsPerIteration);
  for (auto _ : state) {
    std::size_t total = 0;
    for (double v : values) total += strSingle(static_cast<float>(v)).size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(values.size()));
}
BENCHMARK(BM_StrSingle)->Unit(benchmark::kMillisecond);

// Field texts as they sit in the records: standard form, typed form, blank, NUL-filled.
void BM_Val(benchmark::State& state) {
  const std::vector<double> values = sampleValues(kFormatsPerIteration);
  std::vector<std::string> fields;
  fields.reserve(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::string f = i % 10 == 0 ? std::string(10, '\0') : str(values[i]);
    f.resize(15, ' ');
    fields.push_back(std::move(f));
  }
  for (auto _ : state) {
    double sum = 0;
    for (const auto& f : fields) sum += val(f);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(fields.size()));
}
BENCHMARK(BM_Val)->Unit(benchmark::kMillisecond);

}  // namespace
