// Fixtures of the list tests: small data folders written through the record layers, an
// in-process session whose console shares the key script with the print-settings dialog,
// and the comparison of a print file with its golden file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/env_guard.h"
#include "records/catalogue.h"
#include "records/causal_file.h"
#include "records/context.h"
#include "records/customer_files.h"
#include "records/registration_files.h"
#include "records/startup_context.h"
#include "support/files.h"
#include "support/report_session.h"
#include "support/work_folder.h"

namespace vellano::lists::testing {

// One VAT line: aliquota text and imponibile text as typed.
struct Line {
  std::string rate;
  std::string taxable;
};

struct Sale {
  std::string counterparty;  // as stored: customer code, or 9000 + supplier code
  std::string documentNumber;
  std::string documentDate;
  std::vector<Line> lines;
  std::string causal;        // line 1 causal code
  std::string protocol;
  bool annulled = false;
};

struct Pay {
  std::string counterparty;
  std::string date;
  std::string description;
  std::string amount;
};

// A data folder written through the record layers, under the context the programs settle
// from `args` (DATA.DAT holds the working date 15/03/11, so the year files end in "11").
class DataFolder {
 public:
  explicit DataFolder(const std::vector<std::string>& args = {}) : catalogue_(context_) {
    if (!std::filesystem::exists("DATA.DAT")) vellano::testing::writeFile("DATA.DAT", "150311");
    records::resolveContext(catalogue_, args, records::StartupOptions{});
  }
  ~DataFolder() { catalogue_.closeAll(); }

  void party(records::CounterpartyKind kind, long code, const std::string& name, double dare = 0, double avere = 0,
             const std::string& vatNumber = "", const std::string& street = "", const std::string& town = "") {
    records::openCounterpartyFiles(catalogue_, kind);
    records::Counterparty who;
    who.name = name;
    who.vatNumber = vatNumber;
    who.street = street;
    who.town = town;
    records::writeCounterparty(catalogue_, kind, code, who, records::BalanceTotals{dare, avere});
  }
  // A balance record alone, without its master record.
  void balance(records::CounterpartyKind kind, long code, double dare, double avere) {
    records::openCounterpartyFiles(catalogue_, kind);
    records::Channel& balances = catalogue_.channel(records::channel::kBalances);
    balances.read(code);
    records::W_8(catalogue_, records::BalanceTotals{dare, avere});
    balances.write(code);
  }
  void count(records::CounterpartyKind kind, int n) {
    records::openCounterpartyFiles(catalogue_, kind);
    records::writeCount(catalogue_, kind, n);
  }
  void causal(int n, const std::string& description) {
    records::Causal c;
    c.description = description;
    records::writeCausal(catalogue_, n, c);
  }
  void registrations(records::RegisterKind kind, const std::vector<Sale>& sales, const std::vector<Pay>& payments = {}) {
    records::RegisterHeader header = records::openRegister(catalogue_, kind);
    long n = 0;
    for (const Sale& s : sales) {
      records::Registration r;
      r.date = s.annulled ? "~40311" : "140311";
      r.counterparty = s.counterparty;
      r.documentNumber = s.documentNumber;
      r.documentDate = s.documentDate;
      r.protocolLetter = "V";
      r.protocolNumber = s.protocol;
      r.section = "1";
      for (std::size_t k = 0; k < s.lines.size(); ++k) {
        r.lines[k].rateText = s.lines[k].rate;
        r.lines[k].taxableText = s.lines[k].taxable;
      }
      r.lines[0].causalText = s.causal;
      records::writeRegistration(catalogue_, ++n, r);
    }
    long p = 0;
    for (const Pay& pay : payments) {
      records::Payment record{pay.counterparty, pay.date, pay.description, pay.amount, ""};
      records::W_12(catalogue_, record);
      catalogue_.channel(records::channel::kPayments).write(++p);
    }
    header.count = static_cast<int>(n);
    header.payments = static_cast<int>(p);
    records::writeHeader(catalogue_, header);
  }

 private:
  records::Context context_;
  records::Catalogue catalogue_;
};

// The customers' year of the turnover golden file: customer 1 with rates, 2 only exempt
// lines, 3 only an annulled registration, 4 one registration with empty lines; a
// registration of code 7 lies beyond the count.
inline void turnoverCustomerYear() {
  DataFolder data;
  data.party(records::CounterpartyKind::Customer, 1, "ROSSI MARIO SRL", 0, 0, "01234567890");
  data.party(records::CounterpartyKind::Customer, 2, "BIANCHI SPA", 0, 0, "09876543210");
  data.party(records::CounterpartyKind::Customer, 3, "VERDI & C.", 0, 0, "11111111111");
  data.party(records::CounterpartyKind::Customer, 4, "NERI LUIGI", 0, 0, "");
  data.count(records::CounterpartyKind::Customer, 4);
  data.registrations(records::RegisterKind::Sales, {
      Sale{"1", "1", "010311", {{"20", "1000"}, {"10", "250.5"}, {"E10", "100"}}, "", "1"},
      Sale{"2", "2", "020311", {{"E10", "500"}, {"N15", "300"}}, "", "2"},
      Sale{"3", "3", "030311", {{"20", "999"}}, "", "3", true},
      Sale{"1", "4", "040311", {{"I20", "50"}}, "", "4"},
      Sale{"4", "5", "050311", {}, "", "5"},
      Sale{"7", "6", "060311", {{"20", "100"}}, "", "6"},
  });
}

// An in-process session on the key script "keys.script" of the working folder, which the
// dialog program ORBW.EXE reads too; screens are dumped to "screens.txt".
class ReportRun : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    vellano::testing::useRunFiles(env_, /*dumpScreens=*/true);
  }

  // A session settled as the print program settles it without arguments.
  std::unique_ptr<vellano::testing::ReportSession> start(const std::string& script) {
    writeFile("keys.script", script);
    if (!std::filesystem::exists("DATA.DAT")) writeFile("DATA.DAT", "150311");
    vellano::testing::ReportSessionOptions options;
    options.settle = records::StartupOptions{};
    return vellano::testing::startReportSession(options);
  }

  platform::testing::EnvGuard env_;
};

}  // namespace vellano::lists::testing
