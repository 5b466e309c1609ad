#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "matrix/matrix_routines.h"
#include "numbers/number_conversions.h"
#include "reference/gauss_reference.h"

namespace koravin {
namespace {

void ExpectSameBits(const Matrix& actual, const Matrix& expected, int places) {
    for (int i = 1; i <= actual.rows(); ++i) {
        for (int j = 1; j <= actual.cols(); ++j) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(actual(i, j)), std::bit_cast<std::uint64_t>(expected(i, j)))
                << "(" << i << ", " << j << ") " << actual(i, j) << " vs " << expected(i, j) << ", places " << places;
        }
    }
}

// Entries with few decimals meet exact halves often once rounded; some are 0 to make zero pivots.
Matrix Generated(std::mt19937& random, int n) {
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> digits(-999, 999);
    std::uniform_real_distribution<double> real(-10, 10);
    Matrix m(n, n + 1);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n + 1; ++j) {
            const int k = kind(random);
            m(i, j) = k == 0 ? 0 : k < 5 ? digits(random) / 8.0 : k < 8 ? real(random) : digits(random) / 1e3;
        }
    }
    return m;
}

TEST(Elimination, MatchesThePlainEliminationBitForBit) {
    std::mt19937 random(1207);
    std::uniform_int_distribution<int> order(1, 23);
    for (int round = 0; round < 400; ++round) {
        const int n = order(random);
        const int places = 2 + round % 16;
        const bool pivoting = round % 2 == 1;
        const Matrix a = Generated(random, n);
        Matrix expected = a;
        reference::PlainElimination(expected, places, pivoting);
        Matrix actual = a;
        const FixedRounding rounding(places);
        for (int k = 1; k <= n; ++k) {
            if (pivoting) BringPivotRowUp(actual, k, n, n + 1);
            EliminateColumnBelow(actual, k, n, n + 1, rounding);
        }
        ExpectSameBits(actual, expected, places);
    }
}

TEST(Elimination, RowUpdateMeetsHalvesAndNonFiniteValues) {
    // Multiplier 0 leaves the row's own values to be rounded: decimal halves in every lane position.
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> values = {0.125, 0.375, -0.625, 2.5e-3, 1.0 / 3, inf, -inf, std::nan(""),
                                        1e300, -0.0, 0.0625, 4503599627370497.0, 7.85, -7.85, 0.0005};
    for (int places = 0; places <= 17; ++places) {
        for (std::size_t offset = 0; offset < values.size(); ++offset) {
            std::vector<double> target(values.begin() + static_cast<std::ptrdiff_t>(offset), values.end());
            target.insert(target.end(), values.begin(), values.begin() + static_cast<std::ptrdiff_t>(offset));
            const std::vector<double> pivot(target.size(), 1.5);
            std::vector<double> expected = target;
            for (std::size_t j = 0; j < expected.size(); ++j) expected[j] = RoundDigits(expected[j] - 0.0 * pivot[j], places);
            SubtractScaledRow(target.data(), pivot.data(), 0.0, static_cast<int>(target.size()), FixedRounding(places));
            for (std::size_t j = 0; j < target.size(); ++j) {
                ASSERT_EQ(std::bit_cast<std::uint64_t>(target[j]), std::bit_cast<std::uint64_t>(expected[j]))
                    << "places " << places << ", offset " << offset << ", entry " << j;
            }
        }
    }
}

}  // namespace
}  // namespace koravin
