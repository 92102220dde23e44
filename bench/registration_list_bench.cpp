// The registration search list (F9 on the record number) at its largest, 9,999 registrations:
// reading and formatting every line, and opening the list window on them and closing it.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "full_register.h"
#include "records/registration_files.h"
#include "entry/registration_lists.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "screen/list_select.h"
#include "records/customer_files.h"
#include "platform/headless.h"

namespace {

using vellano::bench::FullRegister;
using vellano::bench::kRegistrations;
using vellano::records::Catalogue;
using vellano::records::RegisterKind;

void BM_RegistrationListRead9999(benchmark::State& state) {
  FullRegister full;
  Catalogue catalogue(full.context());
  vellano::records::openRegister(catalogue, RegisterKind::Sales);
  for (auto _ : state) {
    auto entries = vellano::entry::registrationListEntries(catalogue, kRegistrations);
    if (entries.size() != static_cast<std::size_t>(kRegistrations)) state.SkipWithError("short list");
    benchmark::DoNotOptimize(entries.data());
  }
}
BENCHMARK(BM_RegistrationListRead9999)->Unit(benchmark::kMillisecond);

// What F9 costs the user: read and format the lines, open the window on the last one, close.
void BM_RegistrationListReadAndOpen9999(benchmark::State& state) {
  FullRegister full;
  Catalogue catalogue(full.context());
  vellano::records::openRegister(catalogue, RegisterKind::Sales);
  vellano::platform::Console console(vellano::platform::scriptedBackend(""));
  for (auto _ : state) {
    auto entries = vellano::entry::registrationListEntries(catalogue, kRegistrations);
    vellano::screen::ListSelection list(console, entries, kRegistrations, vellano::screen::searchListWindow(),
                                       vellano::entry::registrationListHeading(), vellano::screen::kSearchHighlight);
    benchmark::DoNotOptimize(list.step(vellano::platform::KeyEvent::extended(vellano::platform::Key::Enter)));
    if (list.current() != kRegistrations) state.SkipWithError("list not on the last registration");
  }
}
BENCHMARK(BM_RegistrationListReadAndOpen9999)->Unit(benchmark::kMillisecond);

}  // namespace
