#include "checks/iteration_matrix.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

namespace koravin {
namespace {

// Tridiagonal Toeplitz: a on the diagonal, b above, c below. Jacobi's eigenvalues are
// 2√(bc)/a·cos(kπ/(n+1)); Gauss-Seidel's radius is the square of Jacobi's, and relaxation's
// eigenvalues λ solve (λ + w - 1)² = λw²μ² for each Jacobi eigenvalue μ.
Matrix Toeplitz(int n, double a, double b, double c) {
    Matrix m(n, n + 1);
    for (int i = 1; i <= n; ++i) {
        m(i, i) = a;
        if (i < n) m(i, i + 1) = b;
        if (i > 1) m(i, i - 1) = c;
        m(i, n + 1) = 1;
    }
    return m;
}

double JacobiRadius(int n, double a, double b, double c) {
    return 2 * std::sqrt(b * c) / a * std::cos(std::numbers::pi / (n + 1));
}

// The largest |λ| over the roots of λ² + (2(w - 1) - w²μ²)λ + (w - 1)² = 0 for every μ.
double RelaxationRadius(double mu, double w) {
    const double p = 2 * (w - 1) - w * w * mu * mu;
    const double q = (w - 1) * (w - 1);
    const double discriminant = p * p - 4 * q;
    if (discriminant < 0) return std::sqrt(q);  // complex pair: |λ|² = q
    return std::max(std::fabs((-p + std::sqrt(discriminant)) / 2), std::fabs((-p - std::sqrt(discriminant)) / 2));
}

TEST(IterationSpectralRadius, TridiagonalToeplitzMatchesTheClosedForm) {
    struct Case { int n; double a, b, c, w; };
    for (const Case& t : {Case{5, 4, -1, -1, 1.2}, Case{10, 2, -1, -1, 1.5}, Case{8, 3, 1, 2, 0.8},
                          Case{30, 2.5, -1, -1, 1.7}}) {
        SCOPED_TRACE(t.n);
        const Matrix m = Toeplitz(t.n, t.a, t.b, t.c);
        const double rhoJ = JacobiRadius(t.n, t.a, t.b, t.c);
        EXPECT_NEAR(*IterationSpectralRadius(m, IterativeMethod::Jacobi, 1), rhoJ, 1e-9);
        EXPECT_NEAR(*IterationSpectralRadius(m, IterativeMethod::GaussSeidel, 1), rhoJ * rhoJ, 1e-9);
        double rhoSor = 0;
        for (int k = 1; k <= t.n; ++k) {
            const double mu = 2 * std::sqrt(t.b * t.c) / t.a * std::cos(k * std::numbers::pi / (t.n + 1));
            rhoSor = std::max(rhoSor, RelaxationRadius(mu, t.w));
        }
        // A defective eigenvalue at the optimal factor makes the numerical one less exact.
        EXPECT_NEAR(*IterationSpectralRadius(m, IterativeMethod::Relaxation, t.w), rhoSor, 1e-6);
    }
}

TEST(IterationSpectralRadius, RelaxationWithFactorOneIsGaussSeidel) {
    const Matrix m = Toeplitz(7, 3, -1, -2);
    EXPECT_DOUBLE_EQ(*IterationSpectralRadius(m, IterativeMethod::Relaxation, 1),
                     *IterationSpectralRadius(m, IterativeMethod::GaussSeidel, 1));
}

TEST(IterationSpectralRadius, LeftOutWhereItCannotBeComputed) {
    Matrix zeroDiagonal = Toeplitz(3, 2, 1, 1);
    zeroDiagonal(2, 2) = 0;
    EXPECT_FALSE(IterationSpectralRadius(zeroDiagonal, IterativeMethod::Jacobi, 1));
    Matrix notFinite = Toeplitz(3, 2, 1, 1);
    notFinite(1, 3) = INFINITY;
    EXPECT_FALSE(IterationSpectralRadius(notFinite, IterativeMethod::GaussSeidel, 1));
    EXPECT_FALSE(IterationSpectralRadius(Toeplitz(kSpectralRadiusOrderLimit + 1, 4, 1, 1), IterativeMethod::Jacobi, 1));
    EXPECT_TRUE(IterationSpectralRadius(Toeplitz(kSpectralRadiusOrderLimit, 4, 1, 1), IterativeMethod::Jacobi, 1));
}

}  // namespace
}  // namespace koravin
