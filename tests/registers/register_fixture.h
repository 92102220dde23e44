// A small company for the register prints: two customers, a supplier, two causals with their
// sub-accounts, a cash account, sales registrations over March and April in two sezionali
// (one annulled, one with every taxable amount 0) and three payments. Written through the
// record layers into the test's working folder; the whole print of VELST10W runs in-process
// on a key script shared with the print-settings dialog.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "records/cash_bank_file.h"
#include "records/catalogue.h"
#include "records/causal_file.h"
#include "records/context.h"
#include "records/customer_files.h"
#include "records/print_marks.h"
#include "records/registration_files.h"
#include "records/sub_account_file.h"
#include "platform/env_guard.h"
#include "printout/print_output.h"
#include "registers/vat_register.h"
#include "support/files.h"
#include "support/report_session.h"
#include "support/work_folder.h"

namespace vellano::registers::testing {

// Registration with up to five lines {aliquota, taxable, causal, sub-account}.
struct LineSpec {
  std::string rate, taxable, causal, sub;
};
inline records::Registration registration(const std::string& date, const std::string& code, const std::string& section,
                                          const std::string& protocol, const std::string& document,
                                          const std::vector<LineSpec>& lines, const std::string& letter = "V") {
  records::Registration r;
  r.date = date;
  r.counterparty = code;
  r.documentNumber = document;
  r.documentDate = date[0] == '~' ? "0" + date.substr(1) : date;
  r.protocolLetter = letter;
  r.protocolNumber = protocol;
  r.section = section;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    records::VatLine& v = r.lines[k];
    v.rateText = lines[k].rate;
    v.taxableText = lines[k].taxable;
    v.causalText = lines[k].causal;
    v.subAccountText = lines[k].sub;
  }
  return r;
}

inline records::Company fixtureCompany() {
  records::Company c;
  c.name = "CARTOLERIA VELLANO S.R.L.";
  c.address = "VIA ROMA 1";
  c.town = "10100 TORINO TO";
  c.vatNumber = "01234567890";
  c.fiscalCode = "01234567890";
  return c;
}

class RegisterFolder : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    vellano::testing::useRunFiles(env_);
    context_.hostMode = 1;
    context_.dataPrefix = "C:";
    context_.workingDate = "150311";
    context_.yearSuffix = "11";
    context_.company = fixtureCompany();
    catalogue_ = std::make_unique<records::Catalogue>(context_);
  }
  void TearDown() override {
    session_.reset();
    catalogue_.reset();
    WorkFolder::TearDown();
  }

  records::Catalogue& catalogue() { return *catalogue_; }

  // The master files and the sales register of the fixture.
  void writeFixture(int lastPage = 12) {
    records::Catalogue& c = catalogue();
    records::openCounterpartyFiles(c, records::CounterpartyKind::Customer);
    records::Counterparty who;
    who.name = "ROSSI MARIO";
    records::writeCounterparty(c, records::CounterpartyKind::Customer, 1, who, {});
    who.name = "BIANCHI FORNITURE PER UFFICIO SRL";  // longer than the 23 a head line shows
    records::writeCounterparty(c, records::CounterpartyKind::Customer, 2, who, {});
    records::openCounterpartyFiles(c, records::CounterpartyKind::Supplier);
    who.name = "CARTIERE DEL NORD SPA";
    records::writeCounterparty(c, records::CounterpartyKind::Supplier, 1, who, {});
    records::writeCausal(c, 1, {"VENDITA MERCI", 'E', 'N'});
    records::writeCausal(c, 2, {"PRESTAZIONI DI SERVIZI", 'E', 'N'});
    records::writeSubAccount(c, 1, 1, {"Vendite al dettaglio", "K100"});
    records::writeSubAccount(c, 1, 2, {"Vendite all'ingrosso con consegna a domicilio", "K100"});
    records::writeSubAccount(c, 2, 1, {"Consulenze", "K100"});
    records::writeCashBank(c, 1, {"CASSA CONTANTI", 0, 0});

    const std::vector<records::Registration> list = {
        registration("100311", "2", "2", "1", "7", {{"E10", "50", "1", "1"}, {"N15", "30", "2", "1"},
                                                    {"F", "20", "1", "2"}, {"10", "10", "1", "2"}}),
        registration("050311", "1", "1", "1", "1", {{"20", "100", "1", "1"}, {"I20", "100", "2", "1"}}),
        registration("~20311", "1", "1", "2", "2", {{"20", "999", "1", "1"}}),
        registration("100311", "1", "1", "3", "3", {{"10", "250.5", "1", "1"}, {"4", "0", "1", "1"}}),
        registration("150411", "0", "1", "4", "4", {{" 4", "200", "0", "0"}}),
        registration("200411", "2", "2", "2", "8", {{"20", "0", "1", "1"}}),
        registration("220411", "9001", "1", "5", "12/B", {{"20", "-40", "2", "0"}}),
    };
    records::RegisterHeader header;
    records::openRegister(c, records::RegisterKind::Sales);
    for (std::size_t i = 0; i < list.size(); ++i) records::writeRegistration(c, static_cast<long>(i + 1), list[i]);
    header.count = static_cast<int>(list.size());
    header.lastPage = lastPage;
    header.payments = 3;
    header.protocol = {5, 2, 0, 0, 0};
    records::writeHeader(c, header);
    writePayment(1, {"1", "120311", "Acconto fattura 1", "50", "1"});
    writePayment(2, {"8001", "150311", "Versamento in cassa", "100", "0"});
    writePayment(3, {"2", "050411", "Saldo fattura 7", "80", "0"});
  }

  void writePayment(long n, const records::Payment& p) {
    records::W_12(catalogue(), p);
    catalogue().channel(records::channel::kPayments).write(n);
  }

  records::RegisterHeader header() {
    catalogue().open(records::channel::kRegisterHeader).read(1);
    records::RegisterHeader h;
    records::L_3(catalogue(), h);
    return h;
  }

  // A session on `script`, which the print-settings dialog reads too.
  screen::Session& session(const std::string& script) {
    vellano::testing::writeFile("keys.script", script);
    vellano::testing::ReportSessionOptions options;
    options.catalogue = &catalogue();
    session_ = vellano::testing::startReportSession(options);
    return *session_->session;
  }
  platform::HeadlessBackend& backend() { return *session_->backend; }

  // The register as VELST10W prints it: its channels opened with the sales stems as the
  // program opens them, then the report with the dialog confirmed as offered (laser print,
  // Windows printing) after `questions`.
  void printSales(const std::string& questions, const std::string& dialog = "<ENTER*6>") {
    screen::Session& s = session(questions + " " + dialog);
    records::setRegisterStems(catalogue(), records::kSalesStems);
    for (int channel : {records::channel::kRegisterHeader, records::channel::kRegistrations,
                        records::channel::kBalances, records::channel::kPayments})
      catalogue().open(channel);
    printout::PrintOutput output;
    registers::vatRegister(s, output, records::kSalesMarksStem);
    output.closeChannel();
  }

  records::Context context_;
  platform::testing::EnvGuard env_;

 private:
  std::unique_ptr<records::Catalogue> catalogue_;
  std::unique_ptr<vellano::testing::ReportSession> session_;
};

}  // namespace vellano::registers::testing
