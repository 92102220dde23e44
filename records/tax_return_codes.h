// The catalogue of income-tax return lines ("Codice Modello Unico") that sub-accounts point
// at: fixed, 233 entries in a fixed order, built into both programs.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace vellano::records {

struct TaxReturnCode {
  std::string_view code;         // at most kTaxCodeWidth characters
  std::string_view description;  // at most kTaxDescriptionWidth characters
};

inline constexpr std::size_t kTaxReturnCodeCount = 233;
inline constexpr std::size_t kTaxCodeWidth = 7;
inline constexpr std::size_t kTaxDescriptionWidth = 60;

// Every entry, in catalogue order (entry 1 first).
std::span<const TaxReturnCode> taxReturnCodes();

// Entry `index` (1-233); an index outside the catalogue gives blank code and description.
TaxReturnCode taxReturnCode(int index);

// The index of `code` (trailing blanks ignored), 0 when the catalogue does not hold it.
int findTaxReturnCode(std::string_view code);

// The two fields as the programs keep them: blank-padded to 7 and 60 characters.
std::string storedTaxCode(int index);
std::string storedTaxDescription(int index);

}  // namespace vellano::records
