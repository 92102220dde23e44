// What a save costs: a new registration saved as the registration screen saves it (lock, header
// re-read and checked against its file, registration, balance and header through the journal,
// each file synced), against the same writes straight to the files as they went before. On
// the folder of the temporary directory, so on whatever disk that is.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "bench_folder.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/customer_files.h"
#include "records/register_guard.h"
#include "records/registration_files.h"
#include "records/save_transaction.h"

namespace {

using vellano::records::Catalogue;
using vellano::records::RegisterHeader;
using vellano::records::RegisterKind;
using vellano::records::Registration;

// A sales register of 1,000 registrations over 30 customers, in a folder of its own.
class Register {
  vellano::bench::BenchFolder folder_{"vellano-save-"};  // first: everything else works inside it
 public:
  Register() {
    context_.yearSuffix = "11";
    catalogue_ = std::make_unique<Catalogue>(context_);
    header_ = vellano::records::openRegister(*catalogue_, RegisterKind::Sales);
    for (int n = 1; n <= 1000; ++n) vellano::records::writeRegistration(*catalogue_, n, registration(n));
    header_.count = 1000;
    vellano::records::writeHeader(*catalogue_, header_);
  }
  ~Register() {
    catalogue_.reset();
  }

  static Registration registration(int n) {
    Registration r;
    r.date = "150511";
    r.counterparty = std::to_string(1 + n % 30);
    r.protocolLetter = "V";
    r.protocolNumber = std::to_string(n);
    r.section = "1";
    r.lines[0].rateText = "20";
    r.lines[0].taxableText = "100.5";
    for (auto& line : r.lines) vellano::records::computeLine(line);
    return r;
  }

  // One new registration with its balance and header, as the registration screen writes them.
  void save(bool journaled) {
    Catalogue& c = *catalogue_;
    std::optional<vellano::records::SaveTransaction> transaction;
    Registration r = registration(header_.count + 1);
    int n = header_.count + 1;
    if (journaled) {
      transaction.emplace(c);
      const RegisterHeader opened = header_;
      header_ = vellano::records::headerForSave(c, RegisterKind::Sales);
      n = static_cast<int>(vellano::records::placeRegistration(opened, header_, n, r));
    }
    vellano::records::writeRegistration(c, n, r);
    vellano::records::Channel& balances = c.channel(8);
    const long code = r.counterpartyCode();
    balances.read(code);
    vellano::records::BalanceTotals totals;
    vellano::records::L_8(c, totals);
    totals.dare += r.totals().total;
    vellano::records::W_8(c, totals);
    balances.write(code);
    header_.count = n;
    vellano::records::writeHeader(c, header_);
    if (transaction) transaction->commit();
    // Room for the next runs: the register holds 9,999.
    if (header_.count >= vellano::records::kMaxRegistrations - 1) {
      header_.count = 1000;
      vellano::records::writeHeader(c, header_);
      std::filesystem::resize_file("VENDIT11.DAT", 1000 * vellano::records::registration_layout::kLength);
    }
  }

 private:
  vellano::records::Context context_;
  std::unique_ptr<Catalogue> catalogue_;
  RegisterHeader header_;
};

void BM_SaveRegistrationThroughTheJournal(benchmark::State& state) {
  Register reg;
  for (auto _ : state) reg.save(true);
}
BENCHMARK(BM_SaveRegistrationThroughTheJournal)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveRegistrationStraightToTheFiles(benchmark::State& state) {
  Register reg;
  for (auto _ : state) reg.save(false);
}
BENCHMARK(BM_SaveRegistrationStraightToTheFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
