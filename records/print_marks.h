// The state a definitive register print leaves behind: the month marks of SDEFVE, SDEFAC and
// SDEFCO (channel kRegisterPrint, record 1: "X" for a month printed definitively, blank for
// not) and the takings register header INDCOR (the register-header layout, channel
// kRegisterHeader under the stem "INDCOR").
#pragma once

#include <array>
#include <string_view>

#include "records/catalogue.h"
#include "records/layout.h"

namespace vellano::records {

inline constexpr std::string_view kSalesMarksStem = "SDEFVE";
inline constexpr std::string_view kPurchaseMarksStem = "SDEFAC";
inline constexpr std::string_view kTakingsMarksStem = "SDEFCO";
inline constexpr std::string_view kTakingsHeaderStem = "INDCOR";

namespace marks_layout {
inline constexpr std::size_t kLength = 100;
inline constexpr auto kMonths = repeatedFields<12>(0, 1);
inline constexpr Kind kKind = Kind::kLetter;  // NUL reads as blank
}  // namespace marks_layout

struct MonthMarks {
  std::array<char, 12> month{};  // [m - 1]: 'X' printed definitively, ' ' not

  MonthMarks() { month.fill(' '); }
  bool marked(int m) const { return m >= 1 && m <= 12 && month[static_cast<std::size_t>(m - 1)] == 'X'; }
};

// Channel kRegisterPrint, record 1 through its buffer; the bytes past the twelve marks stay as
// read.
void L_17(const Catalogue& catalogue, MonthMarks& marks);
void W_17(Catalogue& catalogue, const MonthMarks& marks);

// Opens the marks file of `stem` and reads / writes record 1.
MonthMarks readMonthMarks(Catalogue& catalogue, std::string_view stem);
void writeMonthMarks(Catalogue& catalogue, std::string_view stem, const MonthMarks& marks);

}  // namespace vellano::records
