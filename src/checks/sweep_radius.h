#pragma once

// The spectral radius of an iterative run's iteration matrix, from the run as a picture keeps it.

#include <optional>
#include <span>
#include <string_view>

namespace koravin {

// `method` is "Jacobi", "Gauss-Seidel" or "SOR"; `system` the augmented order x (order + 1)
// system row by row. Nothing where IterationSpectralRadius gives nothing, or the system is not
// of that size.
std::optional<double> SweepRunRadius(std::string_view method, double relaxation, int order,
                                     std::span<const double> system);

}  // namespace koravin
