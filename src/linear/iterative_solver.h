#pragma once

// What the Jacobi, Gauss-Seidel and relaxation commands share: their prompts, the iteration
// with its stopping test and sweep limit, the failure messages and the report. They differ only
// in the sweep and the closing line.

#include <string_view>
#include <vector>

#include "command/interaction.h"
#include "matrix/matrix.h"

namespace koravin {

enum class IterativeMethod { Jacobi, GaussSeidel, Relaxation };

inline constexpr int kSweepLimit = 1000;

struct IterationResult {
    enum class Outcome { Converged, ZeroDiagonal, NoConvergence };
    Outcome outcome;
    int sweeps;  // sweeps made (the count the report gives when converged)
    Vector x;    // the last iterate
    std::vector<double> changes;  // per sweep, the largest change of an entry of the iterate
};

// Iterates on the n x (n + 1) augmented system from the initial vector x0 (1..n) until no entry
// changes by more than `tolerance`. `relaxation` is the factor w; Jacobi and Gauss-Seidel use 1.
IterationResult IterateLinearSystem(const Matrix& augmented, Vector x0, double tolerance, double relaxation,
                                    IterativeMethod method);

// The whole command: prompts, iteration, messages and report ending with `closingLine`.
void RunIterativeCommand(CommandContext& context, IterativeMethod method, std::string_view closingLine);

}  // namespace koravin
