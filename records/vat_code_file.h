// The VAT code table TABIVA.DAT (channel 16): 40 fixed positions shared by every company. A
// registration line points at a position, not at a code.
#pragma once

#include <array>
#include <string>

#include "records/catalogue.h"
#include "records/layout.h"
#include "records/record_file.h"

namespace vellano::records {

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

// Record layout of TABIVA.DAT (200 bytes): the numbers are read from the same fields as their
// texts and never written themselves; the reserved area is blanked on every write.
namespace vat_layout {
inline constexpr std::size_t kLength = 200;
inline constexpr Field kCode{0, 5};
inline constexpr Field kRate{5, 3};
inline constexpr Field kVentilation{8, 3};
inline constexpr Field kCompensation{11, 4};
inline constexpr Field kNote{15, 20};
inline constexpr Field kReserved{35, 165};
inline constexpr std::array kTable{
    trimmed<VatCode>(kCode, &VatCode::code),
    trimmed<VatCode>(kRate, &VatCode::rateText),
    trimmed<VatCode>(kVentilation, &VatCode::ventilationText),
    trimmed<VatCode>(kCompensation, &VatCode::compensationText),
    trimmed<VatCode>(kNote, &VatCode::note),
    blank<VatCode>(kReserved),
    numericValue<VatCode>(kRate, &VatCode::rate),
    numericValue<VatCode>(kVentilation, &VatCode::ventilation),
    numericValue<VatCode>(kCompensation, &VatCode::compensation),
};
}  // namespace vat_layout

// Channel 16: buffer to variables / variables to buffer.
void L_16(const Catalogue& catalogue, VatCode& vat);
void W_16(Catalogue& catalogue, const VatCode& vat);

// Position n (1-40), opening the channel when needed.
VatCode readVatCode(Catalogue& catalogue, int position);
void writeVatCode(Catalogue& catalogue, int position, const VatCode& vat);

}  // namespace vellano::records
