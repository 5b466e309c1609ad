#pragma once

// How the checks write their numbers.

#include <string>
#include <string_view>

namespace koravin {

// Four significant digits, where more would mean nothing: fixed notation for decimal exponents
// -4..5 ("0.3507", "2907"), otherwise mantissa, "E", sign and two or more exponent digits
// ("2.907E+07"); no trailing zeros. Inf, -Inf and NaN as the reports write them.
std::string ShortNumberText(double x);

// A JSON number for a finite value (the shortest text that reads back to it, in JSON form), null otherwise.
std::string JsonNumber(double x);

// A JSON string literal.
std::string JsonString(std::string_view text);

}  // namespace koravin
