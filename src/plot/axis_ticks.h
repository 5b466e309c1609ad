#pragma once

// The ticks of an axis and their labels: a spacing of 1, 2 or 5 times a power of ten, whole
// numbers on a counting axis, and powers of ten on a logarithmic one.

#include <string>
#include <vector>

namespace koravin {

enum class AxisScale {
    Linear,
    Counting,     // steps k = 0, 1, 2, ...: the spacing is a whole number
    Logarithmic,  // the axis's values are log10 of what the labels say
};

struct Tick {
    double value;
    std::string label;
};

struct AxisTicks {
    double step = 1;
    std::vector<Tick> ticks;  // ascending, within the range; at most 100
};

// Tick spacing of 1, 2 or 5 times a power of ten, about `count` ticks to the span.
double NiceStep(double span, double count);

// About `count` ticks over [lo, hi]. Linear labels carry as many decimals as the spacing needs,
// with an exponent for large values and for spacings far below them; the tick at 0 reads "0".
// Logarithmic labels read "1E-5", "1E0", "1E3", or the value to three digits between decades.
AxisTicks TicksFor(double lo, double hi, double count, AxisScale scale);

// An error as a legend gives it: two significant digits with an exponent ("1.2E-01"), or Inf, NaN.
std::string ErrorText(double error);

}  // namespace koravin
