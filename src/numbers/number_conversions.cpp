#include "numbers/number_conversions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "numbers/decimal_text.h"
#include "numbers/exact_product.h"

namespace koravin {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

double ReadRadixDigits(std::string_view digits, int radix) {
    double value = 0;
    for (const char c : digits) {
        int digit;
        if (IsDigit(c)) {
            digit = c - '0';
        } else if (radix == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (radix == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            break;
        }
        if (digit >= radix) break;
        value = value * radix + digit;
    }
    return value;
}

constexpr std::array<double, 23> kPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

struct Significant15 {
    bool negative;
    std::string digits;  // 15 digits, the first non-zero
    int exponent;        // value = d.dddd... x 10^exponent
};

// |x| = N * 10^(e - 14) with N the 15-digit integer nearest to |x| / 10^(e - 14), for finite
// non-zero x. While 10^|e - 14| is an exact double, N can be found exactly (the error of the
// scaling is recovered exactly) and N scaled back is one correctly rounded operation, so
// this is exactly what writing 15 digits rounds to; outside that range nothing.
struct Significand15 {
    double digits;  // N, a whole number from 1E14 to 1E15 (1E15 where the digits rounded up to it)
    int exponent;   // e
};

std::optional<Significand15> ExactSignificand15(double magnitude) {
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    int e = static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398120));
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = 14 - e;
        if (k < -22 || k > 22) break;
        double scaled;
        double error;  // the sign of (exact |x| * 10^k) - scaled
        if (k >= 0) {
            const double scale = kPowersOfTen[static_cast<std::size_t>(k)];
            scaled = magnitude * scale;
            error = ExactProductError(magnitude, scale, scaled);
        } else {
            const double divisor = kPowersOfTen[static_cast<std::size_t>(-k)];
            scaled = magnitude / divisor;
            // The remainder of the division, magnitude - scaled * divisor, is a double; it is
            // (magnitude - p) - (scaled * divisor - p) with both parts exact (p within an ulp).
            const double p = scaled * divisor;
            error = (magnitude - p) - ExactProductError(scaled, divisor, p);
        }
        if (scaled < 1e14) {
            --e;
            continue;
        }
        if (scaled >= 1e15) {
            ++e;
            continue;
        }
        double digits = std::nearbyint(scaled);
        if (std::fabs(scaled - digits) == 0.5 && error != 0) {
            digits = error > 0 ? std::ceil(scaled) : std::floor(scaled);
        }
        return Significand15{digits, e};
    }
    return std::nullopt;
}

Significant15 ToSignificant15(double x) {
    Significant15 s{std::signbit(x), {}, 0};
    if (const auto exact = ExactSignificand15(std::fabs(x))) {
        // Rounding up can reach 1E15 itself: that is 1E14 one decade higher.
        const bool carried = exact->digits == 1e15;
        s.digits = std::to_string(static_cast<std::int64_t>(carried ? 1e14 : exact->digits));
        s.exponent = exact->exponent + (carried ? 1 : 0);
        return s;
    }
    const std::string scientific = ScientificText(std::fabs(x), 14);
    std::string_view text = scientific;
    const auto e = text.find('e');
    for (const char c : text.substr(0, e)) {
        if (c != '.') s.digits.push_back(c);
    }
    std::string_view exponent = text.substr(e + 1);
    if (exponent.front() == '+') exponent.remove_prefix(1);
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), s.exponent);
    return s;
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
    if (text.empty()) return std::nullopt;
    bool negative = false;
    std::string_view body = text;
    if (body.front() == '+' || body.front() == '-') {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    // A bare "." or a sign alone is no number for the C form; the callers decide about those.
    double value = 0;
    const auto [end, error] = ReadDouble(body.data(), body.data() + body.size(), value);
    if (error != std::errc{} || end != body.data() + body.size() || body.front() == '+' || body.front() == '-') {
        return std::nullopt;
    }
    return negative ? -value : value;
}

