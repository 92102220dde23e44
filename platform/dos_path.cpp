// DOS file names to host paths: drive letters name folders, backslashes become slashes.
#include "platform/dos_path.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace vellano::platform {

namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool isLpt1(std::string_view name) {
  if (name.size() == 5 && name.back() == ':') name.remove_suffix(1);
  if (name.size() != 4) return false;
  return upper(name[0]) == 'L' && upper(name[1]) == 'P' && upper(name[2]) == 'T' && name[3] == '1';
}

const char* nonEmptyEnv(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// The folder of a drive; empty for the working folder itself, so names on C: stay short
// ("C:CLIFOR.DAT" is plainly "CLIFOR.DAT").
std::filesystem::path driveBase(char letter) {
  const char up = upper(letter);
  if (const char* mapped = nonEmptyEnv(std::string("VELLANO_DRIVE_") + up)) return mapped;
  if (up == 'C') return {};
  return std::string("DRIVE-") + up;
}

}  // namespace

std::filesystem::path driveFolder(char letter) {
  std::filesystem::path base = driveBase(letter);
  return base.empty() ? std::filesystem::path(".") : base;
}

std::filesystem::path hostPath(std::string_view dosName) {
  if (isLpt1(dosName)) {
    if (const char* device = nonEmptyEnv("VELLANO_LPT1")) return device;
    return "LPT1.PRN";
  }
  std::filesystem::path result;
  std::string_view rest = dosName;
  if (rest.size() >= 2 && std::isalpha(static_cast<unsigned char>(rest[0])) && rest[1] == ':') {
    result = driveBase(rest[0]);
    rest.remove_prefix(2);
  } else if (!rest.empty() && rest[0] == '\\') {
    // "\X" is the root of the current drive, which is C:, not the host's root.
    result = driveBase('C');
  } else if (!rest.empty() && rest[0] == '/') {
    // A host path written into a setting stays where it points.
    result = "/";
  }
  // Both separators split; empty pieces ("C:\\X", a trailing "\") add nothing.
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = rest.size();
    if (end > start) result /= std::string(rest.substr(start, end - start));
    start = end + 1;
  }
  return result.empty() ? std::filesystem::path(".") : result;
}

}  // namespace vellano::platform
