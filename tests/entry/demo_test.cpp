// The demo company make_demo writes: read back through the programs' own start-up and record
// layers, its counters match the records, its codes validate and every balance equals what
// the registrations and payments post.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/work_folder.h"
#include "entry/balances.h"
#include "records/registration_files.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/numbers.h"
#include "records/startup_context.h"
#include "records/cash_bank_file.h"
#include "records/causal_file.h"
#include "screen/kit.h"
#include "records/customer_files.h"
#include "master/fiscal_checks.h"
#include "records/sub_account_file.h"
#include "records/tax_return_codes.h"
#include "records/vat_code_file.h"

namespace vellano::entry {
namespace {

// make_demo run on a folder, by fork and exec; its exit status.
int runMakeDemo(const std::filesystem::path& folder) {
  const std::string program = std::string(VELLANO_BIN_DIR) + "/make_demo";
  const std::string target = folder.string();
  const pid_t pid = fork();
  if (pid == 0) {
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(target.c_str()), nullptr};
    execv(argv[0], argv);
    _exit(127);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

long fileSize(const std::string& name) {
  std::error_code error;
  const auto size = std::filesystem::file_size(name, error);
  return error ? -1 : static_cast<long>(size);
}

class DemoCompany : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    ASSERT_EQ(runMakeDemo("."), 0);
    // Opened the way the programs open it: host mode 1, no arguments.
    records::resolveContext(catalogue_, {}, records::StartupOptions{});
  }
  void TearDown() override {
    catalogue_.closeAll();
    WorkFolder::TearDown();
  }

