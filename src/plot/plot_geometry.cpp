#include "plot/plot_geometry.h"

#include <algorithm>
#include <cmath>

namespace koravin {

double ClampToPicture(double value) { return std::clamp(value, -kLargestPlotValue, kLargestPlotValue); }

double EvenNode(double lo, double hi, int i, int count) {
    return i == count - 1 ? hi : lo + (hi - lo) * (static_cast<double>(i) / (count - 1));
}

std::optional<Interval> Body(std::vector<double> values) {
    if (values.empty()) return std::nullopt;
    for (double& value : values) value = ClampToPicture(value);
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const Interval extremes{*low, *high};
    const std::size_t lowIndex = (values.size() - 1) * 5 / 100;
    const std::size_t highIndex = values.size() - 1 - lowIndex;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(lowIndex), values.end());
    const double p5 = values[lowIndex];
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(highIndex), values.end());
    const double p95 = values[highIndex];
    const double spread = p95 - p5;
    return Interval{std::max(extremes.lo, p5 - spread), std::min(extremes.hi, p95 + spread)};
}

Interval Widened(Interval range, double fraction) {
    if (!(range.hi - range.lo > 1e-12 * std::max(std::abs(range.lo), std::abs(range.hi)))) {
        const double half = std::max(1.0, std::abs(range.lo) * 0.1);
        range = {range.lo - half, range.hi + half};
    }
    const double margin = (range.hi - range.lo) * fraction;
    return {ClampToPicture(range.lo - margin), ClampToPicture(range.hi + margin)};
}

std::optional<Interval> Span(const std::vector<double>& values) {
    std::optional<Interval> span;
    for (const double value : values) {
        if (!std::isfinite(value)) continue;
        const double clamped = ClampToPicture(value);
        span = span ? Interval{std::min(span->lo, clamped), std::max(span->hi, clamped)} : Interval{clamped, clamped};
    }
    return span;
}

std::optional<std::pair<PlotPoint, PlotPoint>> Clipped(PlotPoint a, PlotPoint b, const PictureBounds& box) {
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x - box.left, box.right - a.x, a.y - box.bottom, box.top - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    if (t0 > t1) return std::nullopt;
    const auto at = [&](double t) { return t == 0 ? a : t == 1 ? b : PlotPoint{a.x + t * dx, a.y + t * dy}; };
    return std::pair(at(t0), at(t1));
}

Pieces Fitted(const Pieces& pieces, const PictureBounds& view) {
    Pieces fitted;
    for (const Polyline& piece : pieces) {
        Polyline current;
        for (std::size_t i = 1; i < piece.size(); ++i) {
            const auto part = Clipped(piece[i - 1], piece[i], view);
            if (!part) continue;
            if (current.empty() || current.back() != part->first) {
                if (current.size() >= 2) fitted.push_back(std::move(current));
                current = {part->first};
            }
            current.push_back(part->second);
        }
        if (current.size() >= 2) fitted.push_back(std::move(current));
    }
    return fitted;
}

PictureBounds SaneBounds(PictureBounds bounds) {
    const auto fix = [](double& lo, double& hi) {
        if (!std::isfinite(lo) || !std::isfinite(hi) || !(lo < hi)) {
            lo = -1;
            hi = 1;
        }
        lo = ClampToPicture(lo);
        hi = ClampToPicture(hi);
        const double smallest = 1e-12 * std::max({std::abs(lo), std::abs(hi), 1e-200});
        if (hi - lo < smallest) {
            const double centre = lo + (hi - lo) / 2;
            lo = centre - smallest / 2;
            hi = centre + smallest / 2;
        }
    };
    fix(bounds.left, bounds.right);
    fix(bounds.bottom, bounds.top);
    return bounds;
}

}  // namespace koravin
