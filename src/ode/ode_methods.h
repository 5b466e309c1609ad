#pragma once

// The two columns of each differential-equation window, computed on any grid: the commands run
// them on the grid of the fields, the checks again on grids two and four times as fine.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "command/interaction.h"
#include "expr/expression.h"

namespace koravin {

// A stop request is looked at after this many steps of a method.
inline constexpr std::size_t kStepsBetweenStopChecks = 1024;

struct OdeSolution {
    std::vector<double> first;
    std::vector<double> second;
};

// Explicit Euler beside the Euler predictor-corrector, from y0 at x[0]; h is the step.
OdeSolution EulerColumns(std::span<const double> x, double h, const CompiledExpression& f, double y0);
// Third- and fourth-order Runge-Kutta, from y0 at x[0].
OdeSolution RungeKuttaColumns(std::span<const double> x, double h, const CompiledExpression& f, double y0);
using OneStepMethod = OdeSolution (*)(std::span<const double> x, double h, const CompiledExpression& f, double y0);

// A one-step window's command: the fields and the initial value read, the method run on the
// grid, the table written under the two headings.
void RunOneStepWindow(CommandContext& context, OneStepMethod method, std::string_view firstHeading,
                      std::string_view secondHeading);

// Adams-Bashforth beside Adams predictor-corrector; both columns begin with starts[k] at x[k]
// for the first min(4, nodes) nodes.
OdeSolution AdamsColumns(std::span<const double> x, double h, const CompiledExpression& f,
                         std::span<const double> starts);

}  // namespace koravin
