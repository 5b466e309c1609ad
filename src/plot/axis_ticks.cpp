#include "plot/axis_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace koravin {
namespace {

std::string Printed(const char* format, int digits, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, digits, value);
    return text;
}

std::string LinearLabel(double value, double lo, double hi, double step) {
    if (std::abs(value) < step * 1e-6) return "0";
    const double largest = std::max(std::abs(lo), std::abs(hi));
    if (largest >= 1e6 || step < 1e-6) {
        return Printed("%.*E", std::clamp(static_cast<int>(std::ceil(std::log10(largest / step))), 0, 12), value);
    }
    return Printed("%.*f", std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 12), value);
}

std::string DecadeLabel(double exponent) {
    const double whole = std::round(exponent);
    if (std::abs(exponent - whole) < 1e-9) return "1E" + std::to_string(static_cast<long long>(whole));
    return Printed("%.*G", 3, std::pow(10.0, exponent));
}

}  // namespace

double NiceStep(double span, double count) {
    const double raw = span / std::max(count, 1.0);
    if (!(raw > 0) || !std::isfinite(raw)) return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / magnitude;
    return (fraction < 1.5 ? 1 : fraction < 3.5 ? 2 : fraction < 7.5 ? 5 : 10) * magnitude;
}

AxisTicks TicksFor(double lo, double hi, double count, AxisScale scale) {
    AxisTicks axis{NiceStep(hi - lo, count), {}};
    // Between whole steps and whole decades nothing is worth a label; a view zoomed in closer than
    // that keeps the finer spacing.
    if (scale != AxisScale::Linear && axis.step < 1 && hi - lo >= 1) axis.step = 1;
    const double firstTick = std::ceil(lo / axis.step);
    for (int i = 0; i < 100 && (firstTick + i) * axis.step <= hi; ++i) {
        const double value = (firstTick + i) * axis.step;
        axis.ticks.push_back({value, scale == AxisScale::Logarithmic ? DecadeLabel(value)
                                                                     : LinearLabel(value, lo, hi, axis.step)});
    }
    return axis;
}

std::string ErrorText(double error) {
    if (std::isnan(error)) return "NaN";
    if (std::isinf(error)) return "Inf";
    return Printed("%.*E", 1, error);
}

}  // namespace koravin
