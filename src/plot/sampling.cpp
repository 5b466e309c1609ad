#include "plot/sampling.h"

#include <algorithm>
#include <cmath>

namespace koravin {
namespace {

// Whether f jumps by at least `step` somewhere between a and b. The half with the larger rise
// keeps at least half of it, so a continuous f soon rises less than `step`, while a jump keeps
// its height however close the two ends come.
bool Jumps(const PlotFunction& f, double a, double fa, double b, double fb, double step) {
    for (int i = 0; i < 64; ++i) {
        if (!(std::abs(fb - fa) >= step)) return false;
        const double m = a + (b - a) / 2;
        if (m == a || m == b) break;
        const std::optional<double> value = FiniteValue(f, m);
        if (!value) return true;
        if (std::abs(*value - fa) >= std::abs(fb - *value)) {
            b = m;
            fb = *value;
        } else {
            a = m;
            fa = *value;
        }
    }
    return true;
}

void ClosePiece(Pieces& pieces, Polyline& current) {
    if (current.size() >= 2) pieces.push_back(std::move(current));
    current = {};
}

}  // namespace

std::optional<double> FiniteValue(const PlotFunction& f, double x) {
    const std::optional<double> value = f(x);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

Pieces SampleCurve(const PlotFunction& f, double lo, double hi, int count, Interval yView) {
    Pieces pieces;
    Polyline current;
    double previousX = 0;
    double previous = 0;
    for (int i = 0; i < count; ++i) {
        const double x = EvenNode(lo, hi, i, count);
        const std::optional<double> value = FiniteValue(f, x);
        if (!value) {
            ClosePiece(pieces, current);
            continue;
        }
        const bool seen = !((previous > yView.hi && *value > yView.hi) || (previous < yView.lo && *value < yView.lo));
        if (!current.empty() && seen && Jumps(f, previousX, previous, x, *value, (yView.hi - yView.lo) / 4)) {
            ClosePiece(pieces, current);
        }
        current.push_back({x, *value});
        previousX = x;
        previous = *value;
    }
    ClosePiece(pieces, current);
    return pieces;
}

Pieces Decimate(std::span<const double> x, std::span<const double> y, Interval xView, int columns) {
    Pieces pieces;
    Polyline current;
    const auto add = [&](std::size_t row) { current.push_back({x[row], y[row]}); };
    const std::size_t rows = std::min(x.size(), y.size());
    if (rows <= 2 * static_cast<std::size_t>(columns)) {
        for (std::size_t row = 0; row < rows; ++row) {
            if (std::isfinite(x[row]) && std::isfinite(y[row])) {
                add(row);
            } else {
                ClosePiece(pieces, current);
            }
        }
        ClosePiece(pieces, current);
        return pieces;
    }
    const double columnWidth = (xView.hi - xView.lo) / columns;
    const auto columnOf = [&](double value) {
        return static_cast<long>(std::clamp(std::floor((value - xView.lo) / columnWidth), -1.0, static_cast<double>(columns)));
    };
    struct Bucket {
        long column;
        std::size_t first, lowest, highest, last;
    };
    std::optional<Bucket> bucket;
    const auto flush = [&] {
        if (!bucket) return;
        std::size_t kept[] = {bucket->first, bucket->lowest, bucket->highest, bucket->last};
        std::sort(std::begin(kept), std::end(kept));
        for (std::size_t k = 0; k < 4; ++k) {
            if (k == 0 || kept[k] != kept[k - 1]) add(kept[k]);
        }
        bucket.reset();
    };
    for (std::size_t row = 0; row < rows; ++row) {
        if (!std::isfinite(x[row]) || !std::isfinite(y[row])) {
            flush();
            ClosePiece(pieces, current);
            continue;
        }
        const long column = columnOf(x[row]);
        if (bucket && bucket->column == column) {
            if (y[row] < y[bucket->lowest]) bucket->lowest = row;
            if (y[row] > y[bucket->highest]) bucket->highest = row;
            bucket->last = row;
        } else {
            flush();
            bucket = Bucket{column, row, row, row, row};
        }
    }
    flush();
    ClosePiece(pieces, current);
    return pieces;
}

std::optional<std::pair<PlotPoint, PlotPoint>> StepLine(const IterateMark& mark) {
    if (mark.through.empty()) return std::nullopt;
    std::vector<PlotPoint> points{{mark.x, 0}};
    for (const IterateMark::Point& point : mark.through) points.push_back({point.x, point.y});
    for (const PlotPoint& point : points) {
        if (!std::isfinite(point.x) || !std::isfinite(point.y)) return std::nullopt;
    }
    const auto [first, last] = std::minmax_element(points.begin(), points.end(), [](PlotPoint a, PlotPoint b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
    if (mark.through.size() == 1) return std::pair(points[1], points[0]);
    return std::pair(*first, *last);
}

PictureBounds FunctionHome(const PlotFunction& f, const std::vector<IterateMark>& marks, int samples) {
    std::vector<double> xs;
    std::vector<double> ys{0};
    bool brackets = false;
    for (const IterateMark& mark : marks) {
        xs.push_back(mark.x);
        for (const IterateMark::Point& point : mark.through) {
            xs.push_back(point.x);
            if (std::isfinite(point.y)) ys.push_back(point.y);
        }
        if (mark.bracket) {
            xs.push_back(mark.bracket->first);
            xs.push_back(mark.bracket->second);
            brackets = true;
        }
    }
    const std::optional<Interval> span = Span(xs);
    const Interval xRange = span ? Widened(*span, 0.15) : Interval{-5, 5};

    std::vector<double> values;
    for (int i = 0; i < samples; ++i) {
        if (const auto value = FiniteValue(f, EvenNode(xRange.lo, xRange.hi, i, samples))) values.push_back(*value);
    }
    Interval yRange = Body(std::move(values)).value_or(Interval{0, 0});
    for (const double y : ys) {
        yRange.lo = std::min(yRange.lo, ClampToPicture(y));
        yRange.hi = std::max(yRange.hi, ClampToPicture(y));
    }
    // The brackets stack under the axis: a quarter of the height at least is kept for them there.
    if (brackets && yRange.hi > 0) yRange.lo = std::min(yRange.lo, -yRange.hi / 3);
    yRange = Widened(yRange, 0.08);
    return {xRange.lo, xRange.hi, yRange.lo, yRange.hi};
}

PictureBounds ColumnsHome(std::span<const double> x, std::span<const double> first, std::span<const double> second,
                          const PlotFunction& exact, int samples) {
    const std::optional<Interval> span = Span(std::vector<double>(x.begin(), x.end()));
    const Interval xRange = span ? Widened(*span, 0.02) : Interval{-5, 5};
    std::vector<double> values;
    for (const std::span<const double> column : {first, second}) {
        for (std::size_t row = 0; row < column.size() && row < x.size(); ++row) {
            if (std::isfinite(column[row]) && std::isfinite(x[row])) values.push_back(column[row]);
        }
    }
    if (exact) {
        for (int i = 0; i < samples; ++i) {
            if (const auto value = FiniteValue(exact, EvenNode(xRange.lo, xRange.hi, i, samples))) values.push_back(*value);
        }
    }
    const Interval yRange = Widened(Body(std::move(values)).value_or(Interval{-1, 1}), 0.08);
    return {xRange.lo, xRange.hi, yRange.lo, yRange.hi};
}

}  // namespace koravin
