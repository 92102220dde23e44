// Numbers the way the data files hold them: the BASIC standard text form, the numeric value
// of a field, picture masks and ties-to-even rounding. The only implementation of these rules.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vellano::records {

// Standard text form: " 12", "-3.5", " .5", no trailing zeros. Amounts (double precision,
// 15 significant digits) and counters and rates (single precision, 7 digits).
std::string str(double value);
std::string strSingle(float value);

// An amount in standard text form fitted to a data field `width` wide: the leading blank goes
// when only that makes it fit; empty when even then it does not fit (the caller refuses it).
std::string fitAmount(double value, std::size_t width);
// The same for an amount that must be stored: one that does not fit is error 6 (overflow) in
// `routine`, never a field cut to a wrong amount.
std::string amountField(double value, std::size_t width, const char* routine);

// Numeric value of a field: leading blanks skipped, optional sign, digits and one ".",
// reading stops at the first other character; blank, NUL-only or non-numeric text is 0.
double val(std::string_view text);

// PRINT USING with one numeric picture: "#" digit places, "," left of the point for
// thousands separators, "." decimal point. Right-aligned in the width of the mask; a value
// that does not fit is printed whole behind "%".
std::string printUsing(std::string_view mask, double value);

// A typed code or record number: the value when it is a whole number from `low` to `high`,
// else -1.
long wholeNumberIn(double value, long low, long high);

// A count kept as a single-precision value (the context's customer, supplier and causal
// counts): 0 when not positive, at most `most`.
int countOf(float value, int most);

// A sum or product of amounts as a double. Amounts a damaged record holds may be as large as
// val reads ("9E+307"): past a double's range the largest value is kept, as val keeps it,
// never an infinity that would spread through every total. Within the range it is the value.
double saturated(long double value);

// Ties-to-even rounding to `decimals` places, computed in extended precision on the value
// held (10.125 -> 10.12, 10.135 -> 10.13).
double roundTo(double value, int decimals);
inline double round2(double value) { return roundTo(value, 2); }

}  // namespace vellano::records
