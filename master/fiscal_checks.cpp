// Fiscal code and VAT number check characters.
#include "master/fiscal_checks.h"

#include <array>

namespace vellano::master {
namespace {

// The published values of the characters in odd places (1st, 3rd, ... 15th), indexed by
// letter A-Z; digit d counts as the d-th letter.
constexpr std::array<int, 26> kOddValues{1,  0,  5,  7,  9,  13, 15, 17, 19, 21, 2,  4,  18,
                                         20, 11, 3,  6,  8,  12, 14, 16, 10, 22, 25, 24, 23};

// Index 0-25 of a capital letter or digit (digits as A-J); empty for anything else.
std::optional<int> letterIndex(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= '0' && c <= '9') return c - '0';
  return std::nullopt;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<char> fiscalCodeCheckLetter(std::string_view first15) {
  if (first15.size() != 15) return std::nullopt;
  int sum = 0;
  for (std::size_t i = 0; i < first15.size(); ++i) {
    const std::optional<int> index = letterIndex(first15[i]);
    if (!index) return std::nullopt;
    // i is 0-based: even i is an odd place.
    sum += i % 2 == 0 ? kOddValues[static_cast<std::size_t>(*index)] : *index;
  }
  return static_cast<char>('A' + sum % 26);
}

bool fiscalCodeValid(std::string_view code) {
  if (code.size() != 16) return false;
  const std::optional<char> check = fiscalCodeCheckLetter(code.substr(0, 15));
  return check && *check == code[15];
}

std::optional<char> vatNumberCheckDigit(std::string_view first10) {
  if (first10.size() != 10) return std::nullopt;
  int sum = 0;
  for (std::size_t i = 0; i < first10.size(); ++i) {
    if (!isDigit(first10[i])) return std::nullopt;
    const int digit = first10[i] - '0';
    if (i % 2 == 0) {
      sum += digit;
    } else {
      const int doubled = 2 * digit;
      sum += doubled > 9 ? doubled - 9 : doubled;
    }
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

bool vatNumberValid(std::string_view number) {
  if (number.size() != 11 || !isDigit(number[10])) return false;
  const std::optional<char> check = vatNumberCheckDigit(number.substr(0, 10));
  return check && *check == number[10];
}

}  // namespace vellano::master
