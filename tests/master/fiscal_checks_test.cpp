// Fiscal code and VAT number checks against codes worked out by hand from the published rules.
#include "master/fiscal_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace vellano::master {
namespace {

struct Case {
  std::string text;
  bool valid;
  const char* why;
};

TEST(FiscalCode, TableOfCodes) {
  const Case cases[] = {
      {"RSSMRA80A01H501U", true, "the usual published example"},
      {"BNCGNN75C41F205H", true, "woman born in March"},
      {"VRDLGU62T10L219V", true, "another plain code"},
      {"RSSMRA80A01H50MM", true, "last digit replaced by its letter (1 -> M)"},
      {"RSSMRA8LA01H501F", true, "a digit of the year replaced (0 -> L)"},
      {"RSSMRA80A01H501X", false, "wrong check letter"},
      {"RSSMRA80A01H50MU", false, "substituted digit but the check of the plain code"},
      {"rssmra80a01h501u", false, "small letters are not counted characters"},
      {"RSSMRA80A01H501", false, "15 characters"},
      {"RSSMRA80A01H501UU", false, "17 characters"},
      {"RSSMRA80A01H50-U", false, "a sign in a counted place"},
      {"RSSMRA80A01H5011", false, "a digit in the check place"},
      {"", false, "empty"},
      {"                ", false, "blanks"},
  };
  for (const Case& c : cases) EXPECT_EQ(fiscalCodeValid(c.text), c.valid) << c.text << ": " << c.why;
}

TEST(FiscalCode, CheckLetterOfTheFirstFifteen) {
  EXPECT_EQ(fiscalCodeCheckLetter("RSSMRA80A01H501"), 'U');
  EXPECT_EQ(fiscalCodeCheckLetter("RSSMRA80A01H50M"), 'M');
  EXPECT_EQ(fiscalCodeCheckLetter("RSSMRA80A01H50"), std::nullopt);
  EXPECT_EQ(fiscalCodeCheckLetter(std::string("RSSMRA80A01H50\0", 15)), std::nullopt);
}

TEST(VatNumber, TableOfNumbers) {
  const Case cases[] = {
      {"12345678903", true, "check 3"},
      {"00743110157", true, "check 7"},
      {"02114720960", true, "sum 30: check 0"},
      {"00000000190", true, "doubled 9 counts 9: sum 10, check 0"},
      {"01234567897", true, "check 7"},
      {"02114720961", false, "wrong check digit"},
      {"12345678900", false, "ends in 0 but the sum is not a multiple of 10"},
      {"1234567890", false, "10 digits"},
      {"123456789033", false, "12 digits"},
      {"1234567890A", false, "letter in the check place"},
      {"12345 78903", false, "blank inside"},
      {"", false, "empty"},
  };
  for (const Case& c : cases) EXPECT_EQ(vatNumberValid(c.text), c.valid) << c.text << ": " << c.why;
}

}  // namespace
}  // namespace vellano::master
