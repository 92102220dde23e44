// The print module every report goes through: where the report goes (the ORBW.EXE dialog
// or the console prompt), print channel 99 with the PCL set-up, and at the end the printer
// reset and the outside program that converts, prints or shows the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "screen/session.h"
#include "printout/orbw_settings.h"
#include "printout/print_channel.h"

namespace vellano::printout {

// Set by the report before the start of print.
struct PrintRequest {
  std::string options = "1..1.1";  // initial state of the dialog's six flags
  std::string pitch = "10";        // characters per inch of the PCL font
  std::string fileName;            // empty: "LASER"
};

inline constexpr std::string_view kPrintPrompt = "Stampo [Si/No/Vid/Las/Win/pdF]: ";

class PrintOutput {
 public:
  PrintOutput() = default;

  // Start of print with the dialog. Afterwards confirmed() tells whether to print at all.
  void ORBWW(screen::Session& session, const PrintRequest& request);
  // End of print for ORBWW: printer reset, channel closed, follow-up program.
  void ORBWWS(screen::Session& session);

  // Another pitch in the middle of a report; `pageSetup` "X" sends the page set-up again.
  void LASON(std::string_view pageSetup, std::string_view pitch);
  // Back to 10 characters per inch.
  void LASOFF(std::string_view pageSetup);

  // Start of print with the console prompt at (row, col) in `attr`. Returns the field
  // editor's exit code: ESC (also for "N") leaves with nothing opened.
  int ORBW(screen::Session& session, const PrintRequest& request, int row, int col, std::uint8_t attr);
  // End of print for ORBW.
  void ORBWS(screen::Session& session);

  PrintChannel& channel() { return channel_; }
  void closeChannel() { channel_.close(); }

  // Results of the start of print.
  bool confirmed() const { return confirm_ != "N"; }
  const std::string& destination() const { return destination_; }
  const std::string& secondAction() const { return secondAction_; }
  const std::string& fileName() const { return fileName_; }
  const std::string& pitch() const { return pitch_; }
  const OrbwSettings& settings() const { return settings_; }
  bool laser() const { return settings_.laser == "1"; }

 private:
  void openChannel(screen::Session& session);
  void sendSetUp();
  bool condensed() const;

  PrintChannel channel_;
  OrbwSettings settings_;
  std::string pitch_ = "10";
  std::string fileName_ = "LASER";
  std::string destination_;
  std::string secondAction_;
  std::string confirm_ = "N";
  std::string verticalMotion_ = "l8";
  std::string orientation_ = "0";  // kept from the previous job when the dialog sets neither
};

}  // namespace vellano::printout
