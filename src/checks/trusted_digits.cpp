#include "checks/trusted_digits.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "numbers/decimal_text.h"

namespace koravin {
namespace {

// Far beyond any count a double can support, either way.
constexpr int kUnbounded = 1000;

}  // namespace

int LeadingExponent(double x) {
    // Rounding to the digits the reports print decides the exponent: 9.9999999999999999 is 10.
    const std::string text = ScientificText(x, kMostPrintedDigits - 1);
    return std::atoi(text.c_str() + text.find('e') + 1);
}

int CorrectDigits(double value, double error) {
    if (error == 0) return kUnbounded;
    if (!std::isfinite(error)) return -kUnbounded;
    // |error| ≤ ½·10^(m-n+1)  ⇔  n ≤ m + 1 - log10(2·error)
    const double digits = std::floor(LeadingExponent(value) + 1 - std::log10(2 * error));
    return static_cast<int>(std::clamp(digits, double{-kUnbounded}, double{kUnbounded}));
}

int PrintedDigits(double printed, int places) {
    return std::min(kMostPrintedDigits, places + LeadingExponent(printed) + 1);
}

DigitsVerdict TrustedDigits(const DigitsEvidence& evidence) {
    int printed = kUnbounded;
    int computed = kUnbounded;
    std::size_t leastPrinted = 0;
    std::size_t leastComputed = 0;
    double largest = 0;
    for (std::size_t i = 0; i < evidence.printed.size(); ++i) {
        const double value = evidence.printed[i];
        if (value == 0) continue;
        largest = std::max(largest, std::fabs(value));
        if (const int digits = PrintedDigits(value, evidence.places); digits < printed) {
            printed = digits;
            leastPrinted = i;
        }
        if (const int digits = CorrectDigits(value, evidence.errorAtMost[i]); digits < computed) {
            computed = digits;
            leastComputed = i;
        }
    }
    // Some entry is off by at least the bound: at best the largest one, which then keeps the most digits.
    const int residual = CorrectDigits(largest, evidence.errorAtLeast);

    // On a tie the plainest cause is named: the printing, then the residual, then the computation.
    DigitsVerdict verdict;
    const int least = std::min({printed, residual, computed});
    verdict.digits = std::max(0, least);
    if (printed == least) {
        const int placesCarry = evidence.places + LeadingExponent(evidence.printed[leastPrinted]) + 1;
        verdict.limit = placesCarry > kMostPrintedDigits ? DigitsLimit::PrintLength : DigitsLimit::Printed;
        verdict.entry = leastPrinted;
    } else if (residual == least) {
        verdict.limit = DigitsLimit::Residual;
    } else {
        verdict.limit = DigitsLimit::Computation;
        verdict.entry = leastComputed;
    }
    return verdict;
}

}  // namespace koravin
