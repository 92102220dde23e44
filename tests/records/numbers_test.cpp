// Standard text form, numeric value of a field, picture masks and ties-to-even rounding.
#include "records/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "platform/error.h"

namespace vellano::records {
namespace {

struct RoundCase {
  double value;
  int decimals;
  double expected;
};

TEST(RoundTo, HalvesGoToEvenOnTheValueHeld) {
  const std::vector<RoundCase> cases = {
      {10.125, 2, 10.12},            // exact half: down to the even cent
      {10.135, 2, 10.13},            // held as 10.13499999...: by the value held
      {10.115, 2, 10.12},            // held as 10.11500000...02: up
      {2.675, 2, 2.67},              // held just below the half
      {0.125, 2, 0.12},
      {0.375, 2, 0.38},
      {-10.125, 2, -10.12},
      {1220.0 * 100 / 120, 2, 1016.67},
      {1234.5, 0, 1234},
      {1235.5, 0, 1236},
      {-2.5, 0, -2},
      {1.0 / 3, 10, 0.3333333333},
      {2.0 / 3, 10, 0.6666666667},
      {1500.5, 2, 1500.5},
      {0.0, 2, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(roundTo(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
  }
  EXPECT_EQ(round2(10.125), 10.12);
}

TEST(RoundTo, SinglePrecisionRateTimesAmount) {
  // VAT of a line: the single-precision rate widened, then rounded in extended precision.
  const float rate22 = 22.0f;
  const float rate10 = 10.0f;
  // 220.055 is held just above the half
  EXPECT_EQ(roundTo(static_cast<double>(rate22) * 1000.25 / 100, 2), 220.06);
  // 10.125 exactly: the even cent
  EXPECT_EQ(roundTo(static_cast<double>(rate10) * 101.25 / 100, 2), 10.12);
}

struct StrCase {
  double value;
  const char* expected;
};

TEST(Str, DoublePrecisionStandardTextForm) {
  const std::vector<StrCase> cases = {
      {12, " 12"},
      {-3.5, "-3.5"},
      {1500.5, " 1500.5"},
      {0.5, " .5"},
      {-0.25, "-.25"},
      {0, " 0"},
      {-0.0, " 0"},
      {100, " 100"},
      {0.1, " .1"},
      {0.1 + 0.2, " .3"},  // 0.30000000000000004 at 15 digits
      {1016.67, " 1016.67"},
      {-1234.56, "-1234.56"},
      {0.001, " .001"},
      {123456789012345.0, " 123456789012345"},
      {1e14, " 100000000000000"},
      {1e15, " 1D+15"},
      {1e16, " 1D+16"},
      {1234567890123456.0, " 1.23456789012346D+15"},
      {1e-20, " 1D-20"},
      {0.1 + 0.2 - 0.3, " 5.55111512312578D-17"},
      {-2.5e20, "-2.5D+20"},
  };
  for (const auto& c : cases) EXPECT_EQ(str(c.value), c.expected) << c.value;
}

struct StrSingleCase {
  float value;
  const char* expected;
};

TEST(Str, SinglePrecisionStandardTextForm) {
  const std::vector<StrSingleCase> cases = {
      {0.1f, " .1"},
      {1016.667f, " 1016.667"},
      {1234.5678f, " 1234.568"},
      {12.0f, " 12"},
      {-3.5f, "-3.5"},
      {22.0f, " 22"},
      {0.0f, " 0"},
      {-0.0f, " 0"},
      {1.0f / 3, " .3333333"},
      {2.0f / 3, " .6666667"},
      {1.0f / 30, " 3.333334E-02"},  // would need 8 places after the point
      {0.001f, " .001"},
      {9999999.0f, " 9999999"},
      {1e7f, " 1E+07"},
      {12345678.0f, " 1.234568E+07"},
      {1e-8f, " 1E-08"},
      {100000.5f, " 100000.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(strSingle(c.value), c.expected) << c.value;
}

struct ValCase {
  std::string text;
  double expected;
};

TEST(Val, NumericValueOfAField) {
  using namespace std::string_literals;
  const std::vector<ValCase> cases = {
      {"", 0},
      {"     ", 0},
      {"\0\0\0\0"s, 0},
      {" \0 12"s, 12},
      {"12\0\0\0"s, 12},
      {"abc", 0},
      {"x12", 0},
      {"1500.5", 1500.5},
      {" 1500.5", 1500.5},
      {"1500.50   ", 1500.5},
      {"-3.5abc", -3.5},
      {"12.3.4", 12.3},
      {"+7", 7},
      {".5", 0.5},
      {" .5", 0.5},
      {"-.25", -0.25},
      {"5.", 5},
      {".", 0},
      {"-", 0},
      {"+-3", 0},
      {"- 3", 0},
      {"12 34", 12},
      {"1,234", 1},
      {"0012", 12},
      {"0.1", 0.1},
      {"22", 22},
      {"I10", 0},
      {"010111", 10111},
      {"-0", 0},
      // the exponent form of the standard text is read back; a bare letter stops reading
      {" 1E+07", 1e7},
      {" 5.55111512312578D-17", 5.55111512312578e-17},
      {"-2.5D+20", -2.5e20},
      {"12E4", 12},
      {"3D", 3},
      {"4E+", 4},
      // correctly rounded for the digits read
      {"9007199254740993", 9007199254740992.0},
      {"0.1000000000000000055511151231257827", 0.1},
  };
  for (const auto& c : cases) EXPECT_EQ(val(c.text), c.expected) << '"' << c.text << '"';
}

TEST(Val, ReadsOnlyTheView) {
  const std::string backing = "12345";
  EXPECT_EQ(val(std::string_view(backing).substr(0, 2)), 12);
  EXPECT_EQ(val(std::string_view(backing).substr(1, 3)), 234);
  const std::string exponent = "1E+07";
  EXPECT_EQ(val(std::string_view(exponent).substr(0, 3)), 1);  // "1E+" has no exponent digits
}

TEST(Val, ExtremeDigitStringsStayFinite) {
  EXPECT_EQ(val(std::string(400, '9')), std::numeric_limits<double>::max());
  EXPECT_EQ(val("-" + std::string(400, '9')), -std::numeric_limits<double>::max());
  EXPECT_EQ(val("0." + std::string(400, '0') + "1"), 0);
  EXPECT_EQ(val("1E+999"), std::numeric_limits<double>::max());
  EXPECT_EQ(val("1E-999"), 0);
  EXPECT_EQ(val(std::string(400, '0') + "7"), 7);
}

// Short fields take a shortcut through integer digits; every length of digits, every place of
// the point and both signs must still give the correctly rounded value of the digits.
TEST(Val, ShortAndLongDigitStringsGiveTheCorrectlyRoundedValue) {
  std::uint64_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>(seed >> 33);
  };
  for (int n = 0; n < 20000; ++n) {
    const std::size_t digits = 1 + next() % 19;
    std::string text;
    for (std::size_t k = 0; k < digits; ++k) text += static_cast<char>('0' + next() % 10);
    const std::size_t point = next() % (digits + 2);
    if (point <= digits) text.insert(point, ".");
    if (next() % 4 == 0) text.insert(0, "-");
    const double expected = std::strtod(text.c_str(), nullptr);
    EXPECT_EQ(val(text), expected) << '"' << text << '"';
    if (HasFailure()) break;
  }
}

TEST(Val, ReadsBackTheStandardTextForm) {
  for (double v : {0.0, 12.0, -3.5, 1500.5, 0.5, -0.25, 1016.67, 123456789.12, -0.01,
                   999999999999.99, 1e15, 1e-20, 2.5e-7}) {
    EXPECT_EQ(val(str(v)), v) << str(v);
  }
  for (float v : {0.1f, 22.0f, 1016.667f, 1e7f, 0.5f, 4.5f}) {
    EXPECT_EQ(static_cast<float>(val(strSingle(v))), v) << strSingle(v);
  }
}

struct MaskCase {
  const char* mask;
  double value;
  const char* expected;
};

TEST(PrintUsing, Pictures) {
  const std::vector<MaskCase> cases = {
      // thousands separators; each "," takes a place
      {"#,###,###.##", 1234.5, "    1,234.50"},
      {"#,###,###.##", 1234567.891, "1,234,567.89"},
      {"#,###,###.##", 0, "        0.00"},
      {"#,###,###.##", 0.5, "        0.50"},
      {"#,###,###.##", 2.675, "        2.67"},
      {"#,###,###.##", 0.125, "        0.12"},
      {"#,###,###.##", 0.375, "        0.38"},
      {"#,###,###.##", -1234.5, "   -1,234.50"},
      {"#,###,###.##", -0.5, "       -0.50"},
      {"#,###,###.##", 12345678.9, "%12,345,678.90"},
      {"#,###,###.##", -1234567, "%-1,234,567.00"},
      {"#,###,###.##", 9999999.999, "%10,000,000.00"},  // overflows through rounding
      // whole numbers
      {"####", 0, "   0"},
      {"####", 12, "  12"},
      {"####", -12, " -12"},
      {"####", 1234, "1234"},
      {"####", 2.5, "   2"},
      {"####", 3.5, "   4"},
      {"####", -0.4, "   0"},
      {"####", 12345, "%12345"},
      {"####", -1234, "%-1234"},
      {"####", 9999.5, "%10000"},
      // one decimal
      {"##.#", 4.5, " 4.5"},
      {"##.#", 10, "10.0"},
      {"##.#", 0, " 0.0"},
      {"##.#", 0.25, " 0.2"},
      {"##.#", 0.35, " 0.3"},
      {"##.#", -4.5, "-4.5"},
      {"##.#", -0.5, "-0.5"},
      {"##.#", 123.45, "%123.5"},
      {"##.#", 99.96, "%100.0"},
      {"##.#", -12.5, "%-12.5"},
      // ten decimals
      {"###.##########", 1.0 / 3, "  0.3333333333"},
      {"###.##########", 2.0 / 3, "  0.6666666667"},
      {"###.##########", 1.25, "  1.2500000000"},
      {"###.##########", 123.0123456789, "123.0123456789"},
      {"###.##########", 0, "  0.0000000000"},
      {"###.##########", -0.5, " -0.5000000000"},
      {"###.##########", -12.5, "-12.5000000000"},
      {"###.##########", -123.5, "%-123.5000000000"},
      {"###.##########", 1234.5, "%1234.5000000000"},
      // field-editor style picture
      {"######.##", 1500.5, "  1500.50"},
      {"######.##", 10.125, "    10.12"},
      {"######.##", 10.135, "    10.13"},
      {"######.##", 1220.0 * 100 / 120, "  1016.67"},
      {"######.##", 123456.789, "123456.79"},
      {"######.##", 0, "     0.00"},
      {"######.##", -3.5, "    -3.50"},
      {"######.##", 1234567, "%1234567.00"},
      {"######.##", -123456, "%-123456.00"},
      // the other pictures of the screens
      {"###.##", 0.5, "  0.50"},
      {".##", 0.5, ".50"},
      {".##", -0.5, "%-.50"},
      {"##", 6, " 6"},
      {"######.#", 12.5, "    12.5"},
      {"###,###.##", 999999.99, "999,999.99"},
      {"###,###.##", 1000000, "%1,000,000.00"},
      {"###,###,###.##", -1234567.891, " -1,234,567.89"},
      {"####,###,###.##", 123456789.5, " 123,456,789.50"},
      {"####,###,###.##", 1234567890.5, "%1,234,567,890.50"},
      {"####,###.##", 12345.678, "  12,345.68"},
      {"##,###,###.##", 0.01, "         0.01"},
      {"#,###,###,###", 1234567, "    1,234,567"},
      {"#,###,###,###", 0, "            0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(printUsing(c.mask, c.value), c.expected) << c.mask << " on " << c.value;
  }
}

TEST(PrintUsing, ValuesNoPictureCanHoldStaySane) {
  EXPECT_EQ(printUsing("####", std::nan("")), "   0");
  const std::string huge = printUsing("#,###.##", std::numeric_limits<double>::infinity());
  ASSERT_FALSE(huge.empty());
  EXPECT_EQ(huge.front(), '%');
  EXPECT_EQ(huge.substr(huge.size() - 3), ".00");
  EXPECT_EQ(printUsing("##.##", -1e300).substr(0, 3), "%-1");
  EXPECT_EQ(printUsing("", 5), "%5");
}

// Amounts going into a data field: a cut-off text would read back as another amount.
TEST(AmountField, FitsByDroppingTheBlankOrRefuses) {
  struct Case {
    double value;
    std::size_t width;
    std::string expected;  // empty: does not fit
  };
  const std::vector<Case> cases = {
      {0, 12, " 0"},
      {1500.25, 12, " 1500.25"},
      {12345678.12, 12, " 12345678.12"},    // 12 with the blank
      {123456789.12, 12, "123456789.12"},   // 13: the blank goes, every digit stays
      {-12345678.12, 12, "-12345678.12"},
      {-123456789.12, 12, ""},              // a sign is no blank to drop
      {12345678901.5, 12, ""},
      {1016.67, 10, " 1016.67"},
      {8333333.33, 10, "8333333.33"},
      {123456789.25, 10, ""},
      {5, 1, "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(str(c.value) + " in " + std::to_string(c.width));
    EXPECT_EQ(fitAmount(c.value, c.width), c.expected);
    if (c.expected.empty()) {
      try {
        amountField(c.value, c.width, "W_99");
        ADD_FAILURE() << "stored an amount that does not fit";
      } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), error::kOverflow);
        EXPECT_EQ(e.where(), "W_99");
      }
    } else {
      EXPECT_EQ(amountField(c.value, c.width, "W_99"), c.expected);
      EXPECT_EQ(val(c.expected), c.value);  // reads back as the same amount
    }
  }
}

}  // namespace
}  // namespace vellano::records
