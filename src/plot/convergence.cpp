#include "plot/convergence.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "numbers/number_conversions.h"

namespace koravin {
namespace {

std::vector<const IterateMark*> InOrder(const std::vector<IterateMark>& marks) {
    std::vector<const IterateMark*> ordered;
    for (const IterateMark& mark : marks) ordered.push_back(&mark);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const IterateMark* a, const IterateMark* b) { return a->index < b->index; });
    return ordered;
}

bool Positive(double size) { return std::isfinite(size) && size > 0; }

}  // namespace

std::vector<PlotPoint> StepSizes(const std::vector<IterateMark>& marks) {
    const std::vector<const IterateMark*> ordered = InOrder(marks);
    std::vector<PlotPoint> sizes;
    for (std::size_t k = 1; k < ordered.size(); ++k) {
        sizes.push_back({static_cast<double>(ordered[k]->index), std::abs(ordered[k]->x - ordered[k - 1]->x)});
    }
    return sizes;
}

std::vector<PlotPoint> SweepSizes(std::span<const double> changes) {
    std::vector<PlotPoint> sizes;
    for (std::size_t k = 0; k < changes.size(); ++k) sizes.push_back({static_cast<double>(k + 1), changes[k]});
    return sizes;
}

Pieces LogPieces(const std::vector<PlotPoint>& sizes) {
    Pieces pieces;
    Polyline current;
    for (const PlotPoint& size : sizes) {
        if (Positive(size.y)) {
            current.push_back({size.x, std::log10(size.y)});
            continue;
        }
        if (current.size() >= 2) pieces.push_back(std::move(current));
        current = {};
    }
    if (current.size() >= 2) pieces.push_back(std::move(current));
    return pieces;
}

Polyline LogPoints(const std::vector<PlotPoint>& sizes) {
    Polyline points;
    for (const PlotPoint& size : sizes) {
        if (Positive(size.y)) points.push_back({size.x, std::log10(size.y)});
    }
    return points;
}

std::optional<Polyline> PredictedLine(const std::vector<PlotPoint>& sizes, std::optional<double> radius) {
    if (!radius || !Positive(*radius) || sizes.size() < 2) return std::nullopt;
    const auto start = std::find_if(sizes.begin(), sizes.end(), [](const PlotPoint& size) { return Positive(size.y); });
    if (start == sizes.end() || !(sizes.back().x > start->x)) return std::nullopt;
    const double slope = std::log10(*radius);
    const double first = std::log10(start->y);
    return Polyline{{start->x, first}, {sizes.back().x, first + (sizes.back().x - start->x) * slope}};
}

PictureBounds DecayHome(const std::vector<DecayCurve>& curves) {
    std::vector<double> ks{0};
    std::vector<double> logs;
    for (const DecayCurve& curve : curves) {
        for (const PlotPoint& size : curve.sizes) {
            ks.push_back(size.x);
            if (Positive(size.y)) logs.push_back(std::log10(size.y));
        }
    }
    const Interval kRange = Widened(Span(ks).value_or(Interval{0, 10}), 0.03);
    const Interval logRange = Widened(Span(logs).value_or(Interval{-8, 0}), 0.08);
    return {kRange.lo, kRange.hi, logRange.lo, logRange.hi};
}

void KeepCurve(std::vector<DecayCurve>& kept, DecayCurve curve) {
    std::erase_if(kept, [&](const DecayCurve& other) { return other.label == curve.label; });
    kept.push_back(std::move(curve));
    if (kept.size() > kMostDecayCurves) kept.erase(kept.begin());
}

std::string SweepLabel(std::string_view method, double relaxation, std::optional<double> radius) {
    std::string label(method);
    if (method == "SOR") label += " ω=" + NumberText(relaxation);
    if (radius) {
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.4G", *radius);
        label += std::string(" ρ=") + digits;
    }
    return label;
}

Polyline Staircase(const PlotFunction& phi, const std::vector<IterateMark>& marks) {
    const std::vector<const IterateMark*> ordered = InOrder(marks);
    Polyline path;
    const auto add = [&](double x, double y) {
        if (path.empty() || path.back() != PlotPoint{x, y}) path.push_back({x, y});
    };
    for (std::size_t k = 0; k < ordered.size(); ++k) {
        const double x = ordered[k]->x;
        if (!std::isfinite(x)) break;
        add(x, x);
        if (k + 1 == ordered.size()) break;
        const std::optional<double> value = FiniteValue(phi, x);
        if (!value) break;
        add(x, *value);
        add(*value, *value);
    }
    return path.size() >= 2 ? path : Polyline{};
}

PictureBounds CobwebHome(const PlotFunction& phi, const std::vector<IterateMark>& marks) {
    std::vector<double> values;
    for (const IterateMark& mark : marks) {
        values.push_back(mark.x);
        if (std::isfinite(mark.x)) values.push_back(FiniteValue(phi, mark.x).value_or(mark.x));
    }
    const Interval range = Widened(Span(values).value_or(Interval{-5, 5}), 0.15);
    return {range.lo, range.hi, range.lo, range.hi};
}

}  // namespace koravin
