// Start-up of the entry program up to its drawn main menu, in-process and headless, on a
// data folder with the usual context files.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_folder.h"
#include "programs/entry_program.h"
#include "platform/headless.h"

namespace {

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

void BM_EntryStartupToMainMenu(benchmark::State& state) {
  const vellano::bench::BenchFolder folder;
  writeFile("TTY.DAT", "C      C");
  writeFile("DATA.DAT", "150311           ");
  writeFile("PARAM.DAT", "NN");
  writeFile("DIKTA.DAT", "ROSSI SRL");
  const std::vector<std::string> args;
  for (auto _ : state) {
    vellano::platform::Console console(vellano::platform::scriptedBackend("<ESC>"));
    benchmark::DoNotOptimize(vellano::programs::runEntryProgram(console, args, {}));
  }
}
BENCHMARK(BM_EntryStartupToMainMenu)->Unit(benchmark::kMicrosecond);

}  // namespace
