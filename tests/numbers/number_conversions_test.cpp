#include "numbers/number_conversions.h"
#include "numbers/decimal_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace koravin {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ReadLeadingNumber, ReadsTheLeadingNumberAndIgnoresBlanksTabsAndLineFeeds) {
    EXPECT_EQ(ReadLeadingNumber(""), 0);
    EXPECT_EQ(ReadLeadingNumber(" 4 "), 4);
    EXPECT_EQ(ReadLeadingNumber("4x"), 4);
    EXPECT_EQ(ReadLeadingNumber("x4"), 0);
    EXPECT_EQ(ReadLeadingNumber("1e2"), 100);
    EXPECT_EQ(ReadLeadingNumber("-3"), -3);
    EXPECT_EQ(ReadLeadingNumber("1 2"), 12);
    EXPECT_EQ(ReadLeadingNumber("1\t2\n3"), 123);
    EXPECT_EQ(ReadLeadingNumber("3abc"), 3);
    EXPECT_EQ(ReadLeadingNumber("2.5.1"), 2.5);
    EXPECT_EQ(ReadLeadingNumber(".5"), 0.5);
    EXPECT_EQ(ReadLeadingNumber("-.5"), -0.5);
    EXPECT_EQ(ReadLeadingNumber("1E-05"), 1e-5);
    EXPECT_EQ(ReadLeadingNumber("1d3"), 1000);
    EXPECT_EQ(ReadLeadingNumber("1D+3"), 1000);
    EXPECT_EQ(ReadLeadingNumber("+7"), 7);
    EXPECT_EQ(ReadLeadingNumber("-"), 0);
    EXPECT_EQ(ReadLeadingNumber("."), 0);
}

TEST(ReadLeadingNumber, AnExponentLetterWithoutDigitsIsNotPartOfTheNumber) {
    EXPECT_EQ(ReadLeadingNumber("1e"), 1);
    EXPECT_EQ(ReadLeadingNumber("1e+"), 1);
    EXPECT_EQ(ReadLeadingNumber("2Ex"), 2);
}

TEST(ReadLeadingNumber, HexadecimalAndOctalInEitherCase) {
    EXPECT_EQ(ReadLeadingNumber("&H10"), 16);
    EXPECT_EQ(ReadLeadingNumber("&hff"), 255);
    EXPECT_EQ(ReadLeadingNumber("&HFFFF"), 65535);
    EXPECT_EQ(ReadLeadingNumber("&O17"), 15);
    EXPECT_EQ(ReadLeadingNumber("&o78"), 7);
    EXPECT_EQ(ReadLeadingNumber("&H"), 0);
    EXPECT_EQ(ReadLeadingNumber("&X1"), 0);
}

TEST(ReadLeadingNumber, OverflowReadsInfinityAndUnderflowZero) {
    EXPECT_EQ(ReadLeadingNumber("1e999"), kInf);
    EXPECT_EQ(ReadLeadingNumber("-1e999"), -kInf);
    EXPECT_EQ(ReadLeadingNumber("1e-999"), 0);
    EXPECT_EQ(ReadLeadingNumber(std::string(400, '9')), kInf);
}

TEST(ToInteger16, RoundsHalvesToEvenWithinTheSixteenBitRange) {
    EXPECT_EQ(ToInteger16(2.5), 2);
    EXPECT_EQ(ToInteger16(3.5), 4);
    EXPECT_EQ(ToInteger16(-2.5), -2);
    EXPECT_EQ(ToInteger16(32767.4), 32767);
    EXPECT_EQ(ToInteger16(32767.5), std::nullopt);
    EXPECT_EQ(ToInteger16(-32768.0), -32768);
    EXPECT_EQ(ToInteger16(-32768.6), std::nullopt);
    EXPECT_EQ(ToInteger16(kNaN), std::nullopt);
    EXPECT_EQ(ToInteger16(kInf), std::nullopt);
}

TEST(RoundDigits, HalvesGoToTheEvenNeighbourByTheValueHeld) {
    EXPECT_EQ(RoundDigits(2.5, 0), 2);
    EXPECT_EQ(RoundDigits(3.5, 0), 4);
    EXPECT_EQ(RoundDigits(0.125, 2), 0.12);
    EXPECT_EQ(RoundDigits(-1.5, 0), -2);
    EXPECT_EQ(RoundDigits(2.675, 2), 2.67);
    EXPECT_EQ(RoundDigits(0.5, 0), 0);
    EXPECT_EQ(RoundDigits(1.5, 0), 2);
    EXPECT_EQ(RoundDigits(-0.125, 2), -0.12);
    EXPECT_EQ(RoundDigits(1.0 / 3, 6), 0.333333);
    EXPECT_EQ(RoundDigits(2.0 / 3, 7), 0.6666667);
}

