// Causals (causali contabili): the records of CAUCON.DAT (channel 6), one per causal; their
// count lives in INDEX.DAT record 1 (counters.h).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/layout.h"
#include "records/record_file.h"

namespace vellano::records {

struct Causal {
  std::string description;  // trailing blanks removed
  char kind = ' ';          // "E" income statement, "P" balance sheet
  char ventilation = ' ';   // "S" or "N"
};

// Record layout of CAUCON.DAT (500 bytes): NULs read as blanks, the reserved area is blanked on
// every write.
namespace causal_layout {
inline constexpr std::size_t kLength = 500;
inline constexpr Field kDescription{0, 30};
inline constexpr Field kKind{30, 1};
inline constexpr Field kVentilation{31, 1};
inline constexpr Field kReserved{32, 468};
inline constexpr std::array kTable{
    trimmed<Causal>(kDescription, &Causal::description),
    letter<Causal>(kKind, &Causal::kind),
    letter<Causal>(kVentilation, &Causal::ventilation),
    blank<Causal>(kReserved),
};
}  // namespace causal_layout

// Channel 6: buffer to variables / variables to buffer.
void L_6(const Catalogue& catalogue, Causal& causal);
void W_6(Catalogue& catalogue, const Causal& causal);

// Causal n, opening the channel when needed.
Causal readCausal(Catalogue& catalogue, int n);
void writeCausal(Catalogue& catalogue, int n, const Causal& causal);

// The causal list: "###" number, blank, description, one entry per causal 1..count.
std::vector<std::string> causalListEntries(Catalogue& catalogue, int count);

}  // namespace vellano::records
