#include "expr/prepare_expression.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "reference/literal_prepare.h"

namespace koravin {
namespace {

std::string Prepared(std::string text) {
    PrepareExpression(text);
    return text;
}

TEST(PrepareExpression, RemovesDecorationAndEverythingAfterTheFirstEquals) {
    EXPECT_EQ(Prepared(""), "");
    EXPECT_EQ(Prepared("x^2-2=0"), "x^2-+2");
    EXPECT_EQ(Prepared("f(x)=x^2-2"), "x^2-+2");
    EXPECT_EQ(Prepared("f(x)=x^2-2=0"), "x^2-+2");
    EXPECT_EQ(Prepared("y=x+1"), "y");
    EXPECT_EQ(Prepared("f(x) = x^2"), "");
    EXPECT_EQ(Prepared("F(X)=X"), "f(x)");
}

TEST(PrepareExpression, LowerCasesDeletesBlanksAndJoinsLines) {
    EXPECT_EQ(Prepared("SIN( X ) + 1"), "sin(x)++1");
    EXPECT_EQ(Prepared("x^2\r\n-2"), "x^2-+2");
    EXPECT_EQ(Prepared("x\t+1"), "x\t++1");
}

TEST(PrepareExpression, MarksLiteralsAfterBinaryOperators) {
    EXPECT_EQ(Prepared("x-5"), "x-+5");
    EXPECT_EQ(Prepared("x+2.5"), "x++2.5");
    EXPECT_EQ(Prepared("-5*x"), "-5*x");
    EXPECT_EQ(Prepared("3*-2"), "3*-+2");
    EXPECT_EQ(Prepared("(-5)"), "(-5)");
    EXPECT_EQ(Prepared("x--5"), "x--5");
    EXPECT_EQ(Prepared("x-y"), "x-y");
    EXPECT_EQ(Prepared("-5+x"), "-5+x");
    EXPECT_EQ(Prepared("2-5^2"), "2-+5^2");
    EXPECT_EQ(Prepared("x-.5"), "x-+.5");
    EXPECT_EQ(Prepared("x-"), "x-+");
    EXPECT_EQ(Prepared("x+-"), "x+-");
}

TEST(PrepareExpression, RepairsExponentsOfLiterals) {
    EXPECT_EQ(Prepared("1E-5"), "1E-5");
    EXPECT_EQ(Prepared("2e-3*x"), "2E-3*x");
    EXPECT_EQ(Prepared("2.5E+3+x"), "2.5E+3+x");
    EXPECT_EQ(Prepared("x*1e-5"), "x*1E-5");
}

TEST(PrepareExpression, WritesOutPiAndGuardsSignsAtTheStart) {
    EXPECT_EQ(Prepared("pi"), "+3.14159265358979");
    EXPECT_EQ(Prepared("-x^2"), "0-x^2");
    EXPECT_EQ(Prepared("-(x+1)"), "0-(x++1)");
    EXPECT_EQ(Prepared("+sin(x)"), "0+sin(x)");
    EXPECT_EQ(Prepared("--x"), "--x");
    EXPECT_EQ(Prepared("-x^2+3*exp(x)-pi"), "0-x^2++3*eyp(x)-+3.14159265358979");
}

TEST(PrepareExpression, RenamesFunctionNamesHoldingXOrDigits) {
    EXPECT_EQ(Prepared("log10(x)+log2(x)+log(x)"), "lgg(x)+lg2(x)+log(x)");
    EXPECT_EQ(Prepared("EXP(x)"), "eyp(x)");
}

TEST(PrepareExpression, AgreesWithTheStepByStepPreparationOnGeneratedTexts) {
    static constexpr std::array<std::string_view, 24> kPieces = {
        "x", "+", "-", "-", "(", ")", "1", ".5", "e", "E", "pi", "exp", "log10", "log2", " ", "\r\n",
        "f(x)=", "f(x)", "=", "*", "^", "Y", "\xE4\xB8\xAD", "#"};
    std::mt19937_64 random(3);
    for (int trial = 0; trial < 50000; ++trial) {
        std::string text;
        const int length = static_cast<int>(random() % 16);
        for (int i = 0; i < length; ++i) text += kPieces[random() % kPieces.size()];
        std::string expected = text;
        reference::LiteralPrepareExpression(expected);
        ASSERT_EQ(Prepared(text), expected) << text;
    }
}

TEST(PrepareExpression, TakesLinearTimeOnALongTextOfSigns) {
    std::string text;
    for (int i = 0; i < 300000; ++i) text += "+1";
    EXPECT_EQ(Prepared(text).size(), text.size() + 299999);
}

}  // namespace
}  // namespace koravin
