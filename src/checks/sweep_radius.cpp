#include "checks/sweep_radius.h"

#include <algorithm>

#include "checks/iteration_matrix.h"

namespace koravin {

std::optional<double> SweepRunRadius(std::string_view method, double relaxation, int order,
                                     std::span<const double> system) {
    if (order < 1 || order > kSpectralRadiusOrderLimit ||
        system.size() != static_cast<std::size_t>(order) * static_cast<std::size_t>(order + 1)) {
        return std::nullopt;
    }
    Matrix augmented(order, order + 1);
    std::copy(system.begin(), system.end(), augmented.row(1));
    const IterativeMethod iteration = method == "Jacobi"         ? IterativeMethod::Jacobi
                                      : method == "Gauss-Seidel" ? IterativeMethod::GaussSeidel
                                                                 : IterativeMethod::Relaxation;
    return IterationSpectralRadius(augmented, iteration, relaxation);
}

}  // namespace koravin
