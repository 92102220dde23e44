// The error box and the table of error texts.
#include "screen/error_box.h"

#include <filesystem>
#include <new>
#include <string>
#include <utility>

#include "screen/palette.h"
#include "screen/window.h"
#include "platform/headless.h"

namespace vellano::screen {
namespace {

constexpr std::pair<int, std::string_view> kErrorTexts[] = {
    {0, "No Error"},
    {5, "Illegal function call"},
    {6, "Overflow"},
    {7, "Out of memory"},
    {9, "Subscript/Pointer out of range"},
    {11, "Division by zero"},
    {24, "Device timeout"},
    {51, "Internal error"},
    {52, "Bad file name or number"},
    {53, "File not found"},
    {54, "Bad file mode"},
    {55, "File is open"},
    {57, "Device I/O error"},
    {58, "File already exists"},
    {61, "Disk full"},
    {62, "Input past end"},
    {63, "Bad record number"},
    {64, "Bad file name"},
    {67, "Too many files"},
    {68, "Device unavailable"},
    {69, "Comm error"},
    {70, "Permission denied"},
    {71, "Disk not ready"},
    {72, "Disk media error"},
    {74, "Rename across disks"},
    {75, "Path/file access error"},
    {76, "Path not found"},
    {98, "XPrint Preview error"},
    {99, "Object error"},
    {241, "Global memory corrupt"},
    {242, "String space corrupt"},
};

// The errors of file operations; their detail names the file.
constexpr int kFileErrors[] = {53, 54, 55, 57, 58, 61, 62, 63, 64, 67, 68, 70, 71, 72, 74, 75};
constexpr int kExplanationRow = 16;
constexpr int kLastRow = 19;
constexpr std::size_t kTextWidth = 39;

std::vector<std::string> detailLines(const RuntimeError& error) {
  std::vector<std::string> lines;
  bool fileError = false;
  for (int n : kFileErrors) fileError = fileError || n == error.number();
  if (!fileError || error.detail().empty()) return lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = error.detail().find('\n', start);
    lines.push_back(error.detail().substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

constexpr std::uint8_t kTextAttr = 0xC1;  // blue on light red
constexpr std::uint8_t kRuleAttr = 0xCE;  // yellow on light red
constexpr int kTextColumn = 22;
const std::string kBlankLine(40, ' ');

WindowDescriptor boxDescriptor(const records::Context& context) {
  const Palette& colours = palette(context.install.colourScheme);
  return windowAt(10, 20, 20, 61)
      .framed(1)
      .titled(3)
      .shadowed(2, colours.shadow)
      .coloured(colours.errorInterior, colours.errorBorder, colours.errorTitle);
}

}  // namespace

std::string_view errorText(int number) {
  for (const auto& [n, text] : kErrorTexts)
    if (n == number) return text;
  return {};
}

std::string errorFileName(const RuntimeError& error) {
  const std::vector<std::string> lines = detailLines(error);
  if (lines.empty()) return {};
  return std::filesystem::path(lines.front()).filename().string();
}

std::vector<std::string> errorExplanation(const RuntimeError& error) {
  std::vector<std::string> lines = detailLines(error);
  if (!lines.empty()) lines.erase(lines.begin());
  return lines;
}

RuntimeError asRuntimeError(const std::exception& e) {
  if (auto* runtime = dynamic_cast<const RuntimeError*>(&e)) return *runtime;
  if (dynamic_cast<const std::bad_alloc*>(&e)) return RuntimeError(7, "memoria");
  return RuntimeError(51, "interno", e.what());
}

bool ErrorBox::absorb(const RuntimeError& error) { return records::absorbError(context_, *this, error); }

void ErrorBox::drawBox(const RuntimeError& error) {
  platform::ScreenBuffer& screen = console_.screen();
  screen.putText(11, kTextColumn, "Errore: " + std::to_string(error.number()), kTextAttr);
  screen.putText(12, kTextColumn, "Linea : " + error.where(), kTextAttr);
  const std::string file = errorFileName(error);
  if (!file.empty()) screen.putText(13, kTextColumn, ("File  : " + file).substr(0, kTextWidth), kTextAttr);
  screen.putText(14, kTextColumn, errorText(error.number()), kTextAttr);
  screen.putText(15, 21, std::string(40, '\xC4'), kRuleAttr);
  int row = kExplanationRow;
  for (const std::string& line : errorExplanation(error)) {
    if (row > kLastRow) break;
    screen.putText(row++, kTextColumn, line.substr(0, kTextWidth), kTextAttr);
  }
}

void ErrorBox::showFatal(const RuntimeError& error) {
  console_.beep();
  Window box(console_.screen(), boxDescriptor(context_), "ERROR Message");
  drawBox(error);
  console_.showCursor(false);
  console_.readKey();
  console_.showCursor(true);
}

void ErrorBox::drawFolderBox(std::string_view message, std::string_view second) {
  platform::ScreenBuffer& screen = console_.screen();
  drawBox(RuntimeError(error::kPathNotFound, context_.currentFolder));
  for (int row = 11; row <= 14; ++row) screen.putText(row, 21, kBlankLine, kTextAttr);
  screen.putText(17, kTextColumn, message, kTextAttr);
  screen.putText(19, kTextColumn, second, kTextAttr);
}

std::string ErrorBox::ask(std::string_view message, std::string_view question) {
  console_.beep();
  Window box(console_.screen(), boxDescriptor(context_), "ERROR Message");
  drawFolderBox(message, question);
  console_.setCursor(19, kTextColumn + static_cast<int>(question.size()));
  editor_.setCapitals(true);
  return editor_.edit(-1, "").text;
}

void ErrorBox::tell(std::string_view message, std::string_view note) {
  console_.beep();
  Window box(console_.screen(), boxDescriptor(context_), "ERROR Message");
  drawFolderBox(message, note);
  console_.showCursor(false);
  console_.readKey();
  console_.showCursor(true);
}

}  // namespace vellano::screen