double ReadLeadingNumber(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') compact.push_back(c);
    }
    if (compact.size() >= 2 && compact[0] == '&') {
        const char kind = compact[1];
        if (kind == 'H' || kind == 'h') return ReadRadixDigits(std::string_view(compact).substr(2), 16);
        if (kind == 'O' || kind == 'o') return ReadRadixDigits(std::string_view(compact).substr(2), 8);
        return 0;
    }
    std::string literal;
    std::size_t i = 0;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) literal.push_back(compact[i++]);
    bool anyDigit = false;
    bool seenPoint = false;
    while (i < compact.size() && (IsDigit(compact[i]) || (compact[i] == '.' && !seenPoint))) {
        if (compact[i] == '.') {
            seenPoint = true;
        } else {
            anyDigit = true;
        }
        literal.push_back(compact[i++]);
    }
    if (!anyDigit) return 0;
    if (i < compact.size() && (compact[i] == 'E' || compact[i] == 'e' || compact[i] == 'D' || compact[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "E";
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-')) exponent.push_back(compact[j++]);
        const std::size_t digitsStart = j;
        while (j < compact.size() && IsDigit(compact[j])) exponent.push_back(compact[j++]);
        if (j > digitsStart) literal += exponent;  // "1e" reads 1: the letter alone is not part of it
    }
    // The literal is a whole C number by construction: the sign apart, it reads completely.
    const bool negative = literal.front() == '-';
    const std::size_t start = literal.front() == '-' || literal.front() == '+' ? 1 : 0;
    double value = 0;
    ReadDouble(literal.data() + start, literal.data() + literal.size(), value);
    return negative ? -value : value;
}

std::optional<std::int16_t> ToInteger16(double value) {
    if (std::isnan(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

double RoundDigits(double x, int k) {
    if (!std::isfinite(x) || k < 0 || k >= static_cast<int>(kPowersOfTen.size())) return x;
    const double scale = kPowersOfTen[static_cast<std::size_t>(k)];
    const double product = x * scale;
    if (std::fabs(product) >= 0x1p52) return x;
    // product + error is the exact x * 10^k; below 2^52 the two cannot straddle a half unless
    // product itself is the half, and then the error's sign decides.
    const double error = ExactProductError(x, scale, product);
    double rounded = std::nearbyint(product);
    if (std::fabs(product - rounded) == 0.5 && error != 0) {
        rounded = error > 0 ? std::ceil(product) : std::floor(product);
    }
    return rounded / scale;
}

double RoundToSignificant15ByText(double x) {
    const std::string text = ScientificText(x, 14);
    double value = 0;
    ReadDouble(text.data(), text.data() + text.size(), value);
    return value;
}

double RoundToSignificant15(double x) {
    if (!std::isfinite(x)) return x;
    if (x == 0) return 0;  // NumberText writes -0 as "0"
    const auto exact = ExactSignificand15(std::fabs(x));
    if (!exact) return RoundToSignificant15ByText(x);
    const int k = 14 - exact->exponent;
    const double value = k >= 0 ? exact->digits / kPowersOfTen[static_cast<std::size_t>(k)]
                                : exact->digits * kPowersOfTen[static_cast<std::size_t>(-k)];
    return x < 0 ? -value : value;
}

std::string NumberText(double x) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x > 0 ? "Inf" : "-Inf";
    if (x == 0) return "0";
    const Significant15 s = ToSignificant15(x);
    std::string digits = s.digits;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string text = s.negative ? "-" : "";
    if (s.exponent >= -4 && s.exponent <= 14) {
        if (s.exponent < 0) {
            text += "0.";
            text.append(static_cast<std::size_t>(-s.exponent - 1), '0');
            text += digits;
        } else {
            const auto integerDigits = static_cast<std::size_t>(s.exponent) + 1;
            if (digits.size() <= integerDigits) {
                text += digits;
                text.append(integerDigits - digits.size(), '0');
            } else {
                text += digits.substr(0, integerDigits);
                text += '.';
                text += digits.substr(integerDigits);
            }
        }
        return text;
    }
    text += digits.front();
    if (digits.size() > 1) {
        text += '.';
        text += digits.substr(1);
    }
    text += s.exponent < 0 ? "E-" : "E+";
    const int magnitude = s.exponent < 0 ? -s.exponent : s.exponent;
    if (magnitude < 10) text += '0';
    text += std::to_string(magnitude);
    return text;
}

std::string IndexText(long long i) { return std::to_string(i); }

std::string ExactText(double x) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x > 0 ? "Inf" : "-Inf";
    return ShortestText(x);
}

}  // namespace koravin
