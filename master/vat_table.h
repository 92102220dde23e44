// The VAT code table TABIVA.DAT: 40 fixed positions shared by every company, and its editor.
#pragma once

#include <string>

#include "records/catalogue.h"
#include "records/record_file.h"
#include "screen/session.h"

namespace vellano::master {

inline constexpr int kVatPositions = 40;

// One position of the table, as stored (texts without trailing blanks) and its numbers.
struct VatCode {
  std::string code;        // "Cod."
  std::string rateText;    // "Al."
  std::string ventilationText;  // "%Ve"
  std::string compensationText; // "%Com"
  std::string note;
  float rate = 0;          // numeric values taken when the position is loaded
  float ventilation = 0;
  float compensation = 0;

  bool blank() const;
};

// Record layout of TABIVA.DAT (200 bytes).
namespace vat_layout {
inline constexpr records::Field kCode{0, 5};
inline constexpr records::Field kRate{5, 3};
inline constexpr records::Field kVentilation{8, 3};
inline constexpr records::Field kCompensation{11, 4};
inline constexpr records::Field kNote{15, 20};
inline constexpr records::Field kReserved{35, 165};
}  // namespace vat_layout

// Channel 16: buffer to variables / variables to buffer (the reserved area blanked).
void L_16(const records::Catalogue& catalogue, VatCode& vat);
void W_16(records::Catalogue& catalogue, const VatCode& vat);

// Position n (1-40), opening the channel when needed.
VatCode readVatCode(records::Catalogue& catalogue, int position);
void writeVatCode(records::Catalogue& catalogue, int position, const VatCode& vat);

// Where position n is edited on screen: row and column base.
struct VatCell {
  int row;
  int base;
};
VatCell vatCell(int position);

// The main-menu entry "Tabelle IVA": the 40-position editor, or, with "Tabelle IVA complete"
// set to "S", the reference document IVAT.TXT in the external editor.
void runVatTable(screen::Session& session);

// The editor itself; returns on ESC.
void runVatTableEditor(screen::Session& session);

// The command that shows the reference document.
inline constexpr std::string_view kVatDocumentCommand = "CMD /C NOTEPAD2.EXE IVAT.TXT";
inline constexpr std::string_view kVatDocument = "IVAT.TXT";

}  // namespace vellano::master