TEST(RoundDigits, LeavesNonFiniteAndAlreadyIntegralValuesAlone) {
    EXPECT_EQ(RoundDigits(kInf, 3), kInf);
    EXPECT_EQ(RoundDigits(-kInf, 3), -kInf);
    EXPECT_TRUE(std::isnan(RoundDigits(kNaN, 3)));
    EXPECT_EQ(RoundDigits(1e300, 17), 1e300);
    EXPECT_EQ(RoundDigits(-1.7976931348623157e308, 7), -1.7976931348623157e308);
    EXPECT_EQ(RoundDigits(123456.789, 17), 123456.789);
}

// The exact product x * 10^k decides, which a long-double product can check independently for
// the small scales where it is itself exact (64-bit mantissa, 10^k below 2^15).
TEST(RoundDigits, AgreesWithAnExactProductOnManyValues) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> magnitude(-6, 6);
    for (int trial = 0; trial < 200000; ++trial) {
        const int k = static_cast<int>(random() % 5);
        double x = std::pow(10.0, magnitude(random)) * ((random() & 1) ? 1 : -1);
        if (trial % 3 == 0) x = std::round(x * 1000) / 1000 + 0.0005;  // decimal halves
        const long double exact = static_cast<long double>(x) * static_cast<long double>(std::pow(10.0, k));
        const long double rounded = std::nearbyintl(exact);
        const double expected = static_cast<double>(rounded) / std::pow(10.0, k);
        ASSERT_EQ(RoundDigits(x, k), expected) << x << " to " << k;
    }
}

TEST(NumberText, FifteenSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(NumberText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(NumberText(2.0 / 3), "0.666666666666667");
    EXPECT_EQ(NumberText(1e15), "1E+15");
    EXPECT_EQ(NumberText(123456789012345), "123456789012345");
    EXPECT_EQ(NumberText(0.0001), "0.0001");
    EXPECT_EQ(NumberText(0.00001), "1E-05");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(0.0), "0");
    EXPECT_EQ(NumberText(3), "3");
    EXPECT_EQ(NumberText(-0.5), "-0.5");
    EXPECT_EQ(NumberText(1.5e16), "1.5E+16");
    EXPECT_EQ(NumberText(-2.25e20), "-2.25E+20");
    EXPECT_EQ(NumberText(1e100), "1E+100");
    EXPECT_EQ(NumberText(1.5e-300), "1.5E-300");
    EXPECT_EQ(NumberText(999999999999999.5), "1E+15");
    EXPECT_EQ(NumberText(0.000099999999999999995), "0.0001");
    EXPECT_EQ(NumberText(100), "100");
    EXPECT_EQ(NumberText(-12.5), "-12.5");
    EXPECT_EQ(NumberText(2.9999999999999942), "2.99999999999999");
    EXPECT_EQ(NumberText(3.0000000000000013), "3");
    EXPECT_EQ(NumberText(4.9406564584124654e-324), "4.94065645841247E-324");
}

TEST(NumberText, NonFiniteValuesAreWrittenInfAndNaN) {
    EXPECT_EQ(NumberText(kInf), "Inf");
    EXPECT_EQ(NumberText(-kInf), "-Inf");
    EXPECT_EQ(NumberText(kNaN), "NaN");
}

TEST(NumberText, ReadsBackAsTheValueRoundedToFifteenDigits) {
    std::mt19937_64 random(7);
    for (int trial = 0; trial < 100000; ++trial) {
        double x;
        do {
            const std::uint64_t bits = random();
            std::memcpy(&x, &bits, sizeof x);
        } while (!std::isfinite(x));
        ASSERT_EQ(ParseDecimal(NumberText(x)).value(), RoundToSignificant15(x)) << NumberText(x);
    }
}

