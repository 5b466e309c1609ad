#pragma once

// What the direct linear solvers leave for the checks beside their reports.

#include <span>

#include "command/interaction.h"
#include "matrix/matrix.h"

namespace koravin {

// The augmented n x (n + 1) system as read, and the solution as the method computed it and as the
// report writes it, rounded to `places`: x(i) belongs to the unknown numbered unknowns[i - 1].
void RecordSolvedSystem(const CommandContext& context, const Matrix& augmented, const Vector& x,
                        std::span<const int> unknowns, int places);

// The same for a solution in the typed order.
void RecordSolvedSystem(const CommandContext& context, const Matrix& augmented, const Vector& x, int places);

// The n x (n + 1) system as read.
void RecordSystem(const CommandContext& context, const Matrix& augmented);

}  // namespace koravin
