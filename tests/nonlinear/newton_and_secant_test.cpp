#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_test_support.h"
#include "numbers/number_conversions.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

const std::string kNewtonPrompts =
    TraceOf({PromptTrace(kDerivativePrompt), PromptTrace(kNewtonStartPrompt), PromptTrace(kNewtonPrecisionPrompt)});
const std::string kNewtonFailure = "方法失败，在此精度下无根！";

TEST(CalculateNewton, ConvergesToTheSquareRootOfTwo) {
    const auto run = RunCommand(CalculateNewton, Script("x^2-2", {"2*x", "1", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"方程的导数方程式: 2*x      初值x0 = 1      计算精度 0.0001",
                                "",
                                " x1=1.5    f(x1)=0.25    |x1-x0|=0.5",
                                " x2=1.41666666666667    f(x2)=0.00694444444445397    |x2-x1|=0.0833333333333333",
                                " x3=1.41421568627451    f(x3)=6.00730488375945E-06    |x3-x2|=0.00245098039216018",
                                "",
                                " x=1.41421568627451    f(x)=6.00730488375945E-06"}));
    EXPECT_EQ(run.trace(), kNewtonPrompts);
}

TEST(CalculateNewton, AVanishingDerivativeAtTheStartFailsWithZeros) {
    const auto run = RunCommand(CalculateNewton, Script("x^2-2", {"2*x", "0", "0.0001"}));
    EXPECT_EQ(run.report,
              CrLf({"方程的导数方程式: 2*x      初值x0 = 0      计算精度 0.0001", "", "", " x=0    f(x)=0"}));
    EXPECT_EQ(run.trace(), TraceOf({kNewtonPrompts, MessageTrace(kNewtonFailure)}));
}

TEST(CalculateNewton, AWrongDerivativeGivesUpBeforeTheHundredAndFirstStep) {
    const auto run = RunCommand(CalculateNewton, Script("1", {"1", "0", "0.0001"}));
    std::string expected = CrLf({"方程的导数方程式: 1      初值x0 = 0      计算精度 0.0001", "", ""});
    for (int i = 1; i <= 100; ++i) {
        const std::string k = std::to_string(i);
        expected += " x" + k + "=-" + k + "    f(x" + k + ")=1    |x" + k + "-x" + std::to_string(i - 1) + "|=1\r\n";
    }
    expected += CrLf({"", " x=-100    f(x)=1"});
    EXPECT_EQ(run.report, expected);
    EXPECT_EQ(run.trace(), TraceOf({kNewtonPrompts, MessageTrace(kNewtonFailure)}));
}

TEST(CalculateNewton, AnUnreadableDerivativeEndsAfterTheHeader) {
    const auto run = RunCommand(CalculateNewton, Script("x^2-2", {"2x)", "1", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"方程的导数方程式: 2x)      初值x0 = 1      计算精度 0.0001", "", ""}));
    EXPECT_EQ(run.trace(), TraceOf({kNewtonPrompts, MessageTrace(kExpressionError)}));
}

TEST(CalculateNewton, AnUnreadableFunctionEndsAfterTheHeader) {
    const auto run = RunCommand(CalculateNewton, Script("x^2-2y", {"2*x", "1", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"方程的导数方程式: 2*x      初值x0 = 1      计算精度 0.0001", "", ""}));
    EXPECT_EQ(run.trace(), TraceOf({kNewtonPrompts, MessageTrace(kExpressionError)}));
}

TEST(CalculateNewton, CarriesInfinityOnUntilNotANumberEndsTheIteration) {
    // The first step lands on the pole of 1/(x-2); the next one leaves for -Inf, where f is NaN.
    const auto run = RunCommand(CalculateNewton, Script("1/(x-2)", {"1", "1", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"方程的导数方程式: 1      初值x0 = 1      计算精度 0.0001",
                                "",
                                " x1=2    f(x1)=Inf    |x1-x0|=1",
                                " x2=-Inf    f(x2)=NaN    |x2-x1|=Inf",
                                "",
                                " x=-Inf    f(x)=NaN"}));
    EXPECT_EQ(run.trace(), kNewtonPrompts);
}

