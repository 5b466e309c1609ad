#pragma once

// The linear system a run recorded, viewed in place, and what its checks compute from it.

#include <optional>
#include <span>

#include <Eigen/Core>

#include "command/run_facts.h"

namespace koravin {

using RowMajorMatrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

// The recorded augmented system [A b].
inline Eigen::Map<const RowMajorMatrix> Augmented(const RunFacts& facts) {
    return {facts.system.data(), facts.order, facts.order + 1};
}

template <typename Derived>
double InfinityNorm(const Eigen::MatrixBase<Derived>& m) {
    return m.rows() == 0 ? 0.0 : m.cwiseAbs().rowwise().sum().maxCoeff();
}

struct Residual {
    std::optional<double> norm;      // ‖b - A·x‖∞
    std::optional<double> relative;  // ‖b - A·x‖∞ / (‖A‖∞·‖x‖∞); 0 when b = 0 and x = 0
};

// The residual of x in the recorded system; nothing where an entry of A, b or x is not finite or
// the sums overflow.
Residual ResidualOf(const RunFacts& facts, std::span<const double> x);

}  // namespace koravin
