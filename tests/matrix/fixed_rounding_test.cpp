#include "matrix/fixed_rounding.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace koravin {
namespace {

std::vector<double> GeneratedValues(std::mt19937_64& random) {
    std::vector<double> values = {0.0, -0.0, 0.5, -0.5, 1.5, 2.5, -2.5, 0.125, 0.375, 1e-300, 4.5e15, 0x1p52,
                                  -0x1p52, 0x1p53, 1e300, -1e300, std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::denorm_min(), 0.6666666666666666, 1.0 / 3};
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::uniform_int_distribution<long long> integer(-99999999, 99999999);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(std::bit_cast<double>(bits(random)));
        values.push_back(std::ldexp(unit(random), exponent(random)));
        // Decimal halves and their neighbours: where the rounding of x * 10^k meets a tie.
        const double half = (static_cast<double>(integer(random)) + 0.5) / std::pow(10.0, exponent(random) % 9);
        values.push_back(half);
        values.push_back(std::nextafter(half, 0.0));
        values.push_back(std::nextafter(half, 1e300));
        // Differences as the eliminations make them.
        values.push_back(unit(random) * 100 - (unit(random) * 3) * (unit(random) * 7));
    }
    return values;
}

TEST(FixedRounding, GivesRoundDigitsBitForBit) {
    std::mt19937_64 random(20261207);
    const std::vector<double> values = GeneratedValues(random);
    for (int places = -1; places <= 24; ++places) {
        const FixedRounding round(places);
        for (const double x : values) {
            const double expected = RoundDigits(x, places);
            const double actual = round(x);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected))
                << "x = " << x << " (bits " << std::bit_cast<std::uint64_t>(x) << "), places " << places;
        }
    }
}

TEST(FixedRounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(FixedRounding(0)(2.5), 2.0);
    EXPECT_EQ(FixedRounding(0)(-3.5), -4.0);
    EXPECT_EQ(FixedRounding(2)(0.125), 0.12);
    EXPECT_EQ(FixedRounding(7)(2 - 4.0 / 3), 0.6666667);
    EXPECT_TRUE(std::signbit(FixedRounding(3)(-0.0001)));
}

}  // namespace
}  // namespace koravin