// NumberText as plainly as it can be said: the 15 significant digits as printf's %.14e rounds
// them, trailing zeros dropped, laid out in fixed or exponent form.
std::string PlainNumberText(double x) {
    if (x == 0) return "0";
    const std::string scientific = ScientificText(std::fabs(x), 14);
    std::string digits = scientific.substr(0, 1) + scientific.substr(2, 14);
    const int exponent = std::stoi(scientific.substr(17));
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string text = x < 0 ? "-" : "";
    if (exponent < -4 || exponent > 14) {
        text += digits.substr(0, 1) + (digits.size() > 1 ? "." + digits.substr(1) : "");
        return text + (exponent < 0 ? "E-" : "E+") + (std::abs(exponent) < 10 ? "0" : "") + std::to_string(std::abs(exponent));
    }
    if (exponent < 0) return text + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) return text + digits + std::string(whole - digits.size(), '0');
    return text + digits.substr(0, whole) + "." + digits.substr(whole);
}

TEST(NumberText, IsThePlainFifteenDigitTextOnManyValuesOfEveryScale) {
    std::mt19937_64 random(11);
    std::vector<double> values = {0.1, 0.3, 2.5, 1e15, 999999999999999.5, 9.999999999999995, 9.9999999999999949,
                                  99999999999999.95, 0.000123456789012345, 1.0 / 3, 2.0 / 3, 1e-300, 1e300};
    for (int decade = -40; decade <= 40; ++decade) {
        for (int i = 0; i < 2000; ++i) {
            const double mantissa = std::uniform_real_distribution<double>(1, 10)(random);
            values.push_back((i % 2 ? -1 : 1) * mantissa * std::pow(10.0, decade));
        }
        // Decimals of 15 and 16 digits and their neighbours, where the rounding is closest to a tie.
        const auto n = static_cast<double>(random() % 9000000000000000ULL + 1000000000000000ULL);
        const double x = (n + 0.5) * std::pow(10.0, decade - 16);
        values.insert(values.end(), {x, std::nextafter(x, 0.0), std::nextafter(x, 1e300)});
    }
    for (const double x : values) ASSERT_EQ(NumberText(x), PlainNumberText(x)) << PlainNumberText(x);
}

TEST(IndexText, PlainDecimalIntegers) {
    EXPECT_EQ("x(" + IndexText(3) + ")=", "x(3)=");
    EXPECT_EQ(IndexText(-12), "-12");
    EXPECT_EQ(IndexText(0), "0");
}

TEST(ParseDecimal, CFormRegardlessOfLocale) {
    EXPECT_EQ(ParseDecimal("5."), 5);
    EXPECT_EQ(ParseDecimal(".5"), 0.5);
    EXPECT_EQ(ParseDecimal("+2E3"), 2000);
    EXPECT_EQ(ParseDecimal("-1E999"), -kInf);
    EXPECT_EQ(ParseDecimal("1E-999"), 0);
    EXPECT_EQ(ParseDecimal("1x"), std::nullopt);
    EXPECT_EQ(ParseDecimal(""), std::nullopt);
    EXPECT_EQ(ParseDecimal("+-1"), std::nullopt);
}

TEST(ExactText, ShortestRoundTrip) {
    EXPECT_EQ(ExactText(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(ExactText(-1), "-1");
    EXPECT_EQ(ExactText(-kInf), "-Inf");
}

}  // namespace
}  // namespace koravin

namespace koravin {
namespace {

TEST(RoundToSignificant15, AgreesWithWritingFifteenDigitsAndReadingThemBack) {
    std::mt19937_64 random(15);
    const auto check = [](double x) {
        const double fast = RoundToSignificant15(x);
        const double text = x == 0 ? 0.0 : RoundToSignificant15ByText(x);
        ASSERT_EQ(std::memcmp(&fast, &text, sizeof fast), 0) << ExactText(x) << ": " << fast << " != " << text;
    };
    // Exact decimal ties at the sixteenth digit go to the even neighbour.
    for (const double tie : {1000000000000005.0, 1000000000000015.0, 12345678901234.25, 12345678901234.75,
                             9007199254740990.0, 999999999999999.5, 99999999999999.95, 0.5, -2.5e-300}) {
        check(tie);
        check(-tie);
    }
    std::uniform_real_distribution<double> exponent(-12, 40);
    for (int trial = 0; trial < 300000; ++trial) {
        double x;
        if (trial % 2 == 0) {
            const std::uint64_t bits = random();
            std::memcpy(&x, &bits, sizeof x);
            if (!std::isfinite(x)) continue;
        } else {
            x = std::pow(10.0, exponent(random)) * ((random() & 1) ? 1 : -1);
            if (trial % 6 == 1) x = std::nearbyint(x * 64) / 64;  // many exact short binaries
        }
        check(x);
        check(std::nextafter(x, 0.0));
    }
}

}  // namespace
}  // namespace koravin
