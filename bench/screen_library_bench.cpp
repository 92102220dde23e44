// The screen library under load: a full-screen window opened and closed, and one type-ahead
// keystroke in a search list of 9,999 entries.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "screen/list_select.h"
#include "screen/window.h"
#include "platform/headless.h"

namespace {

using vellano::screen::ListSelection;
using vellano::screen::Window;
using vellano::screen::WindowDescriptor;
using vellano::platform::Console;
using vellano::platform::Key;
using vellano::platform::KeyEvent;
using vellano::platform::ScreenBuffer;

WindowDescriptor fullScreen() {
  WindowDescriptor d;
  d.top = 1;
  d.left = 1;
  d.bottom = 50;
  d.right = 120;
  d.borderStyle = 2;
  d.titlePosition = 2;
  d.closeBox = 1;
  d.shadowPosition = 2;
  d.interiorAttr = 0x1F;
  d.borderAttr = 0x1E;
  d.titleAttr = 0x1E;
  return d;
}

void BM_FullScreenWindowOpenClose(benchmark::State& state) {
  ScreenBuffer screen;
  const WindowDescriptor d = fullScreen();
  for (auto _ : state) {
    Window w(screen, d, "Registrazioni");
    benchmark::DoNotOptimize(screen.at(25, 60));
  }
  benchmark::ClobberMemory();
}
BENCHMARK(BM_FullScreenWindowOpenClose);

// The reference for a window: the 12,000 bytes of the buffer copied out and back.
void BM_ScreenMemcpyThereAndBack(benchmark::State& state) {
  ScreenBuffer screen;
  ScreenBuffer::Cells saved;
  for (auto _ : state) {
    benchmark::DoNotOptimize(screen.cells().data());
    std::memcpy(saved.data(), screen.cells().data(), sizeof saved);
    benchmark::DoNotOptimize(saved.data());
    benchmark::ClobberMemory();
    std::memcpy(screen.cells().data(), saved.data(), sizeof saved);
    benchmark::DoNotOptimize(screen.cells().data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ScreenMemcpyThereAndBack);

std::vector<std::string> entries9999() {
  std::vector<std::string> out;
  out.reserve(9999);
  char buf[64];
  for (int i = 1; i <= 9999; ++i) {
    std::snprintf(buf, sizeof buf, "Cliente %04d  Via Roma %d, Milano", i, i % 300);
    out.emplace_back(buf);
  }
  // Only the last entry starts with "Z": the search runs through the whole list.
  out.back() = "Zanetti Srl  Via Po 1, Torino";
  return out;
}


// Worst case: from the first entry to the last, so the whole list is searched and the window
// scrolls and redraws. Home (moving back, untimed) sets the list up again each round.
void BM_TypeAheadKeystroke9999(benchmark::State& state) {
  const std::vector<std::string> entries = entries9999();
  Console console(vellano::platform::scriptedBackend(""));
  ListSelection list(console, entries, 1, vellano::screen::searchListWindow(), "Clienti", vellano::screen::kSearchHighlight);
  const KeyEvent z = KeyEvent::character('z');
  const KeyEvent home = KeyEvent::extended(Key::Home);
  for (auto _ : state) {
    benchmark::DoNotOptimize(list.step(z));
    state.PauseTiming();
    list.step(home);
    state.ResumeTiming();
  }
  if (list.current() != 1) state.SkipWithError("list did not return home");
}
BENCHMARK(BM_TypeAheadKeystroke9999);

// A keystroke that stays inside the visible rows: only two rows are redrawn.
void BM_TypeAheadKeystrokeNoScroll(benchmark::State& state) {
  std::vector<std::string> entries = entries9999();
  entries[1] = "Beta";
  Console console(vellano::platform::scriptedBackend(""));
  ListSelection list(console, entries, 1, vellano::screen::searchListWindow(), "Clienti", vellano::screen::kSearchHighlight);
  const KeyEvent b = KeyEvent::character('b');
  const KeyEvent up = KeyEvent::extended(Key::Up);
  for (auto _ : state) {
    benchmark::DoNotOptimize(list.step(b));
    state.PauseTiming();
    list.step(up);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TypeAheadKeystrokeNoScroll);

}  // namespace
