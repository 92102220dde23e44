// Text helpers for fixed-width fields.
#include "records/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vellano::records {
namespace {

using namespace std::string_literals;

TEST(Text, BlanksAndNuls) {
  EXPECT_EQ(nulAsBlank("AB\0\0C\0"s), "AB  C ");
  EXPECT_EQ(nulAsBlank(""), "");

  struct Case {
    std::string in, right, left, both;
  };
  const std::vector<Case> cases = {
      {"  AB C  ", "  AB C", "AB C  ", "AB C"},
      {"ROSSI\0\0\0"s, "ROSSI", "ROSSI\0\0\0"s, "ROSSI"},
      {"\0 X \0"s, "\0 X"s, "X \0"s, "X"},
      {"   ", "", "", ""},
      {"\0\0"s, "", "", ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(trimRight(c.in), c.right);
    EXPECT_EQ(trimLeft(c.in), c.left);
    EXPECT_EQ(trim(c.in), c.both);
  }

  EXPECT_TRUE(isBlank(""));
  EXPECT_TRUE(isBlank("  \0 "s));
  EXPECT_FALSE(isBlank("  .  "));
  EXPECT_FALSE(isBlank("\0A"s));
}

TEST(Text, FittingToAWidth) {
  EXPECT_EQ(fitLeft("ABC", 5), "ABC  ");
  EXPECT_EQ(fitLeft("ABCDEFG", 4), "ABCD");
  EXPECT_EQ(fitLeft("", 3), "   ");
  EXPECT_EQ(fitLeft("AB", 0), "");
  EXPECT_EQ(fitRight("12", 4), "  12");
  EXPECT_EQ(fitRight("123456", 4), "3456");  // cut from the left
  EXPECT_EQ(fitRight("", 2), "  ");
  EXPECT_EQ(fitRight("AB", 0), "");
}

TEST(Text, UpperTouchesAsciiLettersOnly) {
  EXPECT_EQ(upper("via Roma 12/b"), "VIA ROMA 12/B");
  // code page 437 accented letters stay as they are
  EXPECT_EQ(upper("citt\x85 \x8a"), "CITT\x85 \x8a");
}

TEST(Text, LeftRightMidNeverThrow) {
  struct Case {
    std::string got, expected;
  };
  const std::string t = "ABCDEF";
  const std::vector<Case> cases = {
      {left(t, 2), "AB"},          {left(t, 0), ""},           {left(t, 99), "ABCDEF"},
      {right(t, 2), "EF"},         {right(t, 0), ""},          {right(t, 99), "ABCDEF"},
      {mid(t, 3), "CDEF"},         {mid(t, 3, 2), "CD"},       {mid(t, 1, 1), "A"},
      {mid(t, 6, 5), "F"},         {mid(t, 7), ""},            {mid(t, 100, 2), ""},
      {mid(t, 0, 2), "AB"},        {mid(t, 2, 0), ""},         {mid("", 1, 3), ""},
      {left("", 3), ""},           {right("", 3), ""},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(cases[i].got, cases[i].expected) << "case " << i;
  }
}

}  // namespace
}  // namespace vellano::records
