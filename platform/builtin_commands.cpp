// DEL and COPY as the DOS interpreter does them, on the host file system. Wildcards are
// matched here, never handed to a shell.
#include "platform/builtin_commands.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include "platform/dos_path.h"

namespace vellano::platform {

namespace fs = std::filesystem;

namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::string upperText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upper(c);
  return out;
}

// The last component of a DOS name: after the last separator or the drive colon.
std::string_view lastComponent(std::string_view dosName) {
  std::size_t cut = dosName.find_last_of("\\/");
  if (cut == std::string_view::npos && dosName.size() >= 2 && dosName[1] == ':') cut = 1;
  return cut == std::string_view::npos ? dosName : dosName.substr(cut + 1);
}

bool globMatch(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || upper(pattern[p]) == upper(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// Regular files and links that do not lead to a folder: what DOS would call a file.
bool isFile(const fs::path& path) {
  std::error_code ec;
  const fs::file_status own = fs::symlink_status(path, ec);
  if (ec) return false;
  if (fs::is_regular_file(own)) return true;
  if (!fs::is_symlink(own)) return false;
  return !fs::is_directory(fs::status(path, ec));
}

bool isSwitch(std::string_view word) { return word.size() >= 2 && word[0] == '/'; }

std::vector<std::string> names(const std::vector<std::string>& words) {
  std::vector<std::string> out;
  for (const auto& w : words) {
    if (!isSwitch(w) && !w.empty()) out.push_back(w);
  }
  return out;
}

bool hasDrive(std::string_view dosName) {
  return dosName.size() >= 2 && std::isalpha(static_cast<unsigned char>(dosName[0])) &&
         dosName[1] == ':';
}

// A floppy that is a plain folder by default exists as soon as something is copied to it;
// a drive mapped elsewhere by the user must be there already.
void prepareDrive(std::string_view dosName) {
  if (!hasDrive(dosName) || upper(dosName[0]) == 'C') return;
  const fs::path folder = driveFolder(dosName[0]);
  if (folder != fs::path(std::string("DRIVE-") + upper(dosName[0]))) return;
  std::error_code ec;
  fs::create_directories(folder, ec);
}

bool sameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

bool copyOne(const fs::path& source, const fs::path& target) {
  if (sameFile(source, target)) return false;  // DOS refuses rather than emptying it
  std::error_code ec;
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
  return !ec;
}

bool joinInto(const std::vector<fs::path>& sources, const fs::path& target) {
  std::vector<fs::path> kept;
  for (const auto& s : sources) {
    if (!sameFile(s, target)) kept.push_back(s);
  }
  if (kept.empty()) return false;
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  for (const auto& s : kept) {
    std::ifstream in(s, std::ios::binary);
    if (!in) return false;
    out << in.rdbuf();
    out.clear();  // an empty source sets failbit on the copy; it is no error
  }
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace

bool hasWildcard(std::string_view dosName) {
  return lastComponent(dosName).find_first_of("*?") != std::string_view::npos;
}

bool dosWildcardMatch(std::string_view pattern, std::string_view name) {
  if (globMatch(pattern, name)) return true;
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
      name.find('.') == std::string_view::npos) {
    return globMatch(pattern.substr(0, pattern.size() - 2), name);
  }
  return false;
}

std::vector<fs::path> expandDosPattern(std::string_view dosPattern) {
  const fs::path full = hostPath(dosPattern);
  const std::string leaf(lastComponent(dosPattern));
  if (leaf.empty()) return {};
  const bool wild = leaf.find_first_of("*?") != std::string::npos;
  if (!wild && isFile(full)) return {full};

  const fs::path folder = full.has_parent_path() ? full.parent_path() : fs::path();
  std::vector<fs::path> found;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const bool match = wild ? dosWildcardMatch(leaf, name) : upperText(name) == upperText(leaf);
    if (match && isFile(it->path())) found.push_back(folder.empty() ? fs::path(name) : folder / name);
  }
  std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
    const std::string ua = upperText(a.filename().string()), ub = upperText(b.filename().string());
    return ua != ub ? ua < ub : a.filename() < b.filename();
  });
  return found;
}

int deleteFiles(const std::vector<std::string>& words) {
  const auto targets = names(words);
  if (targets.empty()) return 1;
  int status = 0;
  for (const auto& target : targets) {
    const std::string_view leaf = lastComponent(target);
    if (leaf == "*" || leaf == "*.*") {
      status = 1;
      continue;
    }
    for (const auto& file : expandDosPattern(target)) {
      std::error_code ec;
      if (!fs::remove(file, ec) || ec) status = 1;
    }
  }
  return status;
}

int copyFiles(const std::vector<std::string>& words) {
  const auto args = names(words);
  if (args.empty() || args.size() > 2) return 1;
  const std::string& source = args[0];
  const std::string destination = args.size() == 2 ? args[1] : std::string(".");
  if (hasWildcard(destination)) return 1;

  const auto sources = expandDosPattern(source);
  if (sources.empty()) return 1;

  prepareDrive(destination);
  const fs::path target = hostPath(destination);
  const bool namedFolder = (hasDrive(destination) && destination.size() == 2) ||
                           destination.back() == '\\' || destination.back() == '/';
  std::error_code ec;
  if (namedFolder || fs::is_directory(target, ec)) {
    if (!fs::is_directory(target, ec)) return 1;
    bool ok = true;
    for (const auto& s : sources) ok = copyOne(s, target / s.filename()) && ok;
    return ok ? 0 : 1;
  }
  if (sources.size() == 1) return copyOne(sources.front(), target) ? 0 : 1;
  return joinInto(sources, target) ? 0 : 1;
}

}  // namespace vellano::platform