const std::string kSecantPrompts =
    TraceOf({PromptTrace(kSecantLowerPrompt), PromptTrace(kSecantUpperPrompt), PromptTrace(kValuePrecisionPrompt),
             PromptTrace(kRootPrecisionPrompt)});

TEST(CalculateXianJie, ConvergesToTheRootOfTheCubic) {
    const auto run =
        RunCommand(CalculateXianJie, Script("x^3-2*x-5", {"2", "3", "0.0001", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({" 区间:[2  ,  3]        函数值精度 0.0001   根迭代精度 0.0001",
                                "",
                                " x1=2.05882352941176    f(x1)=-0.390799918583401",
                                " x2=2.08126365984503    f(x2)=-0.147204059553676",
                                " x3=2.09482414609404    f(x3)=0.00304379559875123",
                                " x4=2.09454943103525    f(x4)=-2.2886580623549E-05",
                                "",
                                "迭代4次   解x=2.09454943103525     f(x)=-2.2886580623549E-05"}));
    EXPECT_EQ(run.trace(), kSecantPrompts);
}

TEST(CalculateXianJie, ASmallStepEndsTheIterationWhateverTheFunctionValue) {
    // With a function-value tolerance of 0 only the step test can end the loop.
    const auto run = RunCommand(CalculateXianJie, Script("x^3-2*x-5", {"2", "3", "0", "0.001"}));
    EXPECT_EQ(run.report, CrLf({" 区间:[2  ,  3]        函数值精度 0   根迭代精度 0.001",
                                "",
                                " x1=2.05882352941176    f(x1)=-0.390799918583401",
                                " x2=2.08126365984503    f(x2)=-0.147204059553676",
                                " x3=2.09482414609404    f(x3)=0.00304379559875123",
                                " x4=2.09454943103525    f(x4)=-2.2886580623549E-05",
                                "",
                                "迭代4次   解x=2.09454943103525     f(x)=-2.2886580623549E-05"}));
    EXPECT_EQ(run.trace(), kSecantPrompts);
}

TEST(CalculateXianJie, EqualStartPointsGiveNotANumberAndEnd) {
    const auto run = RunCommand(CalculateXianJie, Script("x-2", {"1", "1", "0.0001", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({" 区间:[1  ,  1]        函数值精度 0.0001   根迭代精度 0.0001",
                                "",
                                " x1=NaN    f(x1)=NaN",
                                "",
                                "迭代1次   解x=NaN     f(x)=NaN"}));
    EXPECT_EQ(run.trace(), kSecantPrompts);
}

TEST(CalculateXianJie, AnUnreadableFunctionEndsAfterTheHeader) {
    const auto run = RunCommand(CalculateXianJie, Script("x+y", {"1", "2", "0.0001", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({" 区间:[1  ,  2]        函数值精度 0.0001   根迭代精度 0.0001", "", ""}));
    EXPECT_EQ(run.trace(), TraceOf({kSecantPrompts, MessageTrace(kExpressionError)}));
}

TEST(CalculateXianJie, GivesUpAfterTheHundredAndFirstLine) {
    // For 2^(-x) each secant step from two neighbouring integers lands exactly on the next one,
    // and no value reaches a tolerance of 0.
    const auto run = RunCommand(CalculateXianJie, Script("2^(-x)", {"0", "1", "0", "0.5"}));
    std::string expected = CrLf({" 区间:[0  ,  1]        函数值精度 0   根迭代精度 0.5", "", ""});
    for (int i = 1; i <= 101; ++i) {
        expected += " x" + std::to_string(i) + "=" + std::to_string(i + 1) + "    f(x" + std::to_string(i) +
                    ")=" + NumberText(std::ldexp(1.0, -(i + 1))) + "\r\n";
    }
    expected += CrLf({"", "迭代101次   解x=102     f(x)=" + NumberText(std::ldexp(1.0, -102))});
    EXPECT_EQ(run.report, expected);
    EXPECT_EQ(run.trace(), TraceOf({kSecantPrompts, MessageTrace("方法失败，或许在此精度下无根！")}));
}

}  // namespace
}  // namespace koravin::testing
