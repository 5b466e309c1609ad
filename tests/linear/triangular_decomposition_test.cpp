// The decompositions keep L by columns and run their sums along memory; these tests hold them
// to the plain row-by-row formulas, bit for bit, on many generated matrices.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "linear/triangular_common.h"
#include "reference/triangular_reference.h"

namespace koravin {
namespace {

std::string Bits(double value) {
    // Every NaN is the same failure to a reader of the report.
    if (std::isnan(value)) return "NaN";
    return std::to_string(std::bit_cast<std::uint64_t>(value));
}

void ExpectSameBits(const Matrix& expected, const Matrix& actual, const std::string& what) {
    ASSERT_EQ(expected.rows(), actual.rows()) << what;
    ASSERT_EQ(expected.cols(), actual.cols()) << what;
    for (int i = 1; i <= expected.rows(); ++i) {
        for (int j = 1; j <= expected.cols(); ++j) {
            ASSERT_EQ(Bits(expected(i, j)), Bits(actual(i, j))) << what << " (" << i << ", " << j << ")";
        }
    }
}

void ExpectSameBits(const Vector& expected, const Vector& actual, const std::string& what) {
    ASSERT_EQ(expected.size(), actual.size()) << what;
    for (int i = expected.lower(); i <= expected.upper(); ++i) {
        ASSERT_EQ(Bits(expected(i)), Bits(actual(i))) << what << " (" << i << ")";
    }
}

// Small integers give exact zero pivots and tied candidates; reals give rounding in every sum;
// now and then an infinity or a NaN.
class MatrixMaker {
public:
    explicit MatrixMaker(unsigned seed) : engine_(seed) {}

    Matrix Augmented(int n) {
        const int kind = Pick(4);
        Matrix m(n, n + 1);
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n + 1; ++j) m(i, j) = Entry(kind);
        }
        return m;
    }

    // Symmetric most of the time (sometimes positive definite), otherwise anything.
    Matrix Symmetric(int n) {
        Matrix m = Augmented(n);
        const int shape = Pick(3);
        if (shape == 2) return m;
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j < i; ++j) m(j, i) = m(i, j);
            if (shape == 1) m(i, i) = std::fabs(m(i, i)) + 4.0 * n;
        }
        return m;
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(engine_); }

private:
    double Entry(int kind) {
        if (Pick(200) == 0) {
            const double specials[] = {std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(),
                                       std::numeric_limits<double>::quiet_NaN(), -0.0};
            return specials[Pick(4)];
        }
        switch (kind) {
            case 0: return Pick(7) - 3;
            case 1: return Pick(3) - 1;
            default: return std::uniform_real_distribution<double>(-10.0, 10.0)(engine_);
        }
    }

    std::mt19937 engine_;
};

constexpr int kCases = 3000;

int Order(MatrixMaker& maker) { return maker.Pick(10) == 0 ? 20 + maker.Pick(30) : 1 + maker.Pick(9); }

TEST(DecompositionsAgreeWithThePlainFormulas, Doolittle) {
    MatrixMaker maker(11);
    int stopped = 0;
    for (int c = 0; c < kCases; ++c) {
        const Matrix a = maker.Augmented(Order(maker));
        const auto expected = reference::Doolittle(a);
        const auto actual = DoolittleDecomposition(a);
        ASSERT_EQ(expected.has_value(), actual.has_value()) << "case " << c;
        if (!expected) {
            ++stopped;
            continue;
        }
        ExpectSameBits(expected->l, actual->l, "L, case " + std::to_string(c));
        ExpectSameBits(expected->u, actual->u, "U, case " + std::to_string(c));
    }
    EXPECT_GT(stopped, kCases / 20);  // the zero-pivot stop was exercised
}

TEST(DecompositionsAgreeWithThePlainFormulas, ColumnPivot) {
    MatrixMaker maker(12);
    for (int c = 0; c < kCases; ++c) {
        const Matrix a = maker.Augmented(Order(maker));
        const auto expected = reference::ColumnPivot(a);
        const auto actual = ColumnPivotDecomposition(a);
        ExpectSameBits(expected.w, actual.w, "W, case " + std::to_string(c));
        ExpectSameBits(expected.l, actual.l, "L, case " + std::to_string(c));
        ExpectSameBits(expected.u, actual.u, "U, case " + std::to_string(c));
    }
}

TEST(DecompositionsAgreeWithThePlainFormulas, SquareRoot) {
    MatrixMaker maker(13);
    for (int c = 0; c < kCases; ++c) {
        const Matrix a = maker.Symmetric(Order(maker));
        ExpectSameBits(reference::SquareRoot(a), SquareRootFactor(a), "L, case " + std::to_string(c));
    }
}

TEST(DecompositionsAgreeWithThePlainFormulas, RootFree) {
    MatrixMaker maker(14);
    int stopped = 0;
    for (int c = 0; c < kCases; ++c) {
        const Matrix a = maker.Symmetric(Order(maker));
        const auto expected = reference::RootFree(a);
        const auto actual = RootFreeDecomposition(a);
        ASSERT_EQ(expected.has_value(), actual.has_value()) << "case " << c;
        if (!expected) {
            ++stopped;
            continue;
        }
        ExpectSameBits(expected->l, actual->l, "L, case " + std::to_string(c));
        ExpectSameBits(expected->d, actual->d, "D, case " + std::to_string(c));
    }
    EXPECT_GT(stopped, kCases / 20);
}

}  // namespace
}  // namespace koravin
