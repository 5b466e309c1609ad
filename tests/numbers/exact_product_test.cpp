// Dekker's product, which WebAssembly uses, against the fused multiply-add it stands in for.

#include "numbers/exact_product.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

namespace koravin {
namespace {

TEST(ExactProductError, DekkersProductIsTheFusedMultiplyAddsErrorOnTheRangesTheRoundingsUse) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> mantissa(1, 10);
    std::uniform_int_distribution<int> decade(-30, 30);
    std::uniform_int_distribution<int> power(0, 22);
    for (int i = 0; i < 1000000; ++i) {
        // A value of any scale times a power of ten, as the roundings to places and to
        // significant digits scale; now and then a random bit pattern of moderate size.
        double a = mantissa(random) * std::pow(10.0, decade(random));
        if (i % 4 == 0) a = std::ldexp(std::bit_cast<double>((random() >> 12) | 0x3ff0000000000000ULL), decade(random));
        if (i % 2 == 0) a = -a;
        const double b = std::pow(10.0, power(random));
        const double product = a * b;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(DekkerProductError(a, b, product)),
                  std::bit_cast<std::uint64_t>(std::fma(a, b, -product)))
            << a << " * " << b;
    }
}

}  // namespace
}  // namespace koravin
