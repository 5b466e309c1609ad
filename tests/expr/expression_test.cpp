#include "expr/expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "expr/prepare_expression.h"
#include "numbers/number_conversions.h"

namespace koravin {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Result {
    double value;
    int passes;
};

Result At(std::string text, double x = 0) {
    PrepareExpression(text);
    int passes = 0;
    const double value = InsertValue(text, x, passes);
    return {value, passes};
}

double Value(std::string text, double x = 0) {
    const Result result = At(std::move(text), x);
    EXPECT_LE(result.passes, kSingleVariablePassLimit);
    return result.value;
}

bool Fails(std::string text, double x = 0) { return At(std::move(text), x).passes == kSingleVariablePassLimit + 1; }

double XY(std::string text, double x, double y) {
    PrepareExpression(text);
    return InsertValueXY(text, x, "y", y);
}

TEST(InsertValue, EvaluatesByPrecedence) {
    EXPECT_EQ(Value("x^2-2", 1.5), 0.25);
    EXPECT_LT(At("x^2-2", 1.5).passes, 100);
    EXPECT_EQ(Value("f(x)=x^3-2*x-5", 2), -1);
    EXPECT_EQ(Value("-5"), -5);
    EXPECT_EQ(Value("-x^2", 3), -9);
    EXPECT_EQ(Value("-5^2"), 25);
    EXPECT_EQ(Value("2-5^2"), -23);
    EXPECT_EQ(Value("2^3^2"), 64);
    EXPECT_EQ(Value("7\\2"), 3);
    EXPECT_EQ(Value("-7\\2"), -3);
    EXPECT_EQ(Value("2.5\\1"), 2);
    EXPECT_EQ(Value("2.50*x", 2), 5);
    EXPECT_EQ(Value("1e3+x", 1), 1001);
    EXPECT_EQ(Value("1E-5*x", 1), 0.00001);
    EXPECT_EQ(Value("sin2*3"), std::sin(2.0) * 3);
    EXPECT_EQ(Value("sqrx", 4), 2);
    EXPECT_EQ(Value("2.5.1"), 2.5);
    EXPECT_EQ(Value("."), 0);
    EXPECT_EQ(Value("(1+2)*3"), 9);
    EXPECT_EQ(Value("10/4-1"), 1.5);
}

TEST(InsertValue, FunctionsAndTheirValuesOutsideTheDomain) {
    EXPECT_EQ(Value("sqr(-1)"), 0);
    EXPECT_EQ(Value("log(0)"), 0);
    EXPECT_EQ(Value("log(-2)"), 0);
    EXPECT_EQ(Value("1/0"), kInf);
    EXPECT_EQ(Value("-1/0"), -kInf);
    EXPECT_TRUE(std::isnan(Value("0/0")));
    EXPECT_EQ(Value("log10(1000)"), 2.9999999999999942);
    EXPECT_EQ(NumberText(Value("log10(1000)")), "2.99999999999999");
    EXPECT_EQ(Value("log2(8)"), 3.0000000000000013);
    EXPECT_EQ(NumberText(Value("log2(8)")), "3");
    EXPECT_EQ(Value("log10(0)"), 0);
    EXPECT_EQ(Value("sin(pi/2)"), 1);
    EXPECT_EQ(Value("exp(1000)"), 0);
    EXPECT_EQ(Value("exp(0)"), 1);
    EXPECT_EQ(Value("abs(-3)"), 3);
    EXPECT_EQ(Value("atn(1)"), std::atan(1.0));
    EXPECT_EQ(Value("(-8)^(1/3)"), 0);
    EXPECT_EQ(Value("0^(-1)"), 0);
    EXPECT_EQ(Value("10^400"), 0);
    EXPECT_EQ(Value("5\\0"), 0);
    EXPECT_TRUE(std::isnan(Value("1E10\\1")));
}

TEST(InsertValue, TextsItCannotEvaluateRunOutOfPasses) {
    EXPECT_TRUE(Fails("x+y"));
    EXPECT_TRUE(Fails("(x+1"));
    EXPECT_TRUE(Fails("x)"));
    EXPECT_TRUE(Fails("foo(x)"));
    EXPECT_TRUE(Fails("1,2"));
    EXPECT_TRUE(Fails("[x]"));
    EXPECT_TRUE(Fails("x\xE4\xB8\xAD"));      // a Chinese character
    EXPECT_TRUE(Fails("\xEF\xBC\x91+x"));     // a full-width digit
    EXPECT_TRUE(Fails("\xFF\xFE"));           // not UTF-8 at all
    EXPECT_TRUE(Fails("1E-999"));              // a literal that reads 0 but starts with 1
    const Result empty = At("");
    EXPECT_EQ(empty.value, 0);
    EXPECT_EQ(empty.passes, 1);
}

TEST(InsertValue, AHashEndsTheExpressionAndTheValueSoFarRemains) {
    // A matrix entry reaches the engine with its row's "#" attached.
    const Result entry = At("5#");
    EXPECT_EQ(entry.passes, kSingleVariablePassLimit + 1);
    EXPECT_EQ(entry.value, 5);
    EXPECT_EQ(At("1/3#").value, 1.0 / 3);
}

TEST(InsertValue, UnarySignsAfterOperatorsAndParenthesesActAsInMathematics) {
    EXPECT_EQ(Value("x-exp(-x)", 1), 1 - std::exp(-1.0));
    EXPECT_EQ(Value("x-exp(-x)", 2), 2 - std::exp(-2.0));
    EXPECT_EQ(Value("2*(-x)", 3), -6);
    EXPECT_EQ(Value("x*-sin(x)", 1), -(1 * std::sin(1.0)));
    EXPECT_EQ(Value("2^-x", 1), 0.5);
    EXPECT_EQ(Value("3*-x^2", 2), -12);
    EXPECT_EQ(Value("(--5)"), 5);
    EXPECT_EQ(Value("3*-2"), -6);
    EXPECT_EQ(Value("-(x)+1", 4), -3);
    EXPECT_EQ(Value("(-x)", 4), -4);
    EXPECT_EQ(Value("(+x)", 4), 4);
    EXPECT_EQ(Value("2/-x*3", 4), -1.5);
    EXPECT_EQ(Value("-x^2+3*exp(x)-pi", 0), -0.0 + 3 - 3.14159265358979);
}

TEST(InsertValue, TheVariableEntersAsItsFifteenDigitText) {
    EXPECT_EQ(Value("x", 1.0 / 3), 0.333333333333333);
    EXPECT_EQ(Value("x", -2.0 / 3), -0.666666666666667);
    EXPECT_EQ(Value("x", 1e-20), 1e-20);
    EXPECT_EQ(Value("x", 1.7976931348623157e308), kInf);  // 1.79769313486232E+308 reads beyond the range
    EXPECT_EQ(Value("x", 0.1 + 0.2), 0.3);
}

TEST(InsertValue, ANonFiniteVariableGivesNaNAndTheTextIsJudgedAsAtZero) {
    EXPECT_TRUE(std::isnan(Value("x^2", kInf)));
    EXPECT_TRUE(std::isnan(Value("x+1", kNaN)));
    EXPECT_TRUE(Fails("x+y", kInf));
    EXPECT_EQ(At("x^2", kInf).passes, At("x^2", 0).passes);
    EXPECT_EQ(Value("2", kInf), 2);  // no x to substitute
}

TEST(InsertValueXY, SubstitutesBothVariables) {
    EXPECT_EQ(XY("x+y", 1, 2), 3);
    EXPECT_EQ(XY("exp(y)", 0, 0), 1);
    EXPECT_EQ(XY("x*y-exp(x)", 1, 2), 2 - std::exp(1.0));
    EXPECT_EQ(XY("-y", 0, 2), -2);
    EXPECT_TRUE(std::isnan(XY("x+y", 1, kInf)));
    EXPECT_EQ(XY("x", 1, kInf), 1);
}

TEST(CompiledExpression, TellsWhetherItsTextCanBeEvaluatedAtAll) {
    EXPECT_TRUE(CompiledExpression::ForXY("x+y", 'y').CanBeEvaluated());
    EXPECT_FALSE(CompiledExpression::ForX("x+y").CanBeEvaluated());
    EXPECT_FALSE(CompiledExpression::ForXY("sinn(x)", 'y').CanBeEvaluated());
    EXPECT_TRUE(CompiledExpression::ForX("").CanBeEvaluated());
    // The two-variable form gives up after fewer passes.
    std::string sum = "1";
    for (int i = 0; i < 400; ++i) sum += "++1";
    EXPECT_TRUE(CompiledExpression::ForX(sum).CanBeEvaluated());
    EXPECT_FALSE(CompiledExpression::ForXY(sum, 'y').CanBeEvaluated());
}

TEST(EvaluateConstant, PreparesInPlaceAndEvaluatesAtZero) {
    std::string text = "1/3";
    EXPECT_EQ(EvaluateConstant(text), 1.0 / 3);
    text = "sqr(2)";
    EXPECT_EQ(EvaluateConstant(text), std::sqrt(2.0));
    text = "pi";
    EXPECT_EQ(EvaluateConstant(text), 3.14159265358979);
    EXPECT_EQ(text, "+3.14159265358979");
    text = "-2";
    EXPECT_EQ(EvaluateConstant(text), -2);
    text = "";
    EXPECT_EQ(EvaluateConstant(text), 0);
}

TEST(EvaluateConstant, PlainDecimalsReadDirectlyAsPreparingAndEvaluatingReadsThem) {
    std::mt19937 random(3);
    std::vector<std::string> texts = {"0", "-0", "00", "0.", "-0.000", "7", "-7.", "123.456", "-123.456",
                                      "007.50", "1.7976931348623157" + std::string(300, '0'),
                                      "0." + std::string(330, '0') + "1", std::string(60, '9') + ".5"};
    for (int i = 0; i < 20000; ++i) {
        std::string text = random() % 2 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 25);
        for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + random() % 10);
        if (random() % 3) text.insert(text.size() - random() % static_cast<unsigned>(digits), ".");
        texts.push_back(text);
    }
    // Not plain: these go the whole way, as before.
    texts.insert(texts.end(), {".5", "-.5", "1e3", "1E-3", "+1", "1.2.3", "--1", "1 2", "1-2"});
    for (const std::string& text : texts) {
        std::string prepared = text;
        PrepareExpression(prepared);
        int steps = 0;
        const double expected = InsertValue(prepared, 0, steps);
        std::string typed = text;
        const double value = EvaluateConstant(typed);
        ASSERT_TRUE(value == expected || (std::isnan(value) && std::isnan(expected))) << text;
        ASSERT_EQ(std::signbit(value), std::signbit(expected)) << text;
    }
}

TEST(CompiledExpression, LongAndDeeplyNestedTextsStayWithinThePassLimit) {
    const std::string deep = std::string(20000, '(') + "1" + std::string(20000, ')');
    EXPECT_TRUE(Fails(deep));  // more passes than the limit allows
    const std::string nested = std::string(2000, '(') + "x" + std::string(2000, ')');
    EXPECT_EQ(Value(nested, 2), 2);
    std::string sum = "1";
    for (int i = 0; i < 16000; ++i) sum += "+1";
    EXPECT_TRUE(Fails(sum));
    std::string huge(32767, '9');
    EXPECT_EQ(Value(huge), std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace koravin
