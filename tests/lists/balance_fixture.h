// A small company for the balance tests, written through the file layers: four causals, a
// few sub-accounts, six sales and four purchase registrations of 2011, three cash and bank
// accounts, and a company registry for host mode 2 ("/M"). Every amount of the balance
// and of the export file can be worked out by hand from the lists below.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "records/cash_bank_file.h"
#include "records/catalogue.h"
#include "records/causal_file.h"
#include "records/context.h"
#include "records/counters.h"
#include "records/registration_files.h"
#include "records/sub_account_file.h"
#include "records/text.h"
#include "support/work_folder.h"

namespace vellano::lists::testing {

inline constexpr const char* kWorkingDate = "311211";
inline constexpr const char* kCompanyName = "FERRAMENTA PROVA S.R.L.";
inline constexpr const char* kFiscalCode = "01234567897";
inline constexpr const char* kExportName = "BIL-01234567897.TXT";

struct LineText {
  const char* rate;
  const char* taxable;
  const char* causal;
  const char* sub;
};

inline records::Registration registration(const std::string& date, std::initializer_list<LineText> lines) {
  records::Registration r;
  r.date = date;
  r.counterparty = "1";
  r.protocolLetter = "V";
  r.protocolNumber = "1";
  r.section = "1";
  std::size_t k = 0;
  for (const LineText& l : lines) {
    records::VatLine& line = r.lines.at(k++);
    line.rateText = l.rate;
    line.taxableText = l.taxable;
    line.causalText = l.causal;
    line.subAccountText = l.sub;
  }
  for (records::VatLine& line : r.lines) records::computeLine(line);
  return r;
}

class BalanceFolder : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    context_.yearSuffix = "11";
    context_.workingDate = kWorkingDate;
    catalogue_ = std::make_unique<records::Catalogue>(context_);
    writeFile("DATA.DAT", std::string(kWorkingDate) + std::string(11, ' '));
    company(kFiscalCode, "");
    writeCompany();
  }
  void TearDown() override {
    catalogue_.reset();
    WorkFolder::TearDown();
  }

  records::Catalogue& catalogue() { return *catalogue_; }

  // The registry record of host mode 2 (227 bytes): name, address, town, VAT number, ...,
  // fiscal code last.
  void company(const std::string& fiscalCode, const std::string& vatNumber) {
    std::string record = records::fitLeft(kCompanyName, 40) + records::fitLeft("VIA ROMA 1", 30) +
                         records::fitLeft("MILANO", 30) + records::fitLeft(vatNumber, 11) + std::string(100, ' ') +
                         records::fitLeft(fiscalCode, 16);
    writeFile("DIKTA.DAT", record);
    context_.company.fiscalCode = fiscalCode;
    context_.company.vatNumber = vatNumber;
  }

  // Causal 1 carries sales (and one purchase), causal 2 purchases, causal 3 amounts on no
  // sub-account, causal 4 nothing. Sub-accounts 1 and 2 of causal 1 share code K100;
  // sub-account 3 has a code typed by hand.
  void writeCompany() {
    const std::vector<std::string> causals = {"VENDITE", "ACQUISTI", "VARIE", "NON MOVIMENTATA"};
    for (std::size_t i = 0; i < causals.size(); ++i)
      records::writeCausal(catalogue(), static_cast<int>(i + 1), records::Causal{causals[i], 'E', 'N'});
    records::writeCounter(catalogue(), records::kCausalCounter, static_cast<int>(causals.size()));
    records::writeSubAccount(catalogue(), 1, 1, {"Vendite negozio", "K100"});
    records::writeSubAccount(catalogue(), 1, 2, {"Vendite ingrosso", "K100"});
    records::writeSubAccount(catalogue(), 1, 3, {"Rimborsi", "ZZ9"});
    records::writeSubAccount(catalogue(), 2, 1, {"Merci", "K200"});
    records::writeSubAccount(catalogue(), 2, 2, {"Servizi", "K210"});

    // Sales take causal and sub-account of the first line for every line.
    registrations(records::RegisterKind::Sales,
                  {
                      registration("150311", {{"20", "1000", "1", "1"}, {"I20", "500", "", "3"}}),
                      registration("~50311", {{"20", "9999", "1", "2"}}),  // annulled
                      registration("200311", {{"20", "250.25", "1", "2"}}),
                      registration("210311", {{"E15", ".5", "1", "3"}}),
                      registration("220311", {{"20", "300", "3", ""}}),
                      registration("230311", {{"20", "777", "", ""}}),  // no causal
                  });
    // Purchases take the causal of the first line and each line's own sub-account.
    registrations(records::RegisterKind::Purchases,
                  {
                      registration("100411", {{"20", "1000", "2", "1"}, {"20", "234.5", "", "1"}, {"I10", "1235.5", "", "2"}}),
                      registration("110411", {{"20", "100", "2", ""}}),
                      registration("120411", {{"20", "40", "1", "1"}}),
                      registration("~20411", {{"20", "5000", "2", "1"}}),  // annulled
                  });

    records::writeCashBank(catalogue(), 1, {"CASSA", 1500.5, 200});
    records::writeCashBank(catalogue(), 2, {"BANCA POPOLARE", 0, 0});
    records::writeCashBank(catalogue(), 3, {"BANCA ETRURIA", 100, 350.25});
    records::writeCounter(catalogue(), records::kCashBankCounter, 3);
    catalogue().closeAll();
  }

  void registrations(records::RegisterKind kind, const std::vector<records::Registration>& list) {
    records::RegisterHeader header = records::openRegister(catalogue(), kind);
    for (std::size_t i = 0; i < list.size(); ++i)
      records::writeRegistration(catalogue(), static_cast<long>(i + 1), list[i]);
    header.count = static_cast<int>(list.size());
    records::writeHeader(catalogue(), header);
  }

  static std::string golden(const std::string& name) {
    return readFile(std::filesystem::path(VELLANO_SOURCE_DIR) / "tests/lists/golden" / name);
  }

  records::Context context_;

 private:
  std::unique_ptr<records::Catalogue> catalogue_;
};

}  // namespace vellano::lists::testing
