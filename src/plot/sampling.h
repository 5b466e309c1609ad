#pragma once

// Curves for a view of given width in pixels: a function sampled with its gaps and poles left
// open, the rows of a table thinned to the pixels, the lines of Newton's and the secant method's
// steps, and the views that show them whole.

#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "command/interaction.h"
#include "plot/plot_geometry.h"

namespace koravin {

// A function of x; nothing where it has no value.
using PlotFunction = std::function<std::optional<double>(double)>;

// f(x) when it is a finite number.
std::optional<double> FiniteValue(const PlotFunction& f, double x);

// f at `count` evenly spaced points of [lo, hi], as pieces: a point without a finite value ends
// one, and so does a jump of more than a quarter of the view's height between two neighbours
// (a pole such as tan's or 1/x's, or a step), which a line would draw as a wall across the view.
Pieces SampleCurve(const PlotFunction& f, double lo, double hi, int count, Interval yView);

// The rows as pieces for a view `columns` pixels wide: where several rows fall into one pixel
// column, the first, lowest, highest and last of them stand for all, which keeps the shape. Rows
// left and right of the view each share one column. A value that is not finite ends a piece.
Pieces Decimate(std::span<const double> x, std::span<const double> y, Interval xView, int columns);

// The line a step of Newton's method or of the secant method draws: from its points on the curve
// to the new iterate on the x axis, as one segment that holds all of them. A tangent runs from
// its point on the curve to the iterate.
std::optional<std::pair<PlotPoint, PlotPoint>> StepLine(const IterateMark& mark);

// The view of f with a run's steps: every iterate, bracket and curve point, and the body of f
// over them (`samples` values); [-5, 5] without marks. A bracket keeps room under the axis.
PictureBounds FunctionHome(const PlotFunction& f, const std::vector<IterateMark>& marks, int samples);

// The view of a table's two columns against x, with the exact solution (`samples` values) when
// there is one.
PictureBounds ColumnsHome(std::span<const double> x, std::span<const double> first, std::span<const double> second,
                          const PlotFunction& exact, int samples);

}  // namespace koravin
