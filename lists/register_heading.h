// Pieces of the headings the VAT registers and their payments list share: the period they
// cover and the company line under it.
#pragma once

#include <string>
#include <string_view>

#include "records/context.h"

namespace vellano::lists {

// A date ddmmyy as dd/mm/yyyy, the year "20" + yy; 10 blanks for a blank date.
std::string longDate(std::string_view ddmmyy);

// "Mese " + month name + " " + "20" + yy for a month (1-12), else "Dalla data: " + from-date
// + " Alla data: " + to-date, the dates as dd/mm/yyyy.
std::string periodText(int month, std::string_view fromDate, std::string_view toDate, std::string_view yearSuffix);

// The company line: the first 33 characters of the name, a blank, the first 20 of the
// address, a blank, the first 30 of the town, " P.IVA:" + VAT number, " Cod Fis:" + fiscal
// code. Each value keeps the blanks of its field in the company record.
std::string companyLine(const records::Context& context);
// The whole name field, its blanks included.
std::string companyName(const records::Context& context);

}  // namespace vellano::lists
