// The sales register of a full year, 9,999 registrations of one to three VAT lines over 12
// months and five sezionali, printed to the print file; and the same file converted to PDF.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench_folder.h"
#include "outside/pcl_reader.h"
#include "outside/pdf_writer.h"
#include "records/catalogue.h"
#include "records/causal_file.h"
#include "records/context.h"
#include "records/customer_files.h"
#include "records/print_marks.h"
#include "records/registration_files.h"
#include "records/sub_account_file.h"
#include "printout/print_channel.h"
#include "registers/vat_register_print.h"

namespace {

namespace records = vellano::records;

constexpr int kRegistrations = 9999;

// A data folder written once per process; the benchmarks print from it.
struct YearFolder {
  vellano::bench::BenchFolder folder;  // first: everything else works inside it
  records::Context context;
  std::unique_ptr<records::Catalogue> catalogue;

  ~YearFolder() {
    catalogue.reset();
  }

  YearFolder() {
    context.hostMode = 1;
    context.workingDate = "311211";
    context.yearSuffix = "11";
    context.company.name = "FERRAMENTA BORGHI S.N.C.";
    catalogue = std::make_unique<records::Catalogue>(context);
    records::Catalogue& c = *catalogue;
    records::openCounterpartyFiles(c, records::CounterpartyKind::Customer);
    for (int k = 1; k <= 30; ++k) {
      records::Counterparty who;
      who.name = "CLIENTE NUMERO " + std::to_string(k) + " S.R.L.";
      records::writeCounterparty(c, records::CounterpartyKind::Customer, k, who, {});
    }
    for (int k = 1; k <= 3; ++k) {
      records::writeCausal(c, k, {"CAUSALE " + std::to_string(k), 'E', 'N'});
      for (int n = 1; n <= 3; ++n) records::writeSubAccount(c, k, n, {"Sottoconto " + std::to_string(n), "K1"});
    }
    static const char* kRates[] = {"20", "10", "4", "I20", "E10", "N15", "F"};
    records::openRegister(c, records::RegisterKind::Sales);
    for (int n = 1; n <= kRegistrations; ++n) {
      records::Registration r;
      const int month = (n - 1) * 12 / kRegistrations + 1;
      const int day = (n * 7) % 28 + 1;
      char date[7];
      std::snprintf(date, sizeof date, "%02d%02d11", day, month);
      r.date = date;
      r.documentDate = date;
      r.counterparty = std::to_string(n % 30 + 1);
      r.documentNumber = std::to_string(n);
      r.protocolLetter = "V";
      r.protocolNumber = std::to_string(n);
      r.section = std::to_string(n % 5 + 1);
      for (int k = 0; k < n % 3 + 1; ++k) {
        records::VatLine& v = r.lines[static_cast<std::size_t>(k)];
        v.rateText = kRates[(n + k) % 7];
        v.taxableText = std::to_string(100 + n % 900) + "." + std::to_string(n % 100);
        v.causalText = std::to_string(k + 1);
        v.subAccountText = std::to_string(n % 3 + 1);
      }
      records::writeRegistration(c, n, r);
    }
    records::RegisterHeader header;
    header.count = kRegistrations;
    records::writeHeader(c, header);
  }
};

YearFolder& folder() {
  static YearFolder f;
  return f;
}

vellano::registers::RegisterAnswers wholeYear() {
  vellano::registers::RegisterAnswers a;
  a.month = 0;
  a.fromDate = "010111";
  a.toDate = "311211";
  return a;
}

// One trial print of the year to LASER, as the program does it after the dialog.
void printYear(YearFolder& f) {
  vellano::printout::PrintChannel channel;
  channel.open("LASER");
  vellano::registers::printRegister(*f.catalogue, channel, true, records::RegisterKind::Sales,
                                    records::kSalesMarksStem, wholeYear());
  channel.close();
}

std::string readLaser() {
  std::ifstream in("LASER", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_VatRegisterYearToPrintFile(benchmark::State& state) {
  YearFolder& f = folder();
  for (auto _ : state) printYear(f);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size("LASER"));
}
BENCHMARK(BM_VatRegisterYearToPrintFile)->Unit(benchmark::kMillisecond);

void BM_VatRegisterYearToPdf(benchmark::State& state) {
  YearFolder& f = folder();
  for (auto _ : state) {
    printYear(f);
    benchmark::DoNotOptimize(vellano::outside::renderPdf(vellano::outside::readPcl(readLaser())));
  }
}
BENCHMARK(BM_VatRegisterYearToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
