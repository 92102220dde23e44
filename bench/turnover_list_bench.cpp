// The turnover list at the largest customer archive: 999 customers and a full register of
// 9,999 sales registrations, from the reads of the files to the last byte of the print file
// (the print-settings dialog before it is left out).
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_folder.h"
#include "lists/turnover_list.h"
#include "printout/print_channel.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/customer_files.h"
#include "records/registration_files.h"

namespace {

using namespace vellano;

class SalesYear {
  vellano::bench::BenchFolder folder_;  // first: everything else works inside it
 public:
  SalesYear() {
    records::Catalogue catalogue(context_);
    records::openCounterpartyFiles(catalogue, records::CounterpartyKind::Customer);
    char text[40];
    for (long code = 1; code <= records::kMaxCustomers; ++code) {
      records::Counterparty who;
      std::snprintf(text, sizeof text, "CLIENTE %04ld SRL", code);
      who.name = text;
      std::snprintf(text, sizeof text, "%011ld", code * 7919);
      who.vatNumber = text;
      records::writeCounterparty(catalogue, records::CounterpartyKind::Customer, code, who, {});
    }
    records::writeCount(catalogue, records::CounterpartyKind::Customer, records::kMaxCustomers);

    records::RegisterHeader header = records::openRegister(catalogue, records::RegisterKind::Sales);
    static constexpr const char* kRates[] = {"20", "10", "4", "E10", "I20"};
    for (long n = 1; n <= records::kMaxRegistrations; ++n) {
      records::Registration r;
      r.date = n % 97 == 0 ? "~10311" : "140311";
      r.counterparty = records::codeText((n * 41) % records::kMaxCustomers + 1);
      r.documentNumber = records::codeText(n);
      r.documentDate = "140311";
      r.protocolLetter = "V";
      r.protocolNumber = records::codeText(n);
      r.section = "1";
      for (int k = 0; k < 1 + static_cast<int>(n % 3); ++k) {
        r.lines[static_cast<std::size_t>(k)].rateText = kRates[(n + k) % 5];
        std::snprintf(text, sizeof text, "%ld.%02ld", 100 + n % 900, n % 100);
        r.lines[static_cast<std::size_t>(k)].taxableText = text;
      }
      records::writeRegistration(catalogue, n, r);
    }
    header.count = records::kMaxRegistrations;
    records::writeHeader(catalogue, header);
    catalogue.closeAll();
  }
  records::Context& context() { return context_; }

 private:
  records::Context context_;
};

// Each round is one report run: the files opened, read, summed and printed to "LASER".
void BM_TurnoverList999Customers9999Registrations(benchmark::State& state) {
  SalesYear year;
  for (auto _ : state) {
    records::Catalogue catalogue(year.context());
    printout::PrintChannel out;
    out.open("LASER");
    lists::writeTurnoverList(catalogue, out, true, records::CounterpartyKind::Customer);
    out.close();
    catalogue.closeAll();
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size("LASER"));
}
BENCHMARK(BM_TurnoverList999Customers9999Registrations)->Unit(benchmark::kMillisecond);

}  // namespace
