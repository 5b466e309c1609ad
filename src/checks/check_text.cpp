#include "checks/check_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "numbers/decimal_text.h"
#include "numbers/number_conversions.h"
#include "numbers/text_utilities.h"

namespace koravin {
namespace {

constexpr int kSignificantDigits = 4;

void DropTrailingZeros(std::string& digits) {
    if (digits.find('.') == std::string::npos) return;
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == '.') digits.pop_back();
}

}  // namespace

std::string ShortNumberText(double x) {
    if (!std::isfinite(x) || x == 0) return NumberText(x);
    // Rounding to the significant digits first decides the exponent (9.9996 becomes 10).
    const std::string scientific = ScientificText(x, kSignificantDigits - 1);
    const std::size_t e = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    if (exponent >= -4 && exponent <= 5) {
        double rounded = 0;
        ReadDouble(scientific.data(), scientific.data() + scientific.size(), rounded);
        std::string fixed = FixedText(rounded, std::max(0, kSignificantDigits - 1 - exponent));
        DropTrailingZeros(fixed);
        return fixed;
    }
    std::string mantissa = scientific.substr(0, e);
    DropTrailingZeros(mantissa);
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + exponentText;
}

std::string JsonNumber(double x) {
    if (!std::isfinite(x)) return "null";
    return ShortestText(x);
}

std::string JsonString(std::string_view text) {
    std::string quoted;
    AppendJsonString(quoted, text);
    return quoted;
}

}  // namespace koravin
