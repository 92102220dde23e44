// Check characters of the Italian fiscal code (codice fiscale) and VAT number (partita IVA).
#pragma once

#include <optional>
#include <string_view>

namespace vellano::master {

// The check letter of the first 15 characters of a fiscal code; empty when the text is not
// 15 characters of capital letters and digits.
std::optional<char> fiscalCodeCheckLetter(std::string_view first15);

// Exactly 16 characters whose last one is the check letter of the others. A letter is
// accepted in any of the first 15 places, so codes with letters standing for digits (given
// to people whose codes would otherwise clash) check like any other.
bool fiscalCodeValid(std::string_view code);

// The check digit of the first 10 digits of a VAT number; empty when they are not 10 digits.
std::optional<char> vatNumberCheckDigit(std::string_view first10);

// Exactly 11 digits whose last one is the check digit of the others.
bool vatNumberValid(std::string_view number);

}  // namespace vellano::master
