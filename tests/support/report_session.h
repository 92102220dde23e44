// An in-process report session as the print program builds it (headless console on the
// key script of the environment, catalogue, field editor, function keys, error box), the
// command log as lines, and the comparison of a print file with its golden file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/env_guard.h"
#include "platform/headless.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/startup_context.h"
#include "screen/error_box.h"
#include "screen/field_editor.h"
#include "screen/function_keys.h"
#include "screen/session.h"
#include "support/files.h"

namespace vellano::testing {

// The files a report run talks through, in the work folder: the key script (the dialog
// program reads it too) and the command log; screens dumped to "screens.txt" only when asked;
// no printer port, so print files land in the folder.
inline void useRunFiles(platform::testing::EnvGuard& env, bool dumpScreens = false) {
  const auto here = std::filesystem::current_path();
  env.set("VELLANO_KEYS", (here / "keys.script").string());
  env.set("VELLANO_COMMANDS", (here / "commands.txt").string());
  if (dumpScreens) {
    env.set("VELLANO_SCREEN", (here / "screens.txt").string());
  } else {
    env.set("VELLANO_SCREEN", nullptr);
  }
  env.set("VELLANO_LPT1", nullptr);
}

struct ReportSession {
  std::unique_ptr<platform::Console> console;
  platform::HeadlessBackend* backend = nullptr;  // null when the caller brought its own backend
  records::Context context;
  std::unique_ptr<records::Catalogue> ownCatalogue;
  records::Catalogue* catalogue = nullptr;  // the own one, or the caller's
  std::unique_ptr<screen::FieldEditor> editor;
  screen::FunctionKeyPanel panel;
  std::unique_ptr<screen::ErrorBox> errorBox;
  std::unique_ptr<screen::Session> session;
};

struct ReportSessionOptions {
  // Settles the context as the print program does without arguments; left alone when empty.
  std::optional<records::StartupOptions> settle;
  // A catalogue that outlives the session, instead of one of its own.
  records::Catalogue* catalogue = nullptr;
};

// A session on `backend`, or a headless one on the environment's key script.
inline std::unique_ptr<ReportSession> startReportSession(const ReportSessionOptions& options = {},
                                                         std::unique_ptr<platform::Backend> backend = nullptr) {
  auto run = std::make_unique<ReportSession>();
  if (!backend) {
    auto headless = platform::HeadlessBackend::fromEnvironment();
    run->backend = headless.get();
    backend = std::move(headless);
  }
  run->console = std::make_unique<platform::Console>(std::move(backend));
  if (options.catalogue) {
    run->catalogue = options.catalogue;
  } else {
    run->ownCatalogue = std::make_unique<records::Catalogue>(run->context);
    run->catalogue = run->ownCatalogue.get();
  }
  if (options.settle) records::resolveContext(*run->catalogue, {}, *options.settle);
  run->editor = std::make_unique<screen::FieldEditor>(*run->console);
  run->errorBox = std::make_unique<screen::ErrorBox>(*run->console, run->catalogue->context(), *run->editor);
  run->session = std::make_unique<screen::Session>(
      screen::Session{*run->console, *run->catalogue, *run->editor, run->panel, *run->errorBox});
  return run;
}

// The company registry of host mode 1 holding the test company; `province` goes to the long
// record's province field.
inline void writeCompanyRegistry(const records::Company& company, const std::string& province = {}) {
  records::Context context;
  context.hostMode = 1;
  records::Catalogue catalogue(context);
  records::Channel& registry = catalogue.open(records::channel::kCompany);
  registry.read(1);
  records::W_14(catalogue, company);
  if (!province.empty()) registry.buffer().set(records::context_layout::kRegistryLongFields[8], province);
  registry.write(1);
}

// The commands the programs ran, one per line of the log.
inline std::vector<std::string> commandLog(const std::filesystem::path& path = "commands.txt") {
  std::vector<std::string> lines;
  std::istringstream in(readFile(path));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Print bytes as printable text: ESC as "<ESC>", control bytes as "<nn>", one line per
// CR LF, so that a failure shows where the bytes differ.
inline std::string visible(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      out += "<CRLF>\n";
      ++i;
    } else if (c == 27) {
      out += "<ESC>";
    } else if (c < 32) {
      out += "<" + std::to_string(c) + ">";
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// The lines of two printable texts from the first one that differs, a few of each.
inline std::string firstDifference(const std::string& expected, const std::string& actual) {
  std::vector<std::string> want, got;
  for (auto [text, lines] : {std::pair{&expected, &want}, std::pair{&actual, &got}}) {
    std::istringstream in(*text);
    for (std::string line; std::getline(in, line);) lines->push_back(line);
  }
  std::size_t row = 0;
  while (row < want.size() && row < got.size() && want[row] == got[row]) ++row;
  std::ostringstream out;
  out << "first difference at line " << row + 1 << "\n";
  for (auto [label, lines] : {std::pair{"expected", &want}, std::pair{"actual", &got}}) {
    out << label << ":\n";
    for (std::size_t i = row; i < lines->size() && i < row + 5; ++i) out << "  " << (*lines)[i] << "\n";
    if (row >= lines->size()) out << "  (end of print)\n";
  }
  return out.str();
}

// Compares `bytes` with tests/<folder>/golden/<name>. A difference leaves the bytes in
// <build>/golden-actual/<folder>/<name> for a look.
inline void expectGolden(const std::string& folder, const std::string& name, const std::string& bytes) {
  const std::filesystem::path golden = std::filesystem::path(VELLANO_SOURCE_DIR) / "tests" / folder / "golden" / name;
  const std::string expected = readFile(golden);
  if (expected == bytes) return;
  const std::filesystem::path actual = std::filesystem::path(VELLANO_BIN_DIR) / ".." / "golden-actual" / folder / name;
  writeFile(actual, bytes);
  ADD_FAILURE() << "print differs from " << golden << " (actual in " << actual << ")\n"
                << firstDifference(visible(expected), visible(bytes));
}

}  // namespace vellano::testing
