// The balance by causal over a full year: both registers at their largest (9,999
// registrations of five lines each) on 100 causals with all their sub-accounts, totalled,
// printed and condensed by tax-return code as one run of each report does.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_folder.h"
#include "lists/causal_balance.h"
#include "lists/tax_return_export.h"
#include "records/catalogue.h"
#include "records/causal_file.h"
#include "records/context.h"
#include "records/counters.h"
#include "records/registration_files.h"
#include "records/sub_account_file.h"
#include "records/tax_return_codes.h"
#include "printout/print_channel.h"

namespace {

namespace records = vellano::records;
namespace lists = vellano::lists;

constexpr int kRegistrations = 9999;
constexpr int kCausals = 100;

class FullYear {
  vellano::bench::BenchFolder folder_;  // first: everything else works inside it
 public:
  FullYear() {
    context_.yearSuffix = "11";
    records::Catalogue catalogue(context_);
    for (int c = 1; c <= kCausals; ++c) {
      records::writeCausal(catalogue, c, records::Causal{"CAUSALE " + std::to_string(c), 'E', 'N'});
      for (int s = 1; s <= records::kSubAccountsPerCausal; ++s) {
        const std::string code(records::taxReturnCode(1 + (c * 100 + s) % 233).code);
        records::writeSubAccount(catalogue, c, s, {"SOTTOCONTO " + std::to_string(s), code});
      }
    }
    records::writeCounter(catalogue, records::kCausalCounter, kCausals);
    for (records::RegisterKind kind : {records::RegisterKind::Sales, records::RegisterKind::Purchases}) {
      records::RegisterHeader header = records::openRegister(catalogue, kind);
      for (int n = 1; n <= kRegistrations; ++n) {
        records::Registration r;
        r.date = "150511";
        r.counterparty = "1";
        for (int k = 0; k < records::kLines; ++k) {
          records::VatLine& line = r.lines[static_cast<std::size_t>(k)];
          line.rateText = k == 4 ? "I20" : "20";
          line.taxableText = std::to_string(100 + n % 997) + ".25";
          line.causalText = std::to_string(1 + (n + k) % kCausals);
          line.subAccountText = std::to_string(1 + (n * 7 + k) % 99);
          records::computeLine(line);
        }
        records::writeRegistration(catalogue, n, r);
      }
      header.count = kRegistrations;
      records::writeHeader(catalogue, header);
    }
    catalogue.closeAll();
  }

  records::Context context_;

 private:
};

FullYear& year() {
  static FullYear instance;
  return instance;
}

void BM_BalancePrint(benchmark::State& state) {
  FullYear& data = year();
  for (auto _ : state) {
    records::Catalogue catalogue(data.context_);
    const lists::CausalTotals totals = lists::totalYear(catalogue);
    lists::AccountNames names(catalogue, totals.causalCount());
    vellano::printout::PrintChannel channel;
    channel.open("LASER");
    lists::printBalance(channel, lists::balanceHeading("DITTA", " - BILANCIO - ", "311211"), totals, names);
    channel.close();
  }
}
BENCHMARK(BM_BalancePrint)->Unit(benchmark::kMillisecond);

void BM_ExportTotals(benchmark::State& state) {
  FullYear& data = year();
  for (auto _ : state) {
    records::Catalogue catalogue(data.context_);
    const lists::CausalTotals totals = lists::totalYear(catalogue);
    lists::AccountNames names(catalogue, totals.causalCount());
    benchmark::DoNotOptimize(lists::exportText(lists::codeTotals(totals, names)));
  }
}
BENCHMARK(BM_ExportTotals)->Unit(benchmark::kMillisecond);

}  // namespace
