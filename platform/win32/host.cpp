// Finding programs on Windows: ".exe" and ".com" complete a bare name, PATH is split at
// semicolons, and the desktop shell opens and prints documents.
#include <windows.h>

#include <array>
#include <cstdlib>
#include <string>

#include "platform/host_programs.h"

namespace vellano::platform {

namespace fs = std::filesystem;

namespace {

bool isFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

bool runnableExtension(const fs::path& p) {
  std::wstring ext = p.extension().wstring();
  for (wchar_t& c : ext) c = static_cast<wchar_t>(towlower(c));
  return ext == L".exe" || ext == L".com";
}

// The first of the names found in PATH.
fs::path firstInPath(std::initializer_list<std::string_view> names) {
  for (const std::string_view name : names) {
    if (fs::path p = findInPath(name); !p.empty()) return p;
  }
  return {};
}

fs::path programFilesSevenZip() {
  for (const wchar_t* variable : {L"ProgramW6432", L"ProgramFiles"}) {
    const wchar_t* folder = _wgetenv(variable);
    if (folder == nullptr || *folder == L'\0') continue;
    const fs::path candidate = fs::path(folder) / L"7-Zip" / L"7z.exe";
    if (isFile(candidate)) return candidate;
  }
  return {};
}

// The shell does it with the program the user chose for the document's type.
void byShell(ProgramPlan& plan, const char* verb) {
  plan.shellVerb = verb;
  plan.executable = plan.args.empty() ? fs::path() : fs::path(plan.args.front());
}

}  // namespace

fs::path executableFile(const fs::path& candidate) {
  if (candidate.empty()) return {};
  if (runnableExtension(candidate)) return isFile(candidate) ? candidate : fs::path();
  for (const wchar_t* ext : {L".exe", L".com"}) {
    fs::path withExt = candidate;
    withExt += ext;
    if (isFile(withExt)) return withExt;
  }
  return {};
}

bool nativeHostProgram(std::string_view dosName, ProgramPlan& plan) {
  if (dosName == "LIST") {
    plan.executable = firstInPath({"more"});
    plan.hostProgram = "more";
  } else if (dosName == "READ") {
    byShell(plan, "open");
  } else if (dosName == "NOTEPAD2") {
    plan.executable = firstInPath({"notepad2", "notepad"});
    plan.hostProgram = "notepad.exe";
  } else if (dosName == "PRFILE32") {
    byShell(plan, "print");
  } else if (dosName == "7Z") {
    plan.executable = firstInPath({"7z", "7zz"});
    if (plan.executable.empty()) plan.executable = programFilesSevenZip();
  } else {
    return false;
  }
  // Debian's package names mean nothing here.
  plan.package.clear();
  return true;
}

fs::path ownFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return fs::path(buffer).parent_path();
    }
    buffer.resize(buffer.size() * 2);
  }
}

fs::path findInPath(std::string_view name) {
  if (name.empty() || name.find_first_of("\\/:") != std::string_view::npos) return {};
  const wchar_t* path = _wgetenv(L"PATH");
  if (path == nullptr) return {};
  const std::wstring_view dirs = path;
  const fs::path file{std::string(name)};
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(L';', start);
    if (end == std::wstring_view::npos) end = dirs.size();
    const std::wstring_view dir = dirs.substr(start, end - start);
    if (!dir.empty()) {
      if (fs::path found = executableFile(fs::path(dir) / file); !found.empty()) return found;
    }
    start = end + 1;
  }
  return {};
}

}  // namespace vellano::platform
