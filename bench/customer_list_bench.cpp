// The customer search list at its largest (999 customers): reading the archive into the list,
// as the screen does when it opens and after each new customer, and opening the list and
// finding the last customer by typing its first letters.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_folder.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "screen/list_select.h"
#include "records/customer_files.h"
#include "platform/headless.h"

namespace {

using vellano::records::Catalogue;
using vellano::records::Context;
using vellano::screen::ListSelection;
using vellano::screen::WindowDescriptor;
using vellano::records::CounterpartyKind;
using vellano::platform::Console;
using vellano::platform::Key;
using vellano::platform::KeyEvent;

// A folder holding 999 customers; the last one is the only name starting with "Z".
class Archive {
  vellano::bench::BenchFolder folder_;  // first: everything else works inside it
 public:
  Archive() {
    Catalogue catalogue(context_);
    vellano::records::openCounterpartyFiles(catalogue, CounterpartyKind::Customer);
    char name[40];
    for (long code = 1; code <= 999; ++code) {
      vellano::records::Counterparty who;
      std::snprintf(name, sizeof name, "CLIENTE %04ld SRL", code);
      who.name = code == 999 ? "ZANETTI SNC" : name;
      who.town = "MILANO";
      vellano::records::writeCounterparty(catalogue, CounterpartyKind::Customer, code, who, {});
    }
    vellano::records::writeCount(catalogue, CounterpartyKind::Customer, 999);
    catalogue.closeAll();
  }
  Context& context() { return context_; }

 private:
  Context context_;
};


void BM_CustomerListRead999(benchmark::State& state) {
  Archive archive;
  Catalogue catalogue(archive.context());
  vellano::records::openCounterpartyFiles(catalogue, CounterpartyKind::Customer);
  for (auto _ : state) {
    auto entries = vellano::records::buildSelectionList(catalogue, CounterpartyKind::Customer, 999);
    benchmark::DoNotOptimize(entries.data());
  }
}
BENCHMARK(BM_CustomerListRead999)->Unit(benchmark::kMillisecond);

// Open the list on the first customer, type "za" (found at the end), Enter, window closed.
void BM_CustomerListOpenAndFind999(benchmark::State& state) {
  Archive archive;
  Catalogue catalogue(archive.context());
  vellano::records::openCounterpartyFiles(catalogue, CounterpartyKind::Customer);
  const auto entries = vellano::records::buildSelectionList(catalogue, CounterpartyKind::Customer, 999);
  Console console(vellano::platform::scriptedBackend(""));
  for (auto _ : state) {
    ListSelection list(console, entries, 1, vellano::screen::searchListWindow(), "CLIENTI", vellano::screen::kSearchHighlight);
    list.step(KeyEvent::character('z'));
    list.step(KeyEvent::character('a'));
    benchmark::DoNotOptimize(list.step(KeyEvent::extended(Key::Enter)));
    if (list.current() != 999) state.SkipWithError("type-ahead did not reach the last customer");
  }
}
BENCHMARK(BM_CustomerListOpenAndFind999)->Unit(benchmark::kMicrosecond);

}  // namespace
