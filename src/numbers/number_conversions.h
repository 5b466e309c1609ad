#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace koravin {

// The leading number of a prompt reply or a numeric field: blanks, tabs and line feeds are
// ignored wherever they stand; an optional sign, digits with at most one ".", an optional
// exponent (E or D, either case) with its own sign and digits; "&H"/"&O" read hexadecimal and
// octal digits. Reading stops at the first character that does not fit; nothing read is 0.
double ReadLeadingNumber(std::string_view text);

// Nearest integer, halves to even; nothing when it falls outside -32768..32767 or is not a number.
std::optional<std::int16_t> ToInteger16(double value);

// x rounded to k decimal places (k from 0 to 17), halves to even, decided by the value the
// double actually holds. Non-finite values, and values already integral at that scale, come
// back unchanged.
double RoundDigits(double x, int k);

// 15 significant digits, no trailing zeros; fixed notation for decimal exponents -4..14,
// otherwise mantissa, "E", sign and at least two exponent digits. Inf, -Inf and NaN as such.
std::string NumberText(double x);

// An index or a count: plain decimal digits, a sign only when negative.
std::string IndexText(long long i);

// The shortest decimal that reads back to the same double (Inf, -Inf, NaN for the others).
std::string ExactText(double x);

// A decimal number in the C form ("1.5", "-2E+300", ".5", "5."), independent of the locale:
// too large reads +-Inf, too small reads +-0. Nothing when the text is not entirely a number.
std::optional<double> ParseDecimal(std::string_view text);

// x to 15 significant digits, as NumberText writes it and as reading that text back gives it.
double RoundToSignificant15(double x);
// The same, by writing the text and reading it back.
double RoundToSignificant15ByText(double x);

}  // namespace koravin
