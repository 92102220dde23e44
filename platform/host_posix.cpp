// Finding programs on POSIX hosts: the execute bit, PATH split at colons, /proc for our folder.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/host_programs.h"

namespace vellano::platform {

namespace fs = std::filesystem;

fs::path executableFile(const fs::path& candidate) {
  std::error_code ec;
  const bool runnable = fs::is_regular_file(candidate, ec) && ::access(candidate.c_str(), X_OK) == 0;
  return runnable ? candidate : fs::path();
}

// The common mapping is written for these hosts.
bool nativeHostProgram(std::string_view /*dosName*/, ProgramPlan& /*plan*/) { return false; }

fs::path ownFolder() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : self.parent_path();
}

fs::path findInPath(std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return {};
  const char* path = std::getenv("PATH");
  const std::string_view dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string_view::npos) end = dirs.size();
    const std::string_view dir = dirs.substr(start, end - start);
    const fs::path found = executableFile(fs::path(dir.empty() ? "." : std::string(dir)) / std::string(name));
    if (!found.empty()) return found;
    start = end + 1;
  }
  return {};
}

}  // namespace vellano::platform