  records::Context context_;
  records::Catalogue catalogue_{context_};
};

TEST_F(DemoCompany, OpensAsTheCompanyOfTheYear2011) {
  EXPECT_EQ(context_.hostMode, 1);
  EXPECT_EQ(context_.workingDate, "311211");
  EXPECT_EQ(context_.yearSuffix, "11");
  EXPECT_EQ(context_.company.name, "FERRAMENTA BORGHI S.N.C.");
  EXPECT_TRUE(master::vatNumberValid(context_.company.vatNumber)) << context_.company.vatNumber;
  EXPECT_EQ(context_.install.colourScheme, 'C');
  EXPECT_EQ(context_.install.drive, 'C');
  EXPECT_EQ(context_.sharedCustomerArchive, 'N');
  EXPECT_EQ(context_.fullVatTables, 'N');
  // The year files carry the working date's year.
  for (const char* name : {"VENDIT11.DAT", "ACQUIS11.DAT", "PAGVEN11.DAT", "PAGACQ11.DAT", "CORRIS11.DAT"})
    EXPECT_GT(fileSize(name), 0) << name;
}

// Every counter against the records its file holds.
TEST_F(DemoCompany, CountersMatchTheRecords) {
  EXPECT_EQ(context_.customerCount, 30);
  EXPECT_EQ(context_.supplierCount, 20);
  EXPECT_EQ(context_.causalCount, 10);
  EXPECT_EQ(fileSize("CLIFOR.DAT"), 30 * 500);
  EXPECT_EQ(fileSize("ESTC.DAT"), 20 * 200);
  EXPECT_EQ(fileSize("CAUCON.DAT"), 10 * 500);
  const int accounts = records::readCounter(catalogue_, records::kCashBankCounter);
  EXPECT_GE(accounts, 2);
  EXPECT_EQ(fileSize("CASBAN.DAT"), accounts * 50);

  const struct {
    records::RegisterKind kind;
    const char* registrations;
    const char* payments;
    int expected;
  } registers[] = {{records::RegisterKind::Sales, "VENDIT11.DAT", "PAGVEN11.DAT", 200},
                   {records::RegisterKind::Purchases, "ACQUIS11.DAT", "PAGACQ11.DAT", 150}};
  for (const auto& r : registers) {
    SCOPED_TRACE(r.registrations);
    const records::RegisterHeader header = records::openRegister(catalogue_, r.kind);
    EXPECT_EQ(header.count, r.expected);
    EXPECT_EQ(fileSize(r.registrations), header.count * 200L);
    EXPECT_GT(header.payments, 0);
    EXPECT_EQ(fileSize(r.payments), header.payments * 95L);
    // Each sezionale's last protocol is its highest number, numbers running 1, 2, 3... in
    // date order; only sezionali 1 and 2 are used.
    std::array<int, records::kSections> last{};
    std::string previousDate;
    for (long n = 1; n <= header.count; ++n) {
      const records::Registration reg = records::readRegistration(catalogue_, n);
      const int s = reg.sectionNumber();
      ASSERT_TRUE(s == 1 || s == 2) << "registration " << n;
      EXPECT_EQ(reg.protocolNumber, std::to_string(last[static_cast<std::size_t>(s - 1)] + 1)) << n;
      last[static_cast<std::size_t>(s - 1)] += 1;
      const std::string sortable = reg.date.substr(4, 2) + reg.date.substr(2, 2) + reg.date.substr(0, 2);
      EXPECT_LE(previousDate, sortable) << "registration " << n << " out of date order";
      previousDate = sortable;
      EXPECT_GT(reg.totals().total, 0) << n;
    }
    EXPECT_EQ(header.protocol, last);
    EXPECT_GT(last[1], 0);
  }
}

TEST_F(DemoCompany, EveryFiscalCodeAndVatNumberValidates) {
  for (const auto kind : {records::CounterpartyKind::Customer, records::CounterpartyKind::Supplier}) {
    records::openCounterpartyFiles(catalogue_, kind);
    if (kind == records::CounterpartyKind::Supplier) catalogue_.open(71);
    const int count = records::readCount(catalogue_, kind);
    ASSERT_GT(count, 0);
    for (long code = 1; code <= count; ++code) {
      records::Counterparty who = records::readCounterparty(catalogue_, kind, code);
      SCOPED_TRACE(who.name);
      EXPECT_FALSE(who.name.empty()) << code;
      EXPECT_TRUE(master::fiscalCodeValid(who.fiscalCode)) << who.fiscalCode;
      EXPECT_TRUE(master::vatNumberValid(who.vatNumber)) << who.vatNumber;
    }
  }
}

// The VAT table, causals and sub-accounts the registrations point at.
TEST_F(DemoCompany, RegistrationsPointAtDefinedCodes) {
  std::map<std::string, int> rateKinds;
  for (int p = 1; p <= records::kVatPositions; ++p) {
    const records::VatCode v = records::readVatCode(catalogue_, p);
    if (!v.blank()) ++rateKinds[v.rateText.substr(0, 1)];
  }
  for (const char* kind : {"2", "1", "4", "I", "E", "N", "F"}) EXPECT_GT(rateKinds[kind], 0) << kind;

  bool resaleCausal = false;
  for (int c = 1; c <= 10; ++c) {
    const records::Causal causal = records::readCausal(catalogue_, c);
    EXPECT_FALSE(causal.description.empty()) << c;
    resaleCausal = resaleCausal || causal.ventilation == 'S';
    records::SubAccounts accounts;
    accounts.load(catalogue_, c);
    EXPECT_NE(records::findTaxReturnCode(accounts[1].code), 0) << "causal " << c << " code " << accounts[1].code;
  }
  EXPECT_TRUE(resaleCausal);

  for (const records::RegisterKind kind : {records::RegisterKind::Sales, records::RegisterKind::Purchases}) {
    const records::RegisterHeader header = records::openRegister(catalogue_, kind);
    for (long n = 1; n <= header.count; ++n) {
      const records::Registration reg = records::readRegistration(catalogue_, n);
      for (const records::VatLine& line : reg.lines) {
        if (line.empty()) continue;
        ASSERT_GE(line.vatCode(), 1) << n;
        EXPECT_EQ(records::readVatCode(catalogue_, line.vatCode()).rateText, line.rateText) << n;
        EXPECT_GE(line.causal(), 1) << n;
        EXPECT_LE(line.causal(), 10) << n;
        records::SubAccounts accounts;
        accounts.load(catalogue_, line.causal());
        EXPECT_FALSE(accounts[line.subAccount()].description.empty()) << n;
      }
    }
  }
}

// Balances recomputed from scratch: each registration's total on its counterparty (Dare for
// customers, Avere for suppliers), each payment by the posting table.
TEST_F(DemoCompany, BalancesEqualThePostingsOfRegistrationsAndPayments) {
  std::map<long, double> cashDare, cashAvere;
  for (const records::RegisterKind kind : {records::RegisterKind::Sales, records::RegisterKind::Purchases}) {
    const bool sales = kind == records::RegisterKind::Sales;
    SCOPED_TRACE(sales ? "sales" : "purchases");
    const records::RegisterHeader header = records::openRegister(catalogue_, kind);
    std::map<long, double> dare, avere;
    for (long n = 1; n <= header.count; ++n) {
      const records::Registration reg = records::readRegistration(catalogue_, n);
      const long code = reg.counterpartyCode();
      const long record = sales ? code : code - 9000;
      ASSERT_GE(record, 1) << n;
      (sales ? dare : avere)[record] += reg.totals().total;
    }
    for (long n = 1; n <= header.payments; ++n) {
      catalogue_.channel(12).read(n);
      records::Payment p;
      records::L_12(catalogue_, p);
      EXPECT_GT(records::val(p.amount), 0) << "payment " << n;
      for (const Posting& posting : postingsOf(kind, effectOf(p))) {
        auto& side = posting.file == AccountFile::Balance ? (posting.side == Side::Dare ? dare : avere)
                                                          : (posting.side == Side::Dare ? cashDare : cashAvere);
        side[posting.record] += posting.amount;
      }
    }
    const int count = sales ? 30 : 20;
    for (long code = 1; code <= count; ++code) {
      const records::BalanceTotals stored = records::readBalance(catalogue_, code);
      EXPECT_NEAR(stored.dare, dare[code], 0.005) << "code " << code;
      EXPECT_NEAR(stored.avere, avere[code], 0.005) << "code " << code;
    }
    // Nothing was posted past the last code.
    for (const auto& [record, amount] : dare) EXPECT_LE(record, count);
    for (const auto& [record, amount] : avere) EXPECT_LE(record, count);
  }
  const int accounts = records::readCounter(catalogue_, records::kCashBankCounter);
  double moved = 0;
  for (int a = 1; a <= accounts; ++a) {
    const records::CashBank account = records::readCashBank(catalogue_, a);
    EXPECT_NEAR(account.debit, cashDare[a], 0.005) << account.description;
    EXPECT_NEAR(account.credit, cashAvere[a], 0.005) << account.description;
    moved += account.debit + account.credit;
  }
  EXPECT_GT(moved, 0);
}

// A year of takings: open days carry the four columns, Sundays and days past the month's end
// are empty.
TEST_F(DemoCompany, TakingsFillEveryOpenDayWithAVentilationColumn) {
  records::Channel& corris = catalogue_.open(records::channel::kTakings);
  ASSERT_EQ(corris.recordCount(), 12);
  static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int weekday = 5;  // 1 January 2011, a Saturday (0 = Monday)
  for (int month = 1; month <= 12; ++month) {
    corris.read(month);
    records::Takings t;
    records::L_27(catalogue_, t);
    for (int day = 1; day <= records::kDays; ++day) {
      const bool open = day <= kDaysIn[month - 1] && weekday != 6;
      if (day <= kDaysIn[month - 1]) weekday = (weekday + 1) % 7;
      for (int block = 0; block < records::kTakingsBlocks; ++block) {
        const double amount = records::val(t.day[static_cast<std::size_t>(block)][static_cast<std::size_t>(day - 1)]);
        if (open)
          EXPECT_GT(amount, 0) << month << "/" << day << " block " << block;
        else
          EXPECT_EQ(amount, 0) << month << "/" << day << " block " << block;
      }
    }
  }
}

// The same folder every time: a second run writes the same bytes.
TEST_F(DemoCompany, IsTheSameOnEveryRun) {
  catalogue_.closeAll();
  ASSERT_EQ(runMakeDemo("again"), 0);
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(readFile(name), readFile(std::filesystem::path("again") / name)) << name;
    ++compared;
  }
  EXPECT_GE(compared, 20);
}

TEST(MakeDemo, RefusesAMissingFolderArgument) {
  const std::string program = std::string(VELLANO_BIN_DIR) + "/make_demo";
  const pid_t pid = fork();
  if (pid == 0) {
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    execv(argv[0], argv);
    _exit(127);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace vellano::entry
