#include "checks/check_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "numbers/number_conversions.h"

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
    char buffer[64];
    // Rounding to the significant digits first decides the exponent (9.9996 becomes 10).
    auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, kSignificantDigits - 1).ptr;
    const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t e = scientific.find('e');
    const int exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());
    if (exponent >= -4 && exponent <= 5) {
        const double rounded = std::strtod(std::string(scientific).c_str(), nullptr);
        end = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed,
                            std::max(0, kSignificantDigits - 1 - exponent)).ptr;
        std::string fixed(buffer, end);
        DropTrailingZeros(fixed);
        return fixed;
    }
    std::string mantissa(scientific.substr(0, e));
    DropTrailingZeros(mantissa);
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + exponentText;
}

std::string JsonNumber(double x) {
    if (!std::isfinite(x)) return "null";
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
    return std::string(buffer, end);
}

std::string JsonString(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
            case '"': quoted += "\\\""; break;
            case '\\': quoted += "\\\\"; break;
            case '\n': quoted += "\\n"; break;
            case '\r': quoted += "\\r"; break;
            case '\t': quoted += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    quoted += escaped;
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + "\"";
}

}  // namespace koravin
