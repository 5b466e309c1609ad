#include "numbers/decimal_text.h"

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include <fast_float/fast_float.h>
#include <fmt/format.h>

namespace koravin {

std::string ScientificText(double x, int precision) { return fmt::format("{:.{}e}", x, precision); }

std::string FixedText(double x, int precision) { return fmt::format("{:.{}f}", x, precision); }

std::string ShortestText(double x) {
    if (!std::isfinite(x)) return std::isnan(x) ? (std::signbit(x) ? "-nan" : "nan") : (x < 0 ? "-inf" : "inf");
    // fmt's shortest form has the right digits in a layout of its own; take the digits and the
    // decimal exponent from it and lay them out as to_chars does.
    const std::string shortest = fmt::format("{}", x);
    std::string_view text = shortest;
    const bool negative = text.front() == '-';
    if (negative) text.remove_prefix(1);
    const std::size_t e = text.find('e');
    const std::string_view mantissa = text.substr(0, e);
    int exponent = e == std::string_view::npos ? 0 : std::atoi(std::string(text.substr(e + 1)).c_str());
    std::string digits;
    int pointAt = static_cast<int>(mantissa.size());  // digits before the point in `mantissa`
    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        if (mantissa[i] == '.') pointAt = static_cast<int>(i);
        else digits.push_back(mantissa[i]);
    }
    exponent += pointAt - 1;  // now x = d.ddd x 10^exponent, once leading zeros are gone
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) return negative ? "-0" : "0";
    exponent -= static_cast<int>(firstNonZero);
    digits.erase(0, firstNonZero);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int count = static_cast<int>(digits.size());

    std::string scientific = digits.substr(0, 1);
    if (count > 1) scientific += "." + digits.substr(1);
    scientific += exponent < 0 ? "e-" : "e+";
    if (std::abs(exponent) < 10) scientific += '0';
    scientific += std::to_string(std::abs(exponent));

    std::string fixed;
    if (exponent < 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (exponent + 1 >= count) {
        // As long as the shortest digits padded with zeros, the exact integer is nearer: it wins.
        fixed = FixedText(std::fabs(x), 0);
    } else {
        fixed = digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
                digits.substr(static_cast<std::size_t>(exponent + 1));
    }
    return (negative ? "-" : "") + (fixed.size() <= scientific.size() ? fixed : scientific);
}

void AppendShortest(std::string& text, double x) { fmt::format_to(std::back_inserter(text), "{}", x); }

ReadDoubleResult ReadDouble(const char* first, const char* last, double& value) {
    if (first == last) return {first, std::errc::invalid_argument};
    // Out of range, this library gives the rounded value (+-Inf or +-0) as strtod does.
    const fast_float::from_chars_result result = fast_float::from_chars(first, last, value);
    return {result.ptr, result.ec};
}

}  // namespace koravin
