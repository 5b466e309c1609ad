#pragma once

// Pictures of how fast an iteration arrives: the size of each step on a logarithmic axis, with
// the line C·ρᵏ that a spectral radius ρ predicts, and the cobweb of a fixed-point iteration,
// the staircase between y = φ(x) and y = x.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "command/interaction.h"
#include "plot/plot_geometry.h"
#include "plot/sampling.h"

namespace koravin {

// One run's steps on a convergence picture: (k, size of step k), and the spectral radius of its
// iteration when it is known.
struct DecayCurve {
    std::string label;
    std::vector<PlotPoint> sizes;
    std::optional<double> radius;
};

// How many runs one picture keeps before the oldest goes.
inline constexpr std::size_t kMostDecayCurves = 6;

// (k, |x_k - x_(k-1)|) for the marks in the order of their numbers.
std::vector<PlotPoint> StepSizes(const std::vector<IterateMark>& marks);

// (k, the change of sweep k) for k = 1, 2, ...
std::vector<PlotPoint> SweepSizes(std::span<const double> changes);

// The sizes as (k, log10 size); a size that is zero or not finite leaves a gap.
Pieces LogPieces(const std::vector<PlotPoint>& sizes);
// The same points, without the gaps: a lone point between two gaps is one of them.
Polyline LogPoints(const std::vector<PlotPoint>& sizes);

// log10(C·ρᵏ) from the first step of a finite positive size to the last step, C chosen so that
// the line starts at that step's size. Nothing for a radius that is not positive and finite, or
// for fewer than two steps.
std::optional<Polyline> PredictedLine(const std::vector<PlotPoint>& sizes, std::optional<double> radius);

// The view of the curves on their logarithmic axis, k from 0 on.
PictureBounds DecayHome(const std::vector<DecayCurve>& curves);

// `curve` added to the kept ones, replacing a run of the same label, the oldest going beyond
// kMostDecayCurves.
void KeepCurve(std::vector<DecayCurve>& kept, DecayCurve curve);

// The legend of a sweep run: "Jacobi ρ=0.5", "SOR ω=1.2 ρ=0.3"; the method alone when the radius
// is unknown. The radius has 4 significant digits.
std::string SweepLabel(std::string_view method, double relaxation, std::optional<double> radius);

// The path of x_(k+1) = φ(x_k) through the marks in the order of their numbers: from (x_k, x_k)
// up or down to (x_k, φ(x_k)), across to y = x at (φ(x_k), φ(x_k)), and along y = x to
// (x_(k+1), x_(k+1)) where an accelerated step put the next iterate elsewhere. It ends at the
// last mark, or where φ or an iterate has no finite value.
Polyline Staircase(const PlotFunction& phi, const std::vector<IterateMark>& marks);

// The square view around the iterates and their values of φ, the same on both axes.
PictureBounds CobwebHome(const PlotFunction& phi, const std::vector<IterateMark>& marks);

}  // namespace koravin
