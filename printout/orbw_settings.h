// ORBW.DAT, channel 98: the 7-byte record the print-settings dialog and the print module
// exchange (record 1 only). Every field is one character, "1" meaning set.
#pragma once

#include <string>

#include "records/catalogue.h"
#include "records/record_file.h"

namespace vellano::printout {

inline constexpr long kOrbwRecord = 1;
inline constexpr std::size_t kOrbwRecordLength = 7;

struct OrbwSettings {
  std::string laser;      // write the PCL file and send the PCL set-up
  std::string pdf;        // convert the print file to PDF
  std::string view;       // show the print file in the viewer
  std::string windows;    // print the file through Windows
  std::string landscape;  // orientation code 1
  std::string portrait;   // orientation code 0
  std::string confirm;    // "S" confirmed, "N" cancelled

  friend bool operator==(const OrbwSettings&, const OrbwSettings&) = default;
};

// Record layout and conversions, shared with the dialog program.
OrbwSettings orbwFromRecord(const records::Record& record);
void orbwToRecord(const OrbwSettings& settings, records::Record& record);

// Buffer of channel 98 to variables and back.
void L_98(const records::Catalogue& catalogue, OrbwSettings& settings);
void W_98(records::Catalogue& catalogue, const OrbwSettings& settings);

}  // namespace vellano::printout
