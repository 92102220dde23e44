// The intermediary data of the year, TEL<yy>.DAT (channel 59): who transmits the telematic
// files for the company. The file comes from outside; we read record 1 and keep the rest of
// it as stored. Also the one registry field the telematic files need beyond the company
// variables: the province of the registered office.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "records/catalogue.h"
#include "records/layout.h"

namespace vellano::records {

struct Intermediary {
  std::string fiscalCode;          // 16
  std::string supplierType;        // 2
  std::string registrationNumber;  // 10, of which the files use 5
  std::string commitmentDate;      // ddmmyy
  friend bool operator==(const Intermediary&, const Intermediary&) = default;
};

namespace intermediary_layout {
inline constexpr std::size_t kLength = 255;
inline constexpr Field kFiscalCode{0, 16};
inline constexpr Field kSupplierType{16, 2};
inline constexpr Field kRegistrationNumber{18, 10};
inline constexpr Field kCommitmentDate{28, 6};
inline constexpr Field kRest{34, kLength - 34};
inline constexpr std::array kTable{
    trimmed<Intermediary>(kFiscalCode, &Intermediary::fiscalCode),
    trimmed<Intermediary>(kSupplierType, &Intermediary::supplierType),
    trimmed<Intermediary>(kRegistrationNumber, &Intermediary::registrationNumber),
    trimmed<Intermediary>(kCommitmentDate, &Intermediary::commitmentDate),
    kept<Intermediary>(kRest),
};
}  // namespace intermediary_layout

// Channel 59: the buffer into the values and back; the rest of the record stays as read.
void L_59(const Catalogue& catalogue, Intermediary& intermediary);
void W_59(Catalogue& catalogue, const Intermediary& intermediary);

// Record 1 of the year's file; all blank when the file is missing, which is left missing
// (opening a channel would create it).
Intermediary readIntermediary(Catalogue& catalogue);

// Field 9 of the 619-byte company registry record (2 characters, trailing blanks removed);
// empty for the 227-byte record and for the company list of host mode 6, which have none.
std::string readRegistryProvince(Catalogue& catalogue);

}  // namespace vellano::records
