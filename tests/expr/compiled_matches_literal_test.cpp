// The compiled evaluator against the literal text-rewriting one, on many generated texts.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "expr/expression.h"
#include "expr/prepare_expression.h"
#include "numbers/number_conversions.h"
#include "reference/literal_expression.h"

namespace koravin {
namespace {

bool SameBits(double a, double b) {
    if (std::isnan(a) && std::isnan(b)) return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Pieces a person might type, well-formed and not: numbers with exponents, every operator and
// function, signs in every place, stray letters, unbalanced parentheses, other scripts.
constexpr std::array<std::string_view, 58> kPieces = {
    "x",    "x",     "x",    "y",    "1",     "2",     "0",     "3.5",  ".5",   "5.",  "2.5.1", "1e3",
    "1E-5", "2e+2",  "1e",   "E",    "e-",    "+",     "-",     "-",    "*",    "/",   "\\",    "^",
    "(",    "(",     ")",    ")",    "sin",   "cos(",  "tan",   "exp(", "sqr",  "abs", "log(",  "atn",
    "log10(", "log2", "lgg", "pi",   "#",     " ",     "z",     ",",    "=",    "f(x)=", "--",  "-+",
    "+.0",  "-.0",   "0.0",  "00",   "1E999", "1E-999", "\xE4\xB8\xAD", "\t", "\r\n", "9999999999999999999"};

std::string GeneratedText(std::mt19937_64& random) {
    const int length = 1 + static_cast<int>(random() % 14);
    std::string text;
    for (int i = 0; i < length; ++i) text += kPieces[random() % kPieces.size()];
    return text;
}

double GeneratedValue(std::mt19937_64& random) {
    static constexpr std::array<double, 12> kSpecial = {
        0, -0.0, 1, -1, 0.5, 1e-5, -2.5, 1e300, std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(), 1.7976931348623157e308, 4.9406564584124654e-324};
    if (random() % 4 == 0) return kSpecial[random() % kSpecial.size()];
    std::uniform_real_distribution<double> exponent(-30, 30);
    return std::pow(10.0, exponent(random)) * ((random() & 1) ? 1 : -1);
}

TEST(CompiledExpression, AgreesWithTheLiteralEvaluatorBitForBit) {
    std::mt19937_64 random(1207);
    int failing = 0;
    for (int trial = 0; trial < 100000; ++trial) {
        std::string text = GeneratedText(random);
        const std::string typed = text;
        PrepareExpression(text);
        const CompiledExpression single = CompiledExpression::ForX(text);
        const CompiledExpression pair = CompiledExpression::ForXY(text, 'y');
        for (int k = 0; k < 3; ++k) {
            const double x = GeneratedValue(random);
            const double y = GeneratedValue(random);
            int passes = 0;
            const double value = single.InsertValue(x, passes);
            const Evaluation expected = reference::LiteralInsertValue(text, x);
            ASSERT_EQ(passes, expected.passes) << "typed <" << typed << "> prepared <" << text << "> x=" << x;
            if (passes <= kSingleVariablePassLimit) {
                ASSERT_TRUE(SameBits(value, expected.value))
                    << "typed <" << typed << "> prepared <" << text << "> x=" << x << ": " << value
                    << " != " << expected.value;
            }
            failing += passes > kSingleVariablePassLimit;
            const double valueXY = pair.InsertValueXY(x, y);
            const double expectedXY = reference::LiteralInsertValueXY(text, x, "y", y);
            ASSERT_TRUE(SameBits(valueXY, expectedXY))
                << "typed <" << typed << "> prepared <" << text << "> x=" << x << " y=" << y << ": " << valueXY
                << " != " << expectedXY;
        }
    }
    // Both kinds of text must have been generated in quantity.
    EXPECT_GT(failing, 30000);
    EXPECT_LT(failing, 270000);
}

// The value a stuck text leaves is what matrix entries read, so it must agree too.
TEST(CompiledExpression, AgreesWithTheLiteralEvaluatorOnTheValueLeftWhenStuck) {
    std::mt19937_64 random(42);
    for (int trial = 0; trial < 20000; ++trial) {
        std::string text = GeneratedText(random) + "#";
        PrepareExpression(text);
        int passes = 0;
        const double value = CompiledExpression::ForX(text).InsertValue(0, passes);
        const Evaluation expected = reference::LiteralInsertValue(text, 0);
        ASSERT_EQ(passes, expected.passes) << text;
        ASSERT_TRUE(SameBits(value, expected.value)) << text << ": " << value << " != " << expected.value;
    }
}

}  // namespace
}  // namespace koravin

namespace koravin {
namespace {

// Unary signs changed only the texts that have them: every other text reads as it always did.
TEST(CompiledExpression, TextsWithoutUnarySignsEvaluateAsTheyAlwaysDid) {
    std::mt19937_64 random(99);
    int compared = 0;
    for (int trial = 0; trial < 50000; ++trial) {
        std::string text = GeneratedText(random);
        PrepareExpression(text);
        const double x = GeneratedValue(random);
        if (reference::MeetsUnarySign(text, x)) continue;
        ++compared;
        const Evaluation before = reference::LiteralInsertValue(text, x, false);
        int passes = 0;
        const double value = CompiledExpression::ForX(text).InsertValue(x, passes);
        ASSERT_EQ(passes, before.passes) << text;
        if (passes <= kSingleVariablePassLimit) {
            ASSERT_TRUE(SameBits(value, before.value)) << text;
        }
    }
    EXPECT_GT(compared, 20000);
}

}  // namespace
}  // namespace koravin
