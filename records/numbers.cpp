// Numbers as the data files and the screens hold them: BASIC STR$, VAL, PRINT USING and
// the ties-to-even rounding every amount goes through.
#include "records/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <system_error>

#include "platform/error.h"

namespace vellano::records {

namespace {

// Exact powers of ten in extended precision (exact up to 10^27 with a 64-bit mantissa).
long double powerOfTen(int n) {
  long double p = 1.0L;
  for (int i = 0; i < n; ++i) p *= 10.0L;
  return p;
}

// Rates and amounts never carry more places than this; the clamp keeps a bad argument from
// looping or overflowing.
constexpr int kMaxDecimals = 18;

int clampDecimals(int decimals) {
  if (decimals < 0) return 0;
  return decimals > kMaxDecimals ? kMaxDecimals : decimals;
}

// value × 10^decimals rounded to an integer, halves to even (the default rounding mode, which
// the program never changes). rint rounds exactly as nearbyint does; it only may raise the
// inexact flag, which nothing reads, and it costs a fraction of nearbyint, which saves and
// restores the floating-point environment around every call.
long double scaledRound(double value, int decimals) {
  return std::rint(static_cast<long double>(value) * powerOfTen(decimals));
}

// STR$: the value rounded to `precision` significant digits, shown fixed when every digit
// fits in `precision` places on either side of the point, otherwise as d.dddE+xx (single)
// or d.dddD+xx (double) like BASIC does (1E+07, 3.333333E-03).
std::string standardText(double value, int precision, char exponentLetter) {
  if (std::isnan(value)) return " 0";
  if (std::isinf(value)) value = std::copysign(std::numeric_limits<double>::max(), value);
  if (value == 0.0) return " 0";  // -0 too

  // Scientific to_chars rounds correctly to the requested digits: d.ddddde±xx
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                 std::chars_format::scientific, precision - 1);
  if (res.ec != std::errc()) return " 0";
  const std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
  const std::size_t ePos = s.find('e');
  if (ePos == std::string_view::npos) return " 0";

