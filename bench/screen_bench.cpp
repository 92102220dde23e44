// The console's hot paths: every window saves and restores the whole cell buffer, and every
// headless key read may format a screen dump.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/headless.h"
#include "platform/key_script.h"
#include "platform/screen_buffer.h"

namespace {

using namespace vellano::platform;

ScreenBuffer busyScreen() {
  ScreenBuffer s;
  s.fill(0xB0, 0x17);
  for (int row = 5; row <= 40; ++row) {
    s.put(row, 10, 0xBA, 0x1F);
    s.put(row, 100, 0xBA, 0x1F);
    s.putText(row, 11, std::string(89, static_cast<char>(row % 2 ? 0xFA : ' ')), 0x70);
  }
  s.putText(5, 11, std::string(89, '\xCD'), 0x1F);
  s.putText(20, 20, "Registrazione fatture: perch\x82 citt\x85 \x9C 1.234,56", 0x1E);
  return s;
}

void BM_WholeScreenSaveRestore(benchmark::State& state) {
  ScreenBuffer screen = busyScreen();
  for (auto _ : state) {
    ScreenBuffer::Cells saved = screen.cells();  // window opens
    screen.fill(' ', 0x07);                      // something is drawn over it
    benchmark::DoNotOptimize(saved);
    screen.cells() = saved;                      // window closes
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 2 * static_cast<long long>(sizeof(ScreenBuffer::Cells)));
}
BENCHMARK(BM_WholeScreenSaveRestore);

void BM_FormatScreenDump(benchmark::State& state) {
  const ScreenBuffer screen = busyScreen();
  for (auto _ : state) {
    std::string dump = formatScreenDump(screen, "VELLA10W - Prova");
    benchmark::DoNotOptimize(dump);
  }
}
BENCHMARK(BM_FormatScreenDump);

void BM_ParseKeyScript(benchmark::State& state) {
  std::string script;
  for (int i = 0; i < 200; ++i) script += "\"Fattura n. 12\" <ENTER> \"perch\xC3\xA9\" <TAB> <DOWN*3> <F10> # riga\n";
  for (auto _ : state) {
    auto parsed = parseKeyScript(script);
    benchmark::DoNotOptimize(parsed);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(script.size()));
}
BENCHMARK(BM_ParseKeyScript);

}  // namespace
