#pragma once

// Doubles written as decimal text and read back, in the forms of std::to_chars and
// std::from_chars. Every build shares these (not every C++ library has the floating-point
// forms of <charconv>), so a number is written with the same characters wherever it runs.

#include <string>
#include <system_error>

namespace koravin {

// "d.ddddde+XX" with `precision` digits after the point, correctly rounded, as
// std::to_chars(..., std::chars_format::scientific, precision) writes it.
std::string ScientificText(double x, int precision);

// Fixed notation with `precision` digits after the point, correctly rounded, as
// std::to_chars(..., std::chars_format::fixed, precision) writes it.
std::string FixedText(double x, int precision);

// The fewest significant digits that read back to x, in fixed or scientific notation, whichever
// is shorter (fixed on a tie), as std::to_chars(first, last, x) writes it: "100", "1e+05", "0.001",
// "1e-05", "inf", "nan". Only finite values are asked for here.
std::string ShortestText(double x);

// Appends the fewest significant digits that read back to x (finite), in whichever layout is at
// hand ("0.1", "100000", "1e+20"): valid JSON and JavaScript, for numbers that only a program reads.
void AppendShortest(std::string& text, double x);

struct ReadDoubleResult {
    const char* end;  // the first character not read
    std::errc error;  // std::errc::invalid_argument when no number starts at `first`
};

// The longest decimal number in the C form at the start of [first, last), as std::from_chars with
// std::chars_format::general reads it: no leading "+", no blanks, "inf" and "nan" in either case,
// correctly rounded; too large reads +-Inf and too small +-0.
ReadDoubleResult ReadDouble(const char* first, const char* last, double& value);

}  // namespace koravin
