#include "checks/iteration_matrix.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>
#include <numeric>
#include <optional>
#include <random>
#include <vector>

#include <Eigen/Dense>
#include <gtest/gtest.h>

#include "checks/iteration_eigenvalues.h"

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

namespace koravin {
namespace {

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

// A = I with ones below the diagonal: D = I, L the ones, U = 0.
Matrix OnesBelowTheDiagonal(int n) {
    Matrix m(n, n + 1);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= i; ++j) m(i, j) = 1;
        m(i, n + 1) = i;
    }
    return m;
}

// Triangular B, however far from normal, has its diagonal for eigenvalues: Jacobi's B = -L is
// nilpotent, Gauss-Seidel's is 0, and relaxation's (D + wL)⁻¹(1 - w)D has 1 - w down its diagonal.
TEST(IterationEigenvalues, TriangularIterationMatricesHaveTheirDiagonalExactly) {
    const Matrix a = OnesBelowTheDiagonal(60);
    struct Case {
        IterativeMethod method;
        double w;
        double radius;
        std::optional<int> nilpotency;
    };
    for (const Case& c : {Case{IterativeMethod::Jacobi, 1, 0, 60}, Case{IterativeMethod::GaussSeidel, 1, 0, 1},
                          Case{IterativeMethod::Relaxation, 0.5, 0.5, std::nullopt},
                          Case{IterativeMethod::Relaxation, 1.5, 0.5, std::nullopt},
                          Case{IterativeMethod::Relaxation, 1.9, 0.9, std::nullopt}}) {
        SCOPED_TRACE(c.w);
        const std::optional<IterationEigenvalues> spectrum = IterationEigenvalues::Of(*IterationMatrix(a, c.method, c.w));
        ASSERT_TRUE(spectrum);
        EXPECT_TRUE(spectrum->triangular());
        EXPECT_EQ(spectrum->radius(), std::fabs(1 - c.w) * (c.method == IterativeMethod::Relaxation));
        EXPECT_EQ(spectrum->nilpotencyBound(), c.nilpotency);
        EXPECT_EQ(spectrum->uncertainty(0), kEpsilon * spectrum->radius());
        // Sixty equal eigenvalues coupled in a chain: defective, and no prediction can rest on them.
        if (c.method == IterativeMethod::Relaxation) {
            EXPECT_FALSE(spectrum->condition(0) < 1e15);
        }
    }
}

// 2 on the diagonal, 1 below it, and 1 above it in every other row: Jacobi's B is block lower
// triangular with the 2 x 2 blocks [[0, -1/2], [-1/2, 0]], whose eigenvalues ±1/2 repeat thirty
// times in a chain. An eigenvalue solver on the whole scatters such clusters by about ε^(1/30)
// (it gave ρ ≈ 0.92); the blocks keep them.
TEST(IterationEigenvalues, BlockTriangularMatricesHaveTheirBlocksEigenvalues) {
    const int n = 60;
    Matrix a(n, n + 1);
    for (int i = 1; i <= n; ++i) {
        a(i, i) = 2;
        for (int j = 1; j < i; ++j) a(i, j) = 1;
        if (i % 2 == 1) a(i, i + 1) = 1;
    }
    const std::optional<IterationEigenvalues> spectrum = IterationEigenvalues::Of(*IterationMatrix(a, IterativeMethod::Jacobi, 1));
    ASSERT_TRUE(spectrum);
    EXPECT_FALSE(spectrum->triangular());
    EXPECT_NEAR(spectrum->radius(), 0.5, 1e-15);
}

// A similarity by powers of two up to 2⁴⁰ leaves the eigenvalues and makes the norm huge;
// balancing undoes it, and the radius stays the Toeplitz closed form.
TEST(IterationEigenvalues, BalancingKeepsBadlyScaledMatricesAccurate) {
    const int n = 12;
    Matrix a(n, n + 1);
    for (int i = 1; i <= n; ++i) {
        const double d = std::ldexp(1.0, 8 * (i % 6) - 20);
        a(i, i) = 3;
        if (i > 1) a(i, i - 1) = -1 * d / std::ldexp(1.0, 8 * ((i - 1) % 6) - 20);
        if (i < n) a(i, i + 1) = -2 * d / std::ldexp(1.0, 8 * ((i + 1) % 6) - 20);
    }
    const double expected = 2 * std::sqrt(2.0) / 3 * std::cos(std::numbers::pi / (n + 1));
    EXPECT_NEAR(*IterationSpectralRadius(a, IterativeMethod::Jacobi, 1), expected, 1e-13);
}

