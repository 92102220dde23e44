// For the register report tests: a company folder in host mode 1 (working date, registry,
// takings written through the record layouts), an in-process session whose keys come from
// the shared key script (so the real print dialog answers from it too).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/env_guard.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/registration_files.h"
#include "support/report_session.h"
#include "support/work_folder.h"

namespace vellano::registers::testing {

// One day of takings: the four amounts as typed (4 %, 10 %, 20 %, ventilation).
struct TakingsDay {
  int day;
  std::array<std::string, records::kTakingsBlocks> amounts;
};

class RegisterReportTest : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    vellano::testing::useRunFiles(env_);
    writeFile("DATA.DAT", "150311");
    records::Company company;
    company.name = "FERRAMENTA BORGHI S.N.C.";
    company.address = "VIA GARIBALDI 18";
    company.town = "20121 MILANO MI";
    company.vatNumber = "01234567897";
    company.fiscalCode = "01234567897";
    vellano::testing::writeCompanyRegistry(company);
  }

  // Month `month` of CORRIS11.DAT holding `days` (the other days blank).
  static void writeTakings(int month, const std::vector<TakingsDay>& days) {
    records::Context context;
    context.yearSuffix = "11";
    records::Catalogue catalogue(context);
    records::Channel& file = catalogue.open(records::channel::kTakings);
    records::Takings takings;
    for (const TakingsDay& d : days)
      for (std::size_t b = 0; b < records::kTakingsBlocks; ++b)
        takings.day[b][static_cast<std::size_t>(d.day - 1)] = d.amounts[b];
    records::W_27(catalogue, takings);
    file.write(month);
  }

  // The session of a print program started in this folder, on `script`.
  std::unique_ptr<vellano::testing::ReportSession> start(const std::string& script) {
    writeFile("keys.script", script);
    std::filesystem::remove("commands.txt");
    vellano::testing::ReportSessionOptions options;
    options.settle = records::StartupOptions{};
    options.settle->version = "TEST";
    return vellano::testing::startReportSession(options);
  }

  platform::testing::EnvGuard env_;
};

}  // namespace vellano::registers::testing
