// For the register report tests: a company folder in host mode 1 (working date, registry,
// takings written through the record layouts), an in-process session whose keys come from
// the shared key script (so the real print dialog answers from it too), and the comparison
// of a print file with its golden file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/env_guard.h"
#include "platform/headless.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/registration_files.h"
#include "records/startup_context.h"
#include "screen/error_box.h"
#include "screen/field_editor.h"
#include "screen/function_keys.h"
#include "screen/session.h"
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
    const auto here = std::filesystem::current_path();
    env_.set("VELLANO_KEYS", (here / "keys.script").string());
    env_.set("VELLANO_COMMANDS", (here / "commands.txt").string());
    env_.set("VELLANO_SCREEN", nullptr);
    env_.set("VELLANO_LPT1", nullptr);
    writeFile("DATA.DAT", "150311");
    records::Context context;
    context.hostMode = 1;
    records::Catalogue catalogue(context);
    records::Company company;
    company.name = "FERRAMENTA BORGHI S.N.C.";
    company.address = "VIA GARIBALDI 18";
    company.town = "20121 MILANO MI";
    company.vatNumber = "01234567897";
    company.fiscalCode = "01234567897";
    records::Channel& registry = catalogue.open(records::channel::kCompany);
    registry.read(1);
    records::W_14(catalogue, company);
    registry.write(1);
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
  struct Run {
    std::unique_ptr<platform::Console> console;
    platform::HeadlessBackend* backend = nullptr;
    records::Context context;
    std::unique_ptr<records::Catalogue> catalogue;
    std::unique_ptr<screen::FieldEditor> editor;
    screen::FunctionKeyPanel panel;
    std::unique_ptr<screen::ErrorBox> errorBox;
    std::unique_ptr<screen::Session> session;
  };
  std::unique_ptr<Run> start(const std::string& script) {
    writeFile("keys.script", script);
    std::filesystem::remove("commands.txt");
    auto run = std::make_unique<Run>();
    auto backend = platform::HeadlessBackend::fromEnvironment();
    run->backend = backend.get();
    run->console = std::make_unique<platform::Console>(std::move(backend));
    run->catalogue = std::make_unique<records::Catalogue>(run->context);
    records::StartupOptions options;
    options.version = "TEST";
    records::resolveContext(*run->catalogue, {}, options);
    run->editor = std::make_unique<screen::FieldEditor>(*run->console);
    run->errorBox = std::make_unique<screen::ErrorBox>(*run->console, run->context, *run->editor);
    run->session = std::make_unique<screen::Session>(
        screen::Session{*run->console, *run->catalogue, *run->editor, run->panel, *run->errorBox});
    return run;
  }

  std::vector<std::string> commands() {
    std::vector<std::string> lines;
    std::istringstream in(readFile("commands.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  // The print file against tests/registers/golden/<name>; on a difference the bytes printed
  // are left in the build folder beside the programs, to be compared by hand.
  static void expectGolden(const std::string& name, const std::string& printed) {
    const std::filesystem::path golden = std::filesystem::path(VELLANO_SOURCE_DIR) / "tests/registers/golden" / name;
    const std::string expected = readFile(golden);
    if (printed == expected) return;
    const std::filesystem::path actual = std::filesystem::path(VELLANO_BIN_DIR) / "golden-actual" / name;
    vellano::testing::writeFile(actual, printed);
    ADD_FAILURE() << "print differs from " << golden << "; printed bytes in " << actual;
  }

  platform::testing::EnvGuard env_;
};

}  // namespace vellano::registers::testing
