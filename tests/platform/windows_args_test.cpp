// Arguments quoted for a Windows command line, checked against the C runtime's splitting rules.
#include "platform/windows_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellano::platform {
namespace {

// The C runtime's splitter (the rules since 2008), to check that quoting round-trips.
std::vector<std::wstring> splitLikeRuntime(const std::wstring& line) {
  std::vector<std::wstring> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
    if (i == line.size()) break;
    std::wstring arg;
    bool quoted = false;
    while (i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t'))) {
      std::size_t slashes = 0;
      while (i < line.size() && line[i] == L'\\') {
        ++slashes;
        ++i;
      }
      if (i < line.size() && line[i] == L'"') {
        arg.append(slashes / 2, L'\\');
        if (slashes % 2 == 1) {
          arg.push_back(L'"');
        } else if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
          arg.push_back(L'"');
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        arg.append(slashes, L'\\');
        if (i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t'))) arg.push_back(line[i++]);
      }
    }
    out.push_back(arg);
  }
  return out;
}

TEST(WindowsArgs, QuotedAsTheRuntimeSplits) {
  struct Case {
    std::wstring argument;
    std::wstring quoted;
  };
  const std::vector<Case> cases = {
      {L"LASER", L"LASER"},
      {L"C:\\ALB\\QMENU.DAT", L"C:\\ALB\\QMENU.DAT"},
      {L"", L"\"\""},
      {L"two words", L"\"two words\""},
      {L"tab\there", L"\"tab\there\""},
      {L"say \"hi\"", L"\"say \\\"hi\\\"\""},
      {L"C:\\Program Files\\", L"\"C:\\Program Files\\\\\""},
      {L"a\\\\\"b c", L"\"a\\\\\\\\\\\"b c\""},
      {L"a\"b", L"\"a\\\"b\""},
      {L"a & b | c", L"\"a & b | c\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.argument.begin(), c.argument.end()));
    EXPECT_EQ(quoteWindowsArgument(c.argument), c.quoted);
    EXPECT_EQ(splitLikeRuntime(c.quoted), std::vector<std::wstring>{c.argument});
  }
}

TEST(WindowsArgs, WholeLineSplitsBackIntoTheList) {
  const std::vector<std::wstring> args = {L"/P", L"3", L"", L"C:\\Dati Ditta\\", L"\"quoted\"", L"x\\y"};
  const std::wstring line = windowsCommandLine(L"C:\\Program Files\\Vellano\\VELST10W.exe", args);
  std::vector<std::wstring> expected = {L"C:\\Program Files\\Vellano\\VELST10W.exe"};
  expected.insert(expected.end(), args.begin(), args.end());
  EXPECT_EQ(splitLikeRuntime(line), expected);
}

}  // namespace
}  // namespace vellano::platform
