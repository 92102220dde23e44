// The screen behind the main menus of both programs.
#include "programs/program_frame.h"

#include <array>

#include "records/cp437_text.h"
#include "records/dates.h"
#include "records/numbers.h"
#include "screen/palette.h"
#include "records/text.h"

namespace vellano::programs {
namespace {

constexpr int kBackgroundWidth = 110;
constexpr int kCodiceColumn = 110;
constexpr std::uint8_t kCodiceAttr = 0x87;      // light grey on dark grey
constexpr std::uint8_t kCodiceTitleAttr = 0x8E;  // yellow on dark grey
constexpr std::uint8_t kYearAttr = 0x8E;

// Our lettering, drawn with line characters from row 2.
constexpr std::array<std::string_view, 5> kBanner = {
    "╔═════════════════════════════════════════════════╗",
    "║  ╦  ╦ ╔══ ╦   ╦   ╔═╗ ╔╗╔ ╔═╗    ═╗ ╔═╗   ╦ ╦  ║",
    "║  ╚╗╔╝ ╠═  ║   ║   ╠═╣ ║║║ ║ ║     ║ ║ ║   ║║║  ║",
    "║   ╚╝  ╚══ ╩══ ╩══ ╩ ╩ ╝╚╝ ╚═╝    ═╩═╚═╝   ╚╩╝  ║",
    "╚═════════════════════════════════════════════════╝",
};
constexpr int kBannerRow = 2;
constexpr int kBannerColumn = 20;

constexpr std::array<std::string_view, 5> kCodiceBox = {
    "┌─Codice──┐",
    "│  ·····  │",
    "│         │",
    "│ [·····] │",
    "└─────────┘",
};

}  // namespace

std::string consoleTitle(const records::Context& context, std::string_view program) {
  std::string title = ":: Vellano 10 W " + context.version + " :: " + records::dateText(context.workingDate);
  title += " - " + records::printUsing("##", context.hostMode) + " " + std::string(records::hostModeLabel(context.hostMode));
  title += " ~" + context.hostFolder + "~ [ Azienda: " + context.companyExtension + "  ";
  title += records::trim(context.company.name) + " ] ." + std::string(program) + ". [" + context.terminalNumber + "]";
  return title;
}

screen::FunctionKeyLayout functionKeyLayout(const records::Context& context) {
  return records::trim(context.hostSettings.functionKeyBarFlag()) == "2" ? screen::FunctionKeyLayout::Grid
                                                                 : screen::FunctionKeyLayout::Panel;
}

void drawProgramScreen(platform::ScreenBuffer& screen, const records::Context& context,
                       const screen::FunctionKeyPanel& panel, std::string_view legend) {
  const screen::Palette& colours = screen::palette(context.install.colourScheme);
  const std::string blanks(kBackgroundWidth, ' ');
  for (int row = 1; row <= platform::kRows; ++row) screen.putText(row, 1, blanks, colours.background);
  for (std::size_t i = 0; i < kBanner.size(); ++i)
    screen.putText(kBannerRow + static_cast<int>(i), kBannerColumn, records::cp437(kBanner[i]), colours.banner);
  for (std::size_t i = 0; i < kCodiceBox.size(); ++i)
    screen.putText(1 + static_cast<int>(i), kCodiceColumn, records::cp437(kCodiceBox[i]), kCodiceAttr);
  screen.putText(1, kCodiceColumn + 2, "Codice", kCodiceTitleAttr);
  screen.putText(platform::kRows, 116, "20" + context.yearSuffix, kYearAttr);
  panel.show(screen, legend);
}

}  // namespace vellano::programs
