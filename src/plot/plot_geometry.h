#pragma once

// The geometry of a picture in the units of its axes: points, curves cut into pieces where they
// have a gap, intervals with room around them, and cutting a curve to the view.

#include <optional>
#include <utility>
#include <vector>

namespace koravin {

struct PlotPoint {
    double x = 0;
    double y = 0;
    bool operator==(const PlotPoint&) const = default;
};

using Polyline = std::vector<PlotPoint>;
// A curve as the pieces between its gaps; each piece has two points at least.
using Pieces = std::vector<Polyline>;

struct Interval {
    double lo = 0;
    double hi = 0;
};

// What a picture shows, in the units of its axes.
struct PictureBounds {
    double left = 0;
    double right = 0;
    double bottom = 0;
    double top = 0;
};

// Beyond this a value lies off every picture; it keeps the arithmetic of a view finite.
inline constexpr double kLargestPlotValue = 1e300;

double ClampToPicture(double value);

// The i-th of `count` evenly spaced points from lo to hi, the ends exact.
double EvenNode(double lo, double hi, int i, int count);

// The body of the values: from the 5th to the 95th percentile, widened by that spread but never
// past the extremes, so a few samples beside a pole do not flatten everything else.
std::optional<Interval> Body(std::vector<double> values);

// An interval with room to show it: a point becomes an interval around it, then a margin of
// `fraction` of the width goes on either side.
Interval Widened(Interval range, double fraction);

// The smallest interval holding every finite value, clamped to the picture; nothing without one.
std::optional<Interval> Span(const std::vector<double>& values);

// The part of the segment from a to b inside box (Liang-Barsky); nothing when none is. The ends
// that lie inside come back exactly as given.
std::optional<std::pair<PlotPoint, PlotPoint>> Clipped(PlotPoint a, PlotPoint b, const PictureBounds& box);

// The pieces cut to the view, so that nothing is drawn outside it even where the painter does not
// clip (SVG has no clipping). A piece that leaves the view and comes back becomes two.
Pieces Fitted(const Pieces& pieces, const PictureBounds& view);

// A view that can be drawn: finite, ordered, and not narrower than the doubles can tell apart.
PictureBounds SaneBounds(PictureBounds bounds);

}  // namespace koravin
