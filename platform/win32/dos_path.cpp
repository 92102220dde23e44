// DOS file names on Windows are native: drive letters and backslashes mean what they say. Only
// the printer port keeps the print-file default, so printing never blocks on a missing port.
#include "platform/dos_path.h"

#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/cp437.h"

namespace vellano::platform {

namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool isLpt1(std::string_view name) {
  if (name.size() == 5 && name.back() == ':') name.remove_suffix(1);
  if (name.size() != 4) return false;
  return upper(name[0]) == 'L' && upper(name[1]) == 'P' && upper(name[2]) == 'T' && name[3] == '1';
}

// The names are code page 437 bytes, as typed on the console: the file gets the same glyphs.
std::wstring wide(std::string_view cp437) {
  std::wstring out;
  out.reserve(cp437.size());
  for (const char c : cp437) {
    const auto byte = static_cast<unsigned char>(c);
    const wchar_t glyph = byte < 0x80 ? static_cast<wchar_t>(byte) : static_cast<wchar_t>(cp437ToUnicode(byte));
    out.push_back(glyph == L'/' ? L'\\' : glyph);
  }
  return out;
}

}  // namespace

std::filesystem::path driveFolder(char letter) { return std::string(1, upper(letter)) + ":\\"; }

std::filesystem::path hostPath(std::string_view dosName) {
  if (isLpt1(dosName)) {
    const char* device = std::getenv("VELLANO_LPT1");
    if (device != nullptr && *device != '\0') return device;
    return "LPT1.PRN";
  }
  if (dosName.empty()) return ".";
  return wide(dosName);
}

}  // namespace vellano::platform
