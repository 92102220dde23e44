// The converter on a 100-page register-like job at pitch 15 (100 lines a page): reading the
// PCL, and reading plus writing the PDF in memory.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "outside/pcl_reader.h"
#include "outside/pdf_writer.h"

namespace {

std::string hundredPages() {
  const std::string esc = "\x1B";
  std::string pcl = esc + "E" + esc + "&l0O" + esc + "&l26A" + esc + "&a0P" + esc + "&l0E" + esc + "&a0L" +
                    esc + "&k12H" + esc + "&l4C" + esc + "*t300R" + esc + "&l0L\r\n" + esc + "(s3T" + esc +
                    "(s0S" + esc + "(s0P" + esc + "(s15H\r\n";
  for (int p = 1; p <= 100; ++p) {
    for (int l = 1; l <= 100; ++l) {
      char line[200];
      std::snprintf(line, sizeof line,
                    "Pag. %3d riga %3d  FATTURA N. %05d del 12/03/11  Imponibile %12s  IVA %10s", p, l,
                    p * 1000 + l, "1.234.567,89", "271.604,94");
      pcl += std::string(line) + "\r\n";
    }
    pcl += "\x0C";
  }
  return pcl;
}

void BM_ReadPcl100Pages(benchmark::State& state) {
  const std::string pcl = hundredPages();
  for (auto _ : state) benchmark::DoNotOptimize(vellano::outside::readPcl(pcl));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(pcl.size()));
}
BENCHMARK(BM_ReadPcl100Pages)->Unit(benchmark::kMillisecond);

void BM_Convert100Pages(benchmark::State& state) {
  const std::string pcl = hundredPages();
  for (auto _ : state) benchmark::DoNotOptimize(vellano::outside::renderPdf(vellano::outside::readPcl(pcl)));
}
BENCHMARK(BM_Convert100Pages)->Unit(benchmark::kMillisecond);

}  // namespace
