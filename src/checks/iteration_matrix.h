#pragma once

// The iteration matrix B of Jacobi, Gauss-Seidel and relaxation, x(k+1) = B·x(k) + c, and its
// spectral radius ρ(B): the factor by which the error of an iterate shrinks per sweep in the
// long run. The iteration converges from every start exactly when ρ(B) < 1.

#include <optional>

#include <Eigen/Core>

#include "linear/iterative_solver.h"
#include "matrix/matrix.h"

namespace koravin {

// Above this order the eigenvalues cost more than the command itself; the radius is left out.
inline constexpr int kSpectralRadiusOrderLimit = 500;

// With A = D + L + U (diagonal, strictly lower and strictly upper parts) and factor w:
//   Jacobi        B = -D⁻¹(L + U)
//   Gauss-Seidel  B = -(D + wL)⁻¹U with w = 1
//   relaxation    B = (D + wL)⁻¹((1 - w)D - wU)
// `coefficients` is the n x n matrix A or the augmented n x (n + 1) system (its last column is
// ignored). Empty when a diagonal entry is zero or not finite, when an entry of A or B is not
// finite, or when n is over the limit.
std::optional<Eigen::MatrixXd> IterationMatrix(const Matrix& coefficients, IterativeMethod method, double relaxation);

// ρ(B) of that matrix (see IterationEigenvalues); empty where B is.
std::optional<double> IterationSpectralRadius(const Matrix& coefficients, IterativeMethod method, double relaxation);

}  // namespace koravin
