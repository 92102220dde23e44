// Working-date helpers: date texts, sort keys, the date check, weekdays, month names.
// Dates are 6 characters ddmmyy, as stored in every file.
#pragma once

#include <string>
#include <string_view>

namespace vellano::records {

// Index 1-14 (13 and 14 are the extra salary months); other indices give "".
std::string_view monthName(int month);
std::string_view monthShortName(int month);
// Index 0-6 counting back from Saturday, each padded to 10 characters.
std::string_view weekdayName(int index);

// "dd/mm/yy" when the date's numeric value is above 0, else 8 blanks.
std::string dateText(std::string_view ddmmyy);
// yy * 10000 + mm * 100 + dd, for comparing and sorting dates.
long dateKey(std::string_view ddmmyy);

// The date check. With `yearWindow` off (registration dates) the date may lie in any earlier
// year, the working year `workingYear` (two digits) or the next one. Blank is valid.
bool dateValid(std::string_view ddmmyy, int workingYear, bool yearWindow);

// Index into the weekday table of a valid date; years below 90 are 20yy, the others 19yy.
int weekdayIndex(std::string_view ddmmyy);

}  // namespace vellano::records
