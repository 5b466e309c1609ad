#pragma once

// RoundDigits for a number of places fixed once, for the inner loops of the eliminations. It
// gives exactly RoundDigits's result, bit for bit; it only avoids the library calls on the way.

#include <cmath>

#include "numbers/number_conversions.h"

namespace koravin {

class FixedRounding {
public:
    explicit FixedRounding(int places);

    int places() const { return places_; }
    // The power of ten the fast path scales by; only meaningful when scaled() is true.
    double scale() const { return scale_; }
    // False for places that RoundDigits leaves alone (it returns x for them).
    bool scaled() const { return usable_; }

    double operator()(double x) const {
        const double product = x * scale_;
        const double magnitude = std::fabs(product);
        if (!usable_) return Slow(x);
        // Also false for NaN and infinities, which RoundDigits returns unchanged like large values.
        if (!(magnitude < 0x1p52)) return x;
        // Below 2^52 adding and removing 2^52 rounds to an integer, halves to even, as nearbyint
        // does in the default rounding mode.
        const double rounded = std::copysign((magnitude + 0x1p52) - 0x1p52, product);
        // A half may come from rounding the product; only RoundDigits's exact error decides it.
        if (std::fabs(product - rounded) == 0.5) return Slow(x);
        return rounded / scale_;
    }

private:
    double Slow(double x) const { return RoundDigits(x, places_); }

    int places_;
    double scale_;
    bool usable_;  // false for places that RoundDigits does not scale by (it returns x for them)
};

}  // namespace koravin
