// The number text every build shares, held to GCC's <charconv>, the forms it reproduces.

#include "numbers/decimal_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace koravin {
namespace {

std::string StdText(double x, std::chars_format format, int precision) {
    char buffer[400];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, x, format, precision).ptr);
}

std::string StdShortest(double x) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, x).ptr);
}

// Values of every kind: random bit patterns, short decimals, integers, halves at many scales,
// powers of ten and two, the subnormals and the extremes.
std::vector<double> GeneratedValues() {
    std::mt19937_64 random(20261209);
    std::vector<double> values = {0.0, -0.0, 1, -1, 0.5, 0.1, 1e5, 1e-5, 123456, 1e15, 1e16, 1e21, 1e22, 1e23,
                                  std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
                                  9.9995, 9.9996, 0.00012345, 2.5, 0.125, 1.0 / 3};
    for (int e = -325; e <= 308; ++e) values.push_back(std::pow(10.0, e));
    for (int e = -1074; e <= 1023; e += 7) values.push_back(std::ldexp(1.0, e));
    std::uniform_int_distribution<int> digits(1, 17);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 20000; ++i) {
        double x;
        do {
            x = std::bit_cast<double>(random());
        } while (!std::isfinite(x));
        values.push_back(x);
        const auto mantissa = static_cast<double>(random() % 100000000000000000ULL);
        values.push_back(mantissa / std::pow(10.0, digits(random)) * std::pow(10.0, exponent(random)));
        values.push_back(static_cast<double>(static_cast<std::int64_t>(random() % 2000001) - 1000000) / 8);
    }
    return values;
}

TEST(DecimalText, ScientificAndFixedAreWhatCharconvWrites) {
    for (const double x : GeneratedValues()) {
        for (const int precision : {0, 1, 3, 6, 14, 16}) {
            ASSERT_EQ(ScientificText(x, precision), StdText(x, std::chars_format::scientific, precision)) << x;
        }
        if (std::fabs(x) < 1e30) {
            for (const int precision : {0, 2, 7, 17}) {
                ASSERT_EQ(FixedText(x, precision), StdText(x, std::chars_format::fixed, precision)) << x;
            }
        }
    }
}

TEST(DecimalText, ShortestIsWhatCharconvWrites) {
    for (const double x : GeneratedValues()) ASSERT_EQ(ShortestText(x), StdShortest(x)) << StdShortest(x);
    // The ties and turning points of the layout: fixed wins ties, the shorter form otherwise.
    EXPECT_EQ(ShortestText(1e5), "1e+05");
    EXPECT_EQ(ShortestText(123456), "123456");
    EXPECT_EQ(ShortestText(1e4), "10000");
    EXPECT_EQ(ShortestText(0.001), "0.001");
    EXPECT_EQ(ShortestText(0.0001), "1e-04");
    EXPECT_EQ(ShortestText(-0.0), "-0");
}

TEST(DecimalText, ReadDoubleReadsWhatCharconvReads) {
    std::vector<std::string> texts = {"0", "-0", "5.", ".5", "1e", "1e+", "1E-5x", "2e308", "-2e308", "1e-400",
                                      "4.9e-324", "2.4703282292062328e-324", "2.4703282292062327e-324",
                                      "inf", "-INFINITY", "infinit", "nan", "NaN(abc)", "nan(a b)", "0x1p3",
                                      "179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207096330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711559699508093042880177904174497791.9999999999999999999999999999999999999999999999999999999999999999999999",
                                      std::string(800, '1') + "e-700"};
    std::mt19937_64 random(7);
    for (const double x : GeneratedValues()) {
        texts.push_back(StdShortest(x));
        texts.push_back(StdText(x, std::chars_format::scientific, 19));
        if (random() % 50 == 0) texts.push_back(StdText(x, std::chars_format::fixed, 30));
    }
    for (const std::string& text : texts) {
        double ours = -1;
        double theirs = -1;
        const ReadDoubleResult read = ReadDouble(text.data(), text.data() + text.size(), ours);
        const std::from_chars_result expected = std::from_chars(text.data(), text.data() + text.size(), theirs);
        ASSERT_EQ(read.end, expected.ptr) << text;
        if (expected.ec == std::errc::invalid_argument) {
            ASSERT_EQ(read.error, std::errc::invalid_argument) << text;
            continue;
        }
        ASSERT_EQ(read.error, std::errc{}) << text;
        if (expected.ec == std::errc::result_out_of_range) {
            // charconv leaves the value alone; the rounded value is what strtod gives.
            theirs = std::strtod(text.c_str(), nullptr);
        }
        if (std::isnan(theirs)) {
            ASSERT_TRUE(std::isnan(ours)) << text;
        } else {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(ours), std::bit_cast<std::uint64_t>(theirs)) << text;
        }
    }
}

}  // namespace
}  // namespace koravin
