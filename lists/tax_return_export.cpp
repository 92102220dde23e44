// "CREAZIONE FILE X UNICO (TRIBUTEK)": totals by tax-return code, the file, the editor and
// the copy into the package's import folder.
#include "lists/tax_return_export.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "records/numbers.h"
#include "records/text.h"
#include "screen/field_editor.h"
#include "screen/kit.h"
#include "platform/commands.h"
#include "platform/dos_path.h"
#include "platform/error.h"

namespace vellano::lists {
namespace {

constexpr int kPromptCol = 37;
constexpr int kFileRow = 15;
constexpr int kFolderRow = 17;
constexpr int kAnswerRow = 20;
constexpr int kNoteRow = 22;
constexpr std::size_t kFolderWidth = 50;
constexpr std::string_view kProceed = "Procedo [S/N]: ";

// The standard number text without its leading blank: "15952.32", ".5".
std::string plainNumber(double value) { return records::trimLeft(records::str(value)); }

std::string withoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != ' ' && c != '\0') out += c;
  return out;
}

// A fiscal code or VAT number is letters and digits: anything else could name another folder.
bool fileNameSafe(std::string_view code) {
  for (char c : code)
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return !code.empty();
}

class ExportScreen {
 public:
  explicit ExportScreen(screen::Session& session)
      : session_(session), colours_(screen::screenColours(session.context())) {}

  void tell(int row, std::string_view text) {
    session_.console.screen().putText(row, kPromptCol, text, colours_.text);
  }
  // A message the user must read: shown, then one key.
  void stop(int row, std::string_view text) {
    tell(row, text);
    session_.console.readKey();
  }
  void offerCopy(const std::string& name);

 private:
  bool copy(const std::string& name, const std::string& folder);

  screen::Session& session_;
  screen::ScreenColours colours_;
};

void ExportScreen::offerCopy(const std::string& name) {
  std::string folder = proposedFolder(session_.context().yearSuffix);
  tell(kFileRow, "Il file " + name + " sara' copiato nella cartella:");
  const screen::FieldSpec folderField = screen::textField(kFolderRow, kPromptCol, static_cast<int>(kFolderWidth));
  const screen::FieldSpec answerField =
      screen::textField(kAnswerRow, kPromptCol + static_cast<int>(kProceed.size()), 1)
          .withKeys({screen::kExitUp})
          .inCapitals();
  screen::EditorKeysKept keys(session_.editor);
  session_.editor.setColours(colours_.editing, colours_.text);
  for (;;) {
    tell(kFolderRow, records::fitLeft(folder, kFolderWidth));
    tell(kAnswerRow, kProceed);
    const screen::FieldResult answer = session_.editor.edit(answerField, "N");
    if (answer.exitCode == screen::kExitEsc) return;
    if (answer.exitCode == screen::kExitUp) {
      const screen::FieldResult typed = session_.editor.edit(folderField, folder);
      if (typed.exitCode != screen::kExitEsc) folder = records::trimRight(typed.text);
      continue;
    }
    if (answer.exitCode != screen::kExitEnter) continue;
    const std::string letter = records::trim(answer.text);
    if (letter == "N") return;
    if (letter != "S") {
      session_.console.beep();
      return;
    }
    const std::string target = withoutBlanks(folder);
    // No folder at all would copy the file onto itself.
    if (target.empty()) {
      session_.console.beep();
      continue;
    }
    if (!copy(name, target)) stop(kNoteRow, "Copia non riuscita: premere un tasto");
    return;
  }
}

// COPY into a folder that is not there makes no copy and says nothing, so the folder is
// made first and the copy is looked for afterwards.
bool ExportScreen::copy(const std::string& name, const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(platform::hostPath(folder), ec);
  platform::runCommand("CMD /C COPY " + name + " " + folder, session_.console);
  const char last = folder.back();
  const std::string copied = folder + (last == '\\' || last == ':' ? "" : "\\") + name;
  const fs::path source = platform::hostPath(name);
  const fs::path target = platform::hostPath(copied);
  if (!fs::is_regular_file(target, ec) || fs::equivalent(source, target, ec)) return false;
  std::error_code sourceError;
  std::error_code targetError;
  const auto sourceSize = fs::file_size(source, sourceError);
  const auto targetSize = fs::file_size(target, targetError);
  return !sourceError && !targetError && sourceSize == targetSize;
}

void writeExport(const std::string& name, const std::string& text, platform::Console& console) {
  namespace fs = std::filesystem;
  const fs::path path = platform::hostPath(name);
  std::error_code ec;
  if (fs::exists(path, ec)) std::ofstream(path, std::ios::binary | std::ios::trunc).close();
  platform::runCommand("CMD /C DEL " + name, console);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) throw RuntimeError(error::kPathFileAccess, "BIL", path.string());
}

}  // namespace

CodeTotals codeTotals(const CausalTotals& totals, AccountNames& names) {
  CodeTotals codes{};
  for (int c = 1; c <= totals.causalCount(); ++c) {
    for (int s = 1; s <= kSubAccounts; ++s) {
      const double amount = totals.incomingSub(c, s) + totals.outgoingSub(c, s);
      if (!(amount > 0)) continue;
      const int entry = records::findTaxReturnCode(records::left(names.subAccount(c, s).code, records::kTaxCodeWidth));
      codes[static_cast<std::size_t>(entry)] += amount;
    }
  }
  return codes;
}

std::string exportText(const CodeTotals& totals) {
  std::string text;
  if (totals[0] > 0) text += "senza codice;" + plainNumber(totals[0]) + "\r\n";
  for (std::size_t i = 1; i < totals.size(); ++i) {
    if (!(totals[i] > 0)) continue;
    text += records::storedTaxCode(static_cast<int>(i)) + ";" + plainNumber(records::roundTo(totals[i], 0)) + "\r\n";
  }
  return text;
}

std::string exportFileName(const records::Company& company) {
  std::string code = withoutBlanks(company.fiscalCode);
  if (code.empty()) code = withoutBlanks(company.vatNumber);
  return fileNameSafe(code) ? "BIL-" + code + ".TXT" : std::string();
}

std::string proposedFolder(std::string_view yearSuffix) {
  const long next = (static_cast<long>(records::val(yearSuffix)) + 1) % 100;
  const std::string digits = std::to_string(next);
  return "C:\\TRIBUTEK\\FISCALI\\EXTIMPORT\\20" + std::string(2 - digits.size(), '0') + digits + "\\";
}

void exportForTaxReturn(screen::Session& session, const CausalTotals& totals, AccountNames& names) {
  ExportScreen screen(session);
  const std::string name = exportFileName(session.context().company);
  if (name.empty()) {
    screen.tell(kFileRow, "Codice fiscale e partita IVA della ditta mancanti o non validi:");
    screen.stop(kFolderRow, "il file non e' stato creato - premere un tasto");
    return;
  }
  writeExport(name, exportText(codeTotals(totals, names)), session.console);
  platform::runCommand("CMD /C NOTEPAD2.EXE " + name, session.console);
  screen.offerCopy(name);
}

}  // namespace vellano::lists
