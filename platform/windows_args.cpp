// Quoting for the C runtime's command-line splitter: backslashes are literal except in runs
// that end at a double quote, where each pair stands for one backslash.
#include "platform/windows_args.h"

namespace vellano::platform {

std::wstring quoteWindowsArgument(std::wstring_view argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    return std::wstring(argument);
  }
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
    } else {
      out.append(backslashes, L'\\');
    }
    backslashes = 0;
    out.push_back(c);
  }
  // The closing quote must not be escaped by a trailing backslash.
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

std::wstring windowsCommandLine(std::wstring_view program, const std::vector<std::wstring>& args) {
  std::wstring line = quoteWindowsArgument(program);
  for (const std::wstring& a : args) {
    line.push_back(L' ');
    line += quoteWindowsArgument(a);
  }
  return line;
}

}  // namespace vellano::platform
