#include "checks/iteration_matrix.h"

#include <cmath>

#include <Eigen/Dense>

#include "checks/iteration_eigenvalues.h"

namespace koravin {

std::optional<Eigen::MatrixXd> IterationMatrix(const Matrix& coefficients, IterativeMethod method, double relaxation) {
    const int n = coefficients.rows();
    if (n < 1 || n > kSpectralRadiusOrderLimit || coefficients.cols() < n) return std::nullopt;
    Eigen::MatrixXd a(n, n);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const double value = coefficients(i, j);
            if (!std::isfinite(value) || (i == j && value == 0.0)) return std::nullopt;
            a(i - 1, j - 1) = value;
        }
    }
    const double w = method == IterativeMethod::Relaxation ? relaxation : 1.0;
    Eigen::MatrixXd b;
    if (method == IterativeMethod::Jacobi) {
        const Eigen::VectorXd inverseDiagonal = a.diagonal().cwiseInverse();
        b = -(inverseDiagonal.asDiagonal() * a);
        b.diagonal().setZero();
    } else {
        // (D + wL)·B = (1 - w)D - wU, solved by forward substitution.
        Eigen::MatrixXd lowerPart = a.triangularView<Eigen::StrictlyLower>();
        lowerPart *= w;
        lowerPart.diagonal() = a.diagonal();
        Eigen::MatrixXd right = a.triangularView<Eigen::StrictlyUpper>();
        right *= -w;
        right.diagonal() = (1.0 - w) * a.diagonal();
        b = lowerPart.triangularView<Eigen::Lower>().solve(right);
    }
    if (!b.allFinite()) return std::nullopt;
    return b;
}

std::optional<double> IterationSpectralRadius(const Matrix& coefficients, IterativeMethod method, double relaxation) {
    const std::optional<Eigen::MatrixXd> b = IterationMatrix(coefficients, method, relaxation);
    if (!b) return std::nullopt;
    const std::optional<IterationEigenvalues> spectrum = IterationEigenvalues::Of(*b);
    if (!spectrum) return std::nullopt;
    return spectrum->radius();
}

}  // namespace koravin
