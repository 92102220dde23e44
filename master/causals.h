// Causals (causali contabili): CAUCON.DAT, their count in INDEX.DAT record 1, and the
// "GESTIONE CAUSALI" screen with the sub-account line.
#pragma once

#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/record_file.h"
#include "screen/session.h"

namespace vellano::master {

// Record layout of CAUCON.DAT (500 bytes).
namespace causal_layout {
inline constexpr records::Field kDescription{0, 30};
inline constexpr records::Field kKind{30, 1};         // "E" income statement, "P" balance sheet
inline constexpr records::Field kVentilation{31, 1};  // "S" or "N"
inline constexpr records::Field kReserved{32, 468};
}  // namespace causal_layout

struct Causal {
  std::string description;  // trailing blanks removed
  char kind = ' ';
  char ventilation = ' ';
};

// Channel 6: buffer to variables (NULs as blanks) / variables to buffer (reserved blanked).
void L_6(const records::Catalogue& catalogue, Causal& causal);
void W_6(records::Catalogue& catalogue, const Causal& causal);

Causal readCausal(records::Catalogue& catalogue, int n);
void writeCausal(records::Catalogue& catalogue, int n, const Causal& causal);

// The Ventilazione value the screen offers: a stored value other than "S" or "N" is "N".
char shownVentilation(char stored);

// The causal list: "###" number, blank, description, one entry per causal 1..count.
std::vector<std::string> causalListEntries(records::Catalogue& catalogue, int count);

// The menu entry "caUsali contabili".
void runCausals(screen::Session& session);

// The same screen called from another one: ESC returns the causal last shown in the code
// field (0 when none was).
int pickCausal(screen::Session& session);

}  // namespace vellano::master
