// The outside programs of the DOS command lines and the host programs that stand in for them.
#include "platform/programs.h"

#include <array>
#include <cctype>
#include <cstdlib>

#include "platform/commands.h"
#include "platform/dos_path.h"
#include "platform/host_programs.h"

namespace vellano::platform {

namespace fs = std::filesystem;

namespace {

enum class Place {
  Path,          // a host program found in PATH
  Beside,        // one of ours, next to the running executable
  BesideOrPath,  // an installation's own program under the DOS name without ".EXE"
  Editor,        // the user's editor
};

struct Mapping {
  std::string_view dosName;  // upper case, without ".EXE"
  Place place;
  std::string_view host;     // empty: the name as spelled on the command line
  bool interactive;
  bool systemProgram;
  bool dropSwitches;  // the host program has no use for the DOS switches ("/q")
  std::string_view package = {};  // the Debian package of a host program
};

// Debian's "editor" is an alternative; nano provides it on a plain installation.
constexpr std::string_view kEditorName = "editor";
constexpr std::string_view kEditorPackage = "nano";
constexpr std::string_view kOpener = "xdg-open";
constexpr std::string_view kOpenerPackage = "xdg-utils";

constexpr std::array<Mapping, 17> kMappings{{
    {"LIST", Place::Path, "less", true, false, false, "less"},
    {"READ", Place::Path, kOpener, true, false, false, kOpenerPackage},
    {"NOTEPAD2", Place::Editor, "", true, false, false, kEditorPackage},
    {"PRFILE32", Place::Path, "lp", true, false, true, "cups-client"},
    // Missing, it starts nothing and the backup screen says so itself.
    {"7Z", Place::Path, "7zz", false, false, false},
    {"PCL2PDF32", Place::Beside, "pcl2pdf", false, false, false},
    {"PCL2PD~1", Place::Beside, "pcl2pdf", false, false, false},
    {"PDFTK", Place::Beside, "pdftk-qpdf", false, false, false},
    {"ORBW", Place::Beside, "orbw", false, true, false},
    // The F24 stand-in may ask on the console, so it gets the key script like the others.
    {"MODUVX", Place::Beside, "moduvx", false, true, false},
    {"VELLA10W", Place::Beside, "VELLA10W", false, true, false},
    {"VELST10W", Place::Beside, "VELST10W", false, true, false},
    {"AVVIOW", Place::BesideOrPath, "", true, false, false},
    {"AVVIOV", Place::BesideOrPath, "", true, false, false},
    {"AVVIOS", Place::BesideOrPath, "", true, false, false},
    {"MENU", Place::BesideOrPath, "", true, false, false},
    {"AVVIOP", Place::BesideOrPath, "", true, false, false},
}};

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::string upperText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upper(c);
  return out;
}

std::string lowerText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool hasPathPart(std::string_view word) {
  return word.find_first_of("\\/") != std::string_view::npos ||
         (word.size() >= 2 && std::isalpha(static_cast<unsigned char>(word[0])) && word[1] == ':');
}

// The file name of the program word without folder and without ".EXE"/".COM", as spelled.
std::string spelledName(std::string_view word) {
  std::size_t cut = word.find_last_of("\\/");
  if (cut == std::string_view::npos && word.size() >= 2 && word[1] == ':') cut = 1;
  if (cut != std::string_view::npos) word.remove_prefix(cut + 1);
  if (word.size() > 4) {
    const std::string ext = upperText(word.substr(word.size() - 4));
    if (ext == ".EXE" || ext == ".COM") word.remove_suffix(4);
  }
  return std::string(word);
}

const Mapping* findMapping(std::string_view program) {
  const std::string key = upperText(spelledName(program));
  for (const auto& m : kMappings) {
    if (m.dosName == key) return &m;
  }
  return nullptr;
}

fs::path findBeside(const std::string& name) {
  const fs::path folder = ownFolder();
  if (folder.empty() || name.empty()) return {};
  return executableFile(folder / name);
}

// Beside us first, then PATH; the spelling as given first, then in lower case.
fs::path findInstalled(const std::string& name) {
  const std::string lower = lowerText(name);
  for (const auto& n : {name, lower}) {
    if (fs::path p = findBeside(n); !p.empty()) return p;
  }
  for (const auto& n : {name, lower}) {
    if (fs::path p = findInPath(n); !p.empty()) return p;
  }
  return {};
}

std::string mapArgument(const std::string& word) {
  return looksLikeDosPath(word) ? hostPath(word).string() : word;
}

// $VISUAL, then $EDITOR, else "editor"; a setting may carry its own options ("emacs -nw").
fs::path findEditor(std::vector<std::string>& leadingArgs) {
  for (const char* variable : {"VISUAL", "EDITOR"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr) continue;
    auto words = splitCommandLine(value);
    if (words.empty() || words.front().empty()) continue;
    const std::string program = words.front();
    fs::path found = program.find('/') != std::string::npos
                         ? executableFile(program)
                         : findInPath(program);
    if (found.empty()) continue;
    leadingArgs.assign(words.begin() + 1, words.end());
    return found;
  }
  return findInPath(kEditorName);
}

}  // namespace

bool looksLikeDosPath(std::string_view word) {
  if (word.find('\\') != std::string_view::npos) return true;
  if (word.size() >= 2 && std::isalpha(static_cast<unsigned char>(word[0])) && word[1] == ':') {
    return true;
  }
  return upperText(word) == "LPT1:";
}

ProgramPlan openerPlan(const std::string& document) {
  ProgramPlan plan;
  plan.executable = findInPath(kOpener);
  plan.args.push_back(document);
  plan.interactive = true;
  plan.hostProgram = kOpener;
  plan.package = kOpenerPackage;
  nativeHostProgram("READ", plan);
  return plan;
}

bool knownProgram(std::string_view program) { return findMapping(program) != nullptr; }

ProgramPlan planProgram(std::string_view program, const std::vector<std::string>& args) {
  ProgramPlan plan;
  const Mapping* m = findMapping(program);
  if (m != nullptr) {
    plan.interactive = m->interactive;
    plan.systemProgram = m->systemProgram;
  }
  for (const auto& a : args) {
    if (m != nullptr && m->dropSwitches && a.size() >= 2 && a[0] == '/') continue;
    plan.args.push_back(mapArgument(a));
  }

  if (m != nullptr && nativeHostProgram(m->dosName, plan)) return plan;
  if (m == nullptr) {
    // A program named with its folder runs from there only; a bare name is searched for.
    if (hasPathPart(program)) {
      const fs::path mapped = hostPath(program);
      const fs::path bare = mapped.parent_path() / spelledName(program);
      plan.executable = executableFile(mapped);
      if (plan.executable.empty()) plan.executable = executableFile(bare);
    } else {
      plan.executable = findInstalled(spelledName(program));
    }
    return plan;
  }
  switch (m->place) {
    case Place::Path:
      plan.executable = findInPath(m->host);
      plan.hostProgram = m->host;
      plan.package = m->package;
      break;
    case Place::Beside:
      plan.executable = findBeside(std::string(m->host));
      break;
    case Place::BesideOrPath:
      plan.executable = findInstalled(spelledName(program));
      break;
    case Place::Editor: {
      std::vector<std::string> leading;
      plan.executable = findEditor(leading);
      plan.args.insert(plan.args.begin(), leading.begin(), leading.end());
      plan.hostProgram = kEditorName;
      plan.package = m->package;
      break;
    }
  }
  return plan;
}

}  // namespace vellano::platform
