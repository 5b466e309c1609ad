#pragma once

// The checks of each family of commands, each adding its values and lines to the results.

#include <string_view>

#include "checks/check_results.h"
#include "command/run_facts.h"

namespace koravin {

// Above this order κ∞ is estimated from an LU instead of computed from the inverse.
inline constexpr int kExactConditionOrderLimit = 500;

// Gauss elimination and the decompositions that solve Ax = b; `places` are the decimal places
// the report rounded to.
void AddDirectSolverChecks(const RunFacts& facts, int places, CheckResults& results);
// The inverse by pivoted elimination.
void AddInverseChecks(const RunFacts& facts, int places, CheckResults& results);
// The determinant by pivoted elimination.
void AddDeterminantChecks(const RunFacts& facts, CheckResults& results);
// Jacobi, Gauss-Seidel and relaxation.
void AddIterativeChecks(const RunFacts& facts, CheckResults& results);

// The nonlinear methods, by command name; f is the editor's function as typed.
void AddNonlinearChecks(std::string_view command, const RunFacts& facts, std::string_view f, CheckResults& results);
// Their keys for a run with nothing to check: every value null but the theoretical order.
void AddNonlinearKeys(std::string_view command, CheckResults& results);

// The differential-equation windows, by command name; exact is the solution y(x) as typed, or "".
void AddOdeChecks(std::string_view command, const RunFacts& facts, std::string_view exact, CheckResults& results);

}  // namespace koravin
