// Date helpers for ddmmyy texts.
#include "records/dates.h"

#include <array>
#include <cctype>

#include "records/numbers.h"
#include "records/text.h"

namespace vellano::records {
namespace {

constexpr std::array<std::string_view, 15> kMonths = {
    "", "GENNAIO", "FEBBRAIO", "MARZO", "APRILE", "MAGGIO", "GIUGNO", "LUGLIO",
    "AGOSTO", "SETTEMBRE", "OTTOBRE", "NOVEMBRE", "DICEMBRE", "13^ Mensilita'", "14^ Mensilita'"};
constexpr std::array<std::string_view, 15> kMonthsShort = {
    "", "GEN", "FEB", "MAR", "APR", "MAG", "GIU", "LUG", "AGO", "SET", "OTT", "NOV", "DIC", "13^", "14^"};
constexpr std::array<std::string_view, 7> kWeekdays = {
    "Sabato    ", "Venerdi'  ", "Giovedi'  ", "Mercoledi'", "Martedi'  ", "Lunedi'   ", "Domenica  "};

struct Parts {
  int day = 0;
  int month = 0;
  int year = 0;  // two digits
};

// Only six digits make a date; anything else is not one.
bool split(std::string_view text, Parts& out) {
  std::string t = trim(text);
  if (t.size() != 6) return false;
  for (char c : t)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  out.day = (t[0] - '0') * 10 + (t[1] - '0');
  out.month = (t[2] - '0') * 10 + (t[3] - '0');
  out.year = (t[4] - '0') * 10 + (t[5] - '0');
  return true;
}

int daysInMonth(int month, int year2) {
  static constexpr std::array<int, 13> kDays = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  // The year 00 counts as a common year.
  if (month == 2 && year2 % 4 == 0 && year2 != 0) return 29;
  return kDays[month];
}

}  // namespace

std::string_view monthName(int month) {
  return month >= 1 && month <= 14 ? kMonths[month] : std::string_view{};
}

std::string_view monthShortName(int month) {
  return month >= 1 && month <= 14 ? kMonthsShort[month] : std::string_view{};
}

std::string_view weekdayName(int index) {
  return index >= 0 && index <= 6 ? kWeekdays[index] : std::string_view{};
}

std::string dateText(std::string_view ddmmyy) {
  if (val(ddmmyy) <= 0) return std::string(8, ' ');
  std::string d = fitLeft(trim(ddmmyy), 6);
  return d.substr(0, 2) + "/" + d.substr(2, 2) + "/" + d.substr(4, 2);
}

long dateKey(std::string_view ddmmyy) {
  std::string d = fitLeft(trimLeft(nulAsBlank(ddmmyy)), 6);
  auto part = [&](std::size_t at) { return static_cast<long>(val(d.substr(at, 2))); };
  return part(4) * 10000 + part(2) * 100 + part(0);
}

bool dateValid(std::string_view ddmmyy, int workingYear, bool yearWindow) {
  if (isBlank(ddmmyy)) return true;
  Parts p;
  if (!split(ddmmyy, p)) return false;
  if (!yearWindow) {
    if (p.year > workingYear + 1) return false;
    if (workingYear == 99 && p.year != 99 && p.year != 0 && p.year > 0) return false;
  }
  if (p.month < 1 || p.month > 12) return false;
  return p.day >= 1 && p.day <= daysInMonth(p.month, p.year);
}

int weekdayIndex(std::string_view ddmmyy) {
  Parts p;
  if (!split(ddmmyy, p)) return 0;
  int year = p.year < 90 ? 2000 + p.year : 1900 + p.year;
  // Sakamoto's method: 0 = Sunday ... 6 = Saturday.
  static constexpr std::array<int, 12> kOffsets = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int month = p.month >= 1 && p.month <= 12 ? p.month : 1;
  int y = month < 3 ? year - 1 : year;
  int dow = (y + y / 4 - y / 100 + y / 400 + kOffsets[month - 1] + p.day) % 7;
  // The table counts back from Saturday.
  return 6 - dow;
}

}  // namespace vellano::records