  std::string digits;
  digits.reserve(static_cast<std::size_t>(precision));
  for (std::size_t i = 0; i < ePos; ++i) {
    if (s[i] != '.') digits.push_back(s[i]);
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = 0;
  const char* expText = buf + ePos + 1;
  if (*expText == '+') ++expText;
  std::from_chars(expText, res.ptr, exponent);
  const int n = static_cast<int>(digits.size());

  std::string out(1, value < 0 ? '-' : ' ');
  const bool fixed = exponent < precision && (n - 1 - exponent) <= precision;
  if (fixed) {
    if (exponent >= 0) {
      const int intDigits = exponent + 1;
      if (n <= intDigits) {
        out += digits;
        out.append(static_cast<std::size_t>(intDigits - n), '0');
      } else {
        out.append(digits, 0, static_cast<std::size_t>(intDigits));
        out += '.';
        out.append(digits, static_cast<std::size_t>(intDigits), std::string::npos);
      }
    } else {
      out += '.';
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    }
    return out;
  }

  out += digits[0];
  if (n > 1) {
    out += '.';
    out.append(digits, 1, std::string::npos);
  }
  out += exponentLetter;
  out += exponent < 0 ? '-' : '+';
  const int absExp = exponent < 0 ? -exponent : exponent;
  if (absExp < 10) out += '0';
  out += std::to_string(absExp);
  return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// 10^0 .. 10^15, each exact in a double.
constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Rough decimal exponent of "digits[.digits]" with an optional "E±ddd" tail: positive for
// values of 1 and above. Only used to tell overflow from underflow.
long decimalMagnitude(std::string_view mantissa, std::string_view exponentTail) {
  long magnitude = 0;
  std::size_t i = 0;
  while (i < mantissa.size() && mantissa[i] == '0') ++i;
  if (i < mantissa.size() && mantissa[i] != '.') {
    while (i < mantissa.size() && isDigit(mantissa[i])) ++i, ++magnitude;
  } else {
    if (i < mantissa.size()) ++i;  // the point
    while (i < mantissa.size() && mantissa[i] == '0') ++i, --magnitude;
  }
  if (exponentTail.size() > 2) {
    long e = 0;
    for (std::size_t k = 2; k < exponentTail.size() && e < 100000; ++k) {
      e = e * 10 + (exponentTail[k] - '0');
    }
    magnitude += exponentTail[1] == '-' ? -e : e;
  }
  return magnitude;
}

}  // namespace

std::string str(double value) { return standardText(value, 15, 'D'); }

std::string strSingle(float value) { return standardText(static_cast<double>(value), 7, 'E'); }

std::string fitAmount(double value, std::size_t width) {
  std::string text = str(value);
  if (text.size() > width && text[0] == ' ') text.erase(0, 1);
  return text.size() > width ? std::string() : text;
}

std::string amountField(double value, std::size_t width, const char* routine) {
  std::string text = fitAmount(value, width);
  if (text.empty()) throw RuntimeError(error::kOverflow, routine, str(value));
  return text;
}

double val(std::string_view text) {
  std::size_t i = 0;
  const std::size_t end = text.size();
  while (i < end && (text[i] == ' ' || text[i] == '\0')) ++i;

  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  const std::size_t start = i;
  std::size_t digitCount = 0;
  while (i < end && isDigit(text[i])) ++i, ++digitCount;
  if (i < end && text[i] == '.') {
    ++i;
    while (i < end && isDigit(text[i])) ++i, ++digitCount;
  }
  if (digitCount == 0) return 0.0;
  const std::size_t mantissaEnd = i;

  // The exponent form STR$ writes for very large or small values ("1E+07", "5.5D-17") is
  // read back, so a stored value keeps its magnitude. Only a sign-and-digits exponent counts:
  // a typed text such as "12E" or "3D4" still stops at the letter.
  std::size_t exponentEnd = mantissaEnd;
  if (mantissaEnd + 2 < end && (text[mantissaEnd] == 'E' || text[mantissaEnd] == 'D') &&
      (text[mantissaEnd + 1] == '+' || text[mantissaEnd + 1] == '-') &&
      isDigit(text[mantissaEnd + 2])) {
    exponentEnd = mantissaEnd + 2;
    while (exponentEnd < end && isDigit(text[exponentEnd])) ++exponentEnd;
  }

  // Up to 15 digits the digits make an integer a double holds exactly, and dividing it by an
  // exact power of ten rounds once, correctly: the value the full conversion gives, without it.
  if (exponentEnd == mantissaEnd && digitCount <= 15) {
    std::uint64_t digits = 0;
    int places = 0;
    bool afterPoint = false;
    for (std::size_t k = start; k < mantissaEnd; ++k) {
      if (text[k] == '.') {
        afterPoint = true;
        continue;
      }
      digits = digits * 10 + static_cast<std::uint64_t>(text[k] - '0');
      places += afterPoint ? 1 : 0;
    }
    if (digits == 0) return 0.0;
    const double value = static_cast<double>(digits) / kExactPowersOfTen[places];
    return negative ? -value : value;
  }

  double result = 0.0;
  std::from_chars_result parsed{};
  if (exponentEnd == mantissaEnd) {
    parsed = std::from_chars(text.data() + start, text.data() + mantissaEnd, result,
                             std::chars_format::fixed);
  } else {
    std::string joined(text.substr(start, mantissaEnd - start));
    joined += 'e';
    joined.append(text.substr(mantissaEnd + 1, exponentEnd - mantissaEnd - 1));
    parsed = std::from_chars(joined.data(), joined.data() + joined.size(), result,
                             std::chars_format::general);
  }
  if (parsed.ec == std::errc::result_out_of_range) {
    // Beyond the range of a double: BASIC would overflow; the largest value is kept rather
    // than a wrong small one. Underflow is 0.
    result = decimalMagnitude(text.substr(start, mantissaEnd - start),
                              text.substr(mantissaEnd, exponentEnd - mantissaEnd)) > 0
                 ? std::numeric_limits<double>::max()
                 : 0.0;
  } else if (parsed.ec != std::errc()) {
    return 0.0;
  }
  if (result == 0.0) return 0.0;
  return negative ? -result : result;
}

double saturated(long double value) {
  constexpr long double kLargest = std::numeric_limits<double>::max();
  if (std::isnan(value)) return 0.0;
  if (value > kLargest) return std::numeric_limits<double>::max();
  if (value < -kLargest) return -std::numeric_limits<double>::max();
  return static_cast<double>(value);
}

double roundTo(double value, int decimals) {
  const int n = clampDecimals(decimals);
  return saturated(scaledRound(value, n) / powerOfTen(n));
}

namespace {

// The parts of a picture mask that shape the number.
struct Mask {
  std::size_t width = 0;
  std::size_t placesBeforePoint = 0;  // "#", "," and anything else left of "."
  int decimals = 0;
  bool hasPoint = false;
  bool thousands = false;
};

Mask parseMask(std::string_view mask) {
  Mask m;
  m.width = mask.size();
  const std::size_t point = mask.find('.');
  m.hasPoint = point != std::string_view::npos;
  m.placesBeforePoint = m.hasPoint ? point : mask.size();
  for (std::size_t i = 0; i < m.placesBeforePoint; ++i) {
    if (mask[i] == ',') m.thousands = true;
  }
  if (m.hasPoint) {
    for (std::size_t i = point + 1; i < mask.size(); ++i) {
      if (mask[i] == '#') ++m.decimals;
    }
  }
  m.decimals = clampDecimals(m.decimals);
  return m;
}

// Decimal digits of a non-negative integral long double, written into `buf`.
std::string_view integerDigits(long double v, char (&buf)[512]) {
  if (v < 18446744073709551616.0L) {  // 2^64: fits an unsigned 64-bit integer exactly
    const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<unsigned long long>(v));
    return std::string_view(buf, static_cast<std::size_t>(res.ptr - buf));
  }
  // a double times 10^18 has at most 327 digits
  const int len = std::snprintf(buf, sizeof buf, "%.0Lf", v);
  if (len <= 0 || len >= static_cast<int>(sizeof buf)) return "0";
  return std::string_view(buf, static_cast<std::size_t>(len));
}

}  // namespace

std::string printUsing(std::string_view mask, double value) {
  const Mask m = parseMask(mask);
  if (std::isnan(value)) value = 0.0;
  if (std::isinf(value)) value = std::copysign(std::numeric_limits<double>::max(), value);

  const long double scaled = scaledRound(value, m.decimals);
  const bool negative = scaled < 0;
  char buf[512];
  const std::string_view all = integerDigits(std::fabs(scaled), buf);

  // The scaled integer holds the integer part followed by exactly `decimals` fraction digits.
  const std::size_t d = static_cast<std::size_t>(m.decimals);
  std::string_view intPart = all.size() > d ? all.substr(0, all.size() - d) : std::string_view{};
  const std::string_view fracDigits = all.size() > d ? all.substr(all.size() - d) : all;
  const std::size_t fracZeros = d - fracDigits.size();  // 0.05 -> "05"
  if (intPart == "0") intPart = {};

  const std::size_t commas = m.thousands && !intPart.empty() ? (intPart.size() - 1) / 3 : 0;
  std::size_t leftSize = (negative ? 1 : 0) + intPart.size() + commas;
  // A whole-number picture always shows a digit; otherwise the zero goes in only when a
  // place is left for it.
  const bool leadingZero =
      intPart.empty() && (!m.hasPoint || d == 0 || leftSize < m.placesBeforePoint);
  if (leadingZero) ++leftSize;
  const std::size_t bodySize = leftSize + (m.hasPoint ? 1 + d : 0);
  const bool overflow = leftSize > m.placesBeforePoint;
  const std::size_t padding = !overflow && bodySize < m.width ? m.width - bodySize : 0;

  std::string out;
  out.reserve(padding + bodySize + 1);
  if (overflow) out += '%';
  out.append(padding, ' ');
  if (negative) out += '-';
  for (std::size_t i = 0; i < intPart.size(); ++i) {
    if (m.thousands && i > 0 && (intPart.size() - i) % 3 == 0) out += ',';
    out += intPart[i];
  }
  if (leadingZero) out += '0';
  if (m.hasPoint) {
    out += '.';
    out.append(fracZeros, '0');
    out += fracDigits;
  }
  return out;
}

long wholeNumberIn(double value, long low, long high) {
  if (value != std::floor(value) || value < static_cast<double>(low) || value > static_cast<double>(high))
    return -1;
  return static_cast<long>(value);
}

int countOf(float value, int most) {
  if (!(value > 0)) return 0;
  return value > static_cast<float>(most) ? most : static_cast<int>(value);
}

}  // namespace vellano::records
