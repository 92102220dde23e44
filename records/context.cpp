// Host-mode table and the small rules on context values shared by start-up and screens.
#include "records/context.h"

#include <array>

#include "records/numbers.h"

namespace vellano::records {

namespace {

constexpr std::array<HostModeInfo, 8> kHostModes{{
    {0, "", ""},
    {1, "Alba", ""},
    {2, "Borea", "AVVIOW"},
    {3, "Cirro", "AVVIOV"},
    {4, "", "AVVIOS"},
    {5, "Dune", "MENU"},
    {6, "Egeo", "AVVIOW"},  // or AVVIOP, by DATA.DAT field 3
    {7, "Fiordo", "AVVIOW"},
}};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

const HostModeInfo& hostModeInfo(int mode) {
  if (mode < 1 || mode > 7) return kHostModes[0];
  return kHostModes[static_cast<std::size_t>(mode)];
}

std::string_view hostModeLabel(int mode) { return hostModeInfo(mode).label; }

std::string launcherCommand(const Context& context) {
  if (context.hostMode == 6) {
    // The host decides per installation whether its own menu or the plain launcher follows.
    if (context.hostSettings.exitThroughAvvioW())
      return "CMD /C START AVVIOW.EXE " + context.terminalNumber;
    return "AVVIOP.EXE " + context.terminalNumber;
  }
  const std::string_view launcher = hostModeInfo(context.hostMode).launcher;
  if (launcher.empty()) return {};
  return "CMD /C START " + std::string(launcher) + ".EXE";
}

std::string folderPrefix(std::string_view folder) {
  std::string prefix(folder);
  if (prefix.size() == 1) return prefix + ":";
  if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != ':') prefix += '\\';
  return prefix;
}

bool isCompanyExtension(std::string_view extension) {
  if (extension == "DAT" || extension == "DIS") return true;
  if (extension.size() != 3) return false;
  for (char c : extension)
    if (!isDigit(c)) return false;
  return val(extension) > 0;
}

int companyNumberOf(std::string_view extension) {
  if (extension == "DAT") return 1;
  return static_cast<int>(val(extension));
}

std::string yearSuffixOf(std::string_view workingDate) {
  std::string suffix = "00";
  const std::size_t n = workingDate.size();
  for (std::size_t i = 0; i < 2 && i < n; ++i) {
    const char c = workingDate[n - 1 - i];
    suffix[1 - i] = isDigit(c) ? c : '0';
  }
  return suffix;
}

}  // namespace vellano::records
