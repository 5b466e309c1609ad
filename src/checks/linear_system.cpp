#include "checks/linear_system.h"

#include "checks/check_families.h"

namespace koravin {

Residual ResidualOf(const RunFacts& facts, std::span<const double> answer) {
    const auto a = Augmented(facts).leftCols(facts.order);
    const auto b = Augmented(facts).col(facts.order);
    const Eigen::Map<const Eigen::VectorXd> x(answer.data(), static_cast<Eigen::Index>(answer.size()));
    // The largest entry of a vector with a NaN in it is not defined: such a residual has no value.
    if (!a.allFinite() || !b.allFinite() || !x.allFinite()) return {};
    const double norm = (b - a * x).lpNorm<Eigen::Infinity>();
    if (!std::isfinite(norm)) return {};
    const double scale = InfinityNorm(a) * x.lpNorm<Eigen::Infinity>();
    // x = 0 solves b = 0 exactly; the quotient 0/0 would hide that.
    const double relative = norm == 0 ? 0.0 : norm / scale;
    return {norm, FiniteOrNothing(relative)};
}

}  // namespace koravin
