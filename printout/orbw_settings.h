// ORBW.DAT, channel 98: the 7-byte record the print-settings dialog and the print module
// exchange (record 1 only). Every field is one character, "1" meaning set.
#pragma once

#include <array>
#include <string>

#include "records/catalogue.h"
#include "records/layout.h"
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

// One character per flag; a field never written holds NUL, which reads as blank like any
// other unset flag.
namespace orbw_layout {
using records::padded;
inline constexpr std::array kTable{
    padded<OrbwSettings>({0, 1}, &OrbwSettings::laser),   padded<OrbwSettings>({1, 1}, &OrbwSettings::pdf),
    padded<OrbwSettings>({2, 1}, &OrbwSettings::view),    padded<OrbwSettings>({3, 1}, &OrbwSettings::windows),
    padded<OrbwSettings>({4, 1}, &OrbwSettings::landscape), padded<OrbwSettings>({5, 1}, &OrbwSettings::portrait),
    padded<OrbwSettings>({6, 1}, &OrbwSettings::confirm),
};
}  // namespace orbw_layout

// Record layout and conversions, shared with the dialog program.
OrbwSettings orbwFromRecord(const records::Record& record);
void orbwToRecord(const OrbwSettings& settings, records::Record& record);

// Buffer of channel 98 to variables and back.
void L_98(const records::Catalogue& catalogue, OrbwSettings& settings);
void W_98(records::Catalogue& catalogue, const OrbwSettings& settings);

}  // namespace vellano::printout