// κ(λ) = ‖x‖·‖y‖/|yᴴx| in closed form: 1 for a normal B, √(1 + (c/(a - d))²) for the larger
// eigenvalue of the triangular [[a, c], [0, d]].
TEST(IterationEigenvalues, ConditionNumbersMatchTheClosedForm) {
    Eigen::MatrixXd rotation(2, 2);
    rotation << 0, 0.7, -0.7, 0;
    const std::optional<IterationEigenvalues> normal = IterationEigenvalues::Of(rotation);
    ASSERT_TRUE(normal);
    EXPECT_NEAR(normal->radius(), 0.7, 1e-15);
    EXPECT_NEAR(normal->condition(0), 1, 1e-14);
    EXPECT_NEAR(normal->condition(1), 1, 1e-14);
    for (const double c : {0.0, 1.0, 1e3, 1e6}) {
        Eigen::MatrixXd triangular(2, 2);
        triangular << 0.5, c, 0, 0.4;
        const std::optional<IterationEigenvalues> spectrum = IterationEigenvalues::Of(triangular);
        ASSERT_TRUE(spectrum);
        const std::size_t larger = spectrum->eigenvalue(0).real() == 0.5 ? 0 : 1;
        EXPECT_NEAR(spectrum->condition(larger) / std::sqrt(1 + (c / 0.1) * (c / 0.1)), 1, 1e-12) << c;
    }
}

}  // namespace
}  // namespace koravin

namespace koravin {
namespace {

// Block upper triangular matrices with normal diagonal blocks of known eigenvalues (a value, a
// rotation-and-scale pair a ± bi, or Q·diag(λ)·Qᵀ), random couplings above, and the unknowns
// shuffled: the eigenvalues come back to rounding, however strong the couplings.
TEST(IterationEigenvalues, ShuffledBlockTriangularMatricesGiveTheirBlocksEigenvalues) {
    std::mt19937 random(25);
    std::uniform_real_distribution<double> uniform(-1, 1);
    for (int trial = 0; trial < 60; ++trial) {
        SCOPED_TRACE(trial);
        std::vector<Eigen::MatrixXd> blocks;
        std::vector<std::complex<double>> expected;
        const int count = 1 + trial % 7;
        for (int k = 0; k < count; ++k) {
            const int kind = static_cast<int>(random() % 3);
            if (kind == 0) {
                blocks.push_back(Eigen::MatrixXd::Constant(1, 1, uniform(random)));
                expected.emplace_back(blocks.back()(0, 0));
            } else {
                const int m = kind == 1 ? 2 : 2 + static_cast<int>(random() % 4);
                Eigen::MatrixXd inner = Eigen::MatrixXd::Zero(m, m);
                if (kind == 1) {
                    const double a = uniform(random), b = 0.1 + std::fabs(uniform(random));
                    inner << a, -b, b, a;
                    expected.insert(expected.end(), {{a, b}, {a, -b}});
                } else {
                    for (int i = 0; i < m; ++i) {
                        inner(i, i) = uniform(random);
                        expected.emplace_back(inner(i, i));
                    }
                }
                const Eigen::MatrixXd q = Eigen::HouseholderQR<Eigen::MatrixXd>(Eigen::MatrixXd::Random(m, m)).householderQ();
                blocks.push_back(q * inner * q.transpose());
            }
        }
        Eigen::Index n = 0;
        for (const auto& block : blocks) n += block.rows();
        Eigen::MatrixXd b = Eigen::MatrixXd::Zero(n, n);
        Eigen::Index at = 0;
        for (const auto& block : blocks) {
            b.block(at, at, block.rows(), block.rows()) = block;
            for (Eigen::Index i = at; i < at + block.rows(); ++i) {
                for (Eigen::Index j = at + block.rows(); j < n; ++j) b(i, j) = random() % 2 ? 1e3 * uniform(random) : 0.0;
            }
            at += block.rows();
        }
        std::vector<Eigen::Index> shuffle(static_cast<std::size_t>(n));
        std::iota(shuffle.begin(), shuffle.end(), 0);
        std::shuffle(shuffle.begin(), shuffle.end(), random);
        Eigen::MatrixXd shuffled(n, n);
        for (Eigen::Index i = 0; i < n; ++i) {
            for (Eigen::Index j = 0; j < n; ++j) shuffled(i, j) = b(shuffle[i], shuffle[j]);
        }

        const std::optional<IterationEigenvalues> spectrum = IterationEigenvalues::Of(shuffled);
        ASSERT_TRUE(spectrum);
        ASSERT_EQ(spectrum->size(), expected.size());
        double radius = 0;
        for (const auto& lambda : expected) radius = std::max(radius, std::abs(lambda));
        EXPECT_NEAR(spectrum->radius(), radius, 1e-13);
        for (std::size_t k = 0; k < spectrum->size(); ++k) {
            double nearest = INFINITY;
            for (const auto& lambda : expected) nearest = std::min(nearest, std::abs(spectrum->eigenvalue(k) - lambda));
            EXPECT_LT(nearest, 1e-13) << spectrum->eigenvalue(k);
        }
    }
}

}  // namespace
}  // namespace koravin
