// The customer/supplier list file over a full year: 999 customers with 9,999 sales and 5,000
// suppliers with 5,000 purchases, most of them passing the yearly threshold; from the
// reads of the files to the renamed ELENCOCF (the screen before it is left out).
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_folder.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/customer_files.h"
#include "records/registration_files.h"
#include "telematic/customer_list_file.h"
#include "telematic/transmission.h"

namespace {

using namespace vellano;

constexpr long kSales = 9999;
constexpr long kPurchases = 5000;
constexpr long kSuppliers = 5000;

class ListYear {
  vellano::bench::BenchFolder folder_;  // first: everything else works inside it
 public:
  ListYear() {
    context_.yearSuffix = "11";
    records::Catalogue catalogue(context_);
    parties(catalogue, records::CounterpartyKind::Customer, records::kMaxCustomers);
    parties(catalogue, records::CounterpartyKind::Supplier, kSuppliers);
    year(catalogue, records::RegisterKind::Sales, kSales, 0, records::kMaxCustomers);
    year(catalogue, records::RegisterKind::Purchases, kPurchases, 9000, kSuppliers);
    catalogue.closeAll();
  }
  records::Context& context() { return context_; }

 private:
  // Every tenth one without VAT number, identified by fiscal code.
  static void parties(records::Catalogue& catalogue, records::CounterpartyKind kind, long count) {
    records::openCounterpartyFiles(catalogue, kind);
    char text[40];
    for (long code = 1; code <= count; ++code) {
      records::Counterparty who;
      std::snprintf(text, sizeof text, "SOGGETTO %05ld", code);
      who.name = text;
      if (code % 10 == 0) {
        std::snprintf(text, sizeof text, "RSSMRA70A01H%04ld", code % 10000);
        who.fiscalCode = text;
      } else {
        std::snprintf(text, sizeof text, "%011ld", code * 7919);
        who.vatNumber = text;
      }
      records::writeCounterparty(catalogue, kind, code, who, {});
    }
    records::writeCount(catalogue, kind, static_cast<int>(count));
  }

  static void year(records::Catalogue& catalogue, records::RegisterKind kind, long count, long offset, long parties) {
    records::RegisterHeader header = records::openRegister(catalogue, kind);
    static constexpr const char* kRates[] = {"20", "10", "4", "E10"};
    char text[40];
    for (long n = 1; n <= count; ++n) {
      records::Registration r;
      r.date = n % 97 == 0 ? "~10311" : "140311";
      r.counterparty = records::codeText(offset + (n * 41) % parties + 1);
      r.documentNumber = records::codeText(n);
      r.documentDate = "140311";
      r.protocolLetter = "V";
      r.protocolNumber = records::codeText(n);
      r.section = "1";
      for (int k = 0; k < 1 + static_cast<int>(n % 3); ++k) {
        r.lines[static_cast<std::size_t>(k)].rateText = kRates[(n + k) % 4];
        std::snprintf(text, sizeof text, "%ld.%02ld", 500 + (n % 50) * 400, n % 100);
        r.lines[static_cast<std::size_t>(k)].taxableText = text;
      }
      records::writeRegistration(catalogue, n, r);
    }
    header.count = static_cast<int>(count);
    records::writeHeader(catalogue, header);
  }

  records::Context context_;
};

// Each round is one run of the file: registers and parties read, both passes, the records
// built and the file written under its temporary name and renamed.
void BM_CustomerListFile9999Sales5000Purchases(benchmark::State& state) {
  ListYear year;
  telematic::Taxpayer taxpayer;
  taxpayer.name = "DITTA DI PROVA SRL";
  taxpayer.kind = 'X';
  const records::Intermediary intermediary{"RSSMRA70A01H501U", "10", "12345", "010311"};
  int details = 0;
  for (auto _ : state) {
    records::Catalogue catalogue(year.context());
    const telematic::ListFile file = telematic::buildListFile(catalogue, taxpayer, intermediary);
    telematic::writeOutputFile("ELENCOCF", file.bytes, "ELENCOCF");
    details = file.details;
    catalogue.closeAll();
  }
  state.counters["details"] = details;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size("ELENCOCF"));
}
BENCHMARK(BM_CustomerListFile9999Sales5000Purchases)->Unit(benchmark::kMillisecond);

}  // namespace
