#include <gtest/gtest.h>

#include <string>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_test_support.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

const std::string kAllPrompts = TraceOf({PromptTrace(kEquivalentEquationPrompt), PromptTrace(kIterationStartPrompt),
                                         PromptTrace(kIterationPrecisionPrompt)});
const std::string kNotConvergingMessage = "此法不合适，可能是迭代方程式不收敛。";

TEST(CalculateIterative, ConvergesToTheRootOfTheCubicAndChecksItInTheEditorsFunction) {
    const auto run = RunCommand(CalculateIterative,
                                Script("x^3-2*x-5", {" (2*x+5)^(1/3) ", "2", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式等价的迭代方程式为:(2*x+5)^(1/3)    精度=0.0001",
                                "",
                                " x0=2",
                                " x1 = 2.0800838230519  |x1-x0| = 0.0800838230519041",
                                " x2 = 2.09235067779758  |x2-x1| = 0.0122668547456732",
                                " x3 = 2.09421699601252  |x3-x2| = 0.00186631821494654",
                                " x4 = 2.09450065219465  |x4-x3| = 0.000283656182129999",
                                " x5 = 2.09454375753281  |x5-x4| = 4.31053381571012E-05",
                                "",
                                "",
                                "迭代 5 次;   结果x= 2.09454375753281    f(x)=-8.62106763337422E-05",
                                ""}));
    EXPECT_EQ(run.trace(), kAllPrompts);
}

TEST(CalculateIterative, AnOscillatingIterationGivesUpAfterAHundredLinesAndStillWritesTheResult) {
    const auto run = RunCommand(CalculateIterative, Script("x^3-2*x-5", {"-x", "1", "0.0001"}));
    std::string expected = CrLf({"函数方程式等价的迭代方程式为:-x    精度=0.0001", "", " x0=1", ""});
    for (int i = 1; i <= 100; ++i) {
        expected += " x" + std::to_string(i) + " = " + (i % 2 == 1 ? "-1" : "1") + "  |x" + std::to_string(i) +
                    "-x" + std::to_string(i - 1) + "| = 2\r\n";
    }
    expected += CrLf({"", "", "迭代 100 次;   结果x= 1    f(x)=-6", ""});
    EXPECT_EQ(run.report, expected);
    EXPECT_EQ(run.trace(), TraceOf({kAllPrompts, MessageTrace(kNotConvergingMessage)}));
}

TEST(CalculateIterative, ASquareThatOverflowsDropsToZeroAndSettles) {
    const auto run = RunCommand(CalculateIterative, Script("x^3-2*x-5", {"x^2", "2", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式等价的迭代方程式为:x^2    精度=0.0001",
                                "",
                                " x0=2",
                                " x1 = 4  |x1-x0| = 2",
                                " x2 = 16  |x2-x1| = 12",
                                " x3 = 256  |x3-x2| = 240",
                                " x4 = 65536  |x4-x3| = 65280",
                                " x5 = 4294967296  |x5-x4| = 4294901760",
                                " x6 = 1.84467440737096E+19  |x6-x5| = 1.84467440694146E+19",
                                " x7 = 3.4028236692094E+38  |x7-x6| = 3.4028236692094E+38",
                                " x8 = 1.15792089237317E+77  |x8-x7| = 1.15792089237317E+77",
                                " x9 = 1.34078079299428E+154  |x9-x8| = 1.34078079299428E+154",
                                " x10 = 0  |x10-x9| = 1.34078079299428E+154",
                                " x11 = 0  |x11-x10| = 0",
                                "",
                                "",
                                "迭代 11 次;   结果x= 0    f(x)=-5",
                                ""}));
    EXPECT_EQ(run.trace(), kAllPrompts);
}

TEST(CalculateIterative, TheDefaultIterationSettlesAtOnce) {
    const auto run = RunCommand(CalculateIterative, Script("x^2-2", {"x", "3", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式等价的迭代方程式为:x    精度=0.0001",
                                "",
                                " x0=3",
                                " x1 = 3  |x1-x0| = 0",
                                "",
                                "",
                                "迭代 1 次;   结果x= 3    f(x)=7",
                                ""}));
}

TEST(CalculateIterative, StartAndPrecisionAnswersOfBlanksReadAsZero) {
    const auto start = RunCommand(CalculateIterative, Script("x^2-2", {"x", "   ", "  0.5 "}));
    EXPECT_EQ(start.report, CrLf({"函数方程式等价的迭代方程式为:x    精度=0.5",
                                  "",
                                  " x0=0",
                                  " x1 = 0  |x1-x0| = 0",
                                  "",
                                  "",
                                  "迭代 1 次;   结果x= 0    f(x)=-2",
                                  ""}));
    EXPECT_EQ(start.trace(), kAllPrompts);

    // A difference of 0 is not below a tolerance of 0, so the iteration runs to its limit.
    const auto precision = RunCommand(CalculateIterative, Script("x^2-2", {"x", "1", " "}));
    std::string expected = CrLf({"函数方程式等价的迭代方程式为:x    精度=0", "", " x0=1", ""});
    for (int i = 1; i <= 100; ++i) {
        expected += " x" + std::to_string(i) + " = 1  |x" + std::to_string(i) + "-x" + std::to_string(i - 1) + "| = 0\r\n";
    }
    expected += CrLf({"", "", "迭代 100 次;   结果x= 1    f(x)=-1", ""});
    EXPECT_EQ(precision.report, expected);
    EXPECT_EQ(precision.trace(), TraceOf({kAllPrompts, MessageTrace(kNotConvergingMessage)}));
}

TEST(CalculateIterative, AnUnreadableIterationEquationEndsWithoutTheResultLine) {
    const auto run = RunCommand(CalculateIterative, Script("x^2-2", {"x+y", "1", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式等价的迭代方程式为:x+y    精度=0.0001", "", " x0=1", ""}));
    EXPECT_EQ(run.trace(), TraceOf({kAllPrompts, MessageTrace(kExpressionError)}));
}

TEST(CalculateIterative, AnUnreadableEditorFunctionChecksAsNotANumber) {
    const auto run = RunCommand(CalculateIterative, Script("x+y", {"x", "1", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式等价的迭代方程式为:x    精度=0.0001",
                                "",
                                " x0=1",
                                " x1 = 1  |x1-x0| = 0",
                                "",
                                "",
                                "迭代 1 次;   结果x= 1    f(x)=NaN",
                                ""}));
    EXPECT_EQ(run.trace(), kAllPrompts);
}

TEST(CalculateIterative, ANotANumberDifferenceEndsTheIteration) {
    // 1/x at 0 is Inf, and nothing is a number at Inf.
    const auto run = RunCommand(CalculateIterative, Script("x", {"1/x", "0", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式等价的迭代方程式为:1/x    精度=0.0001",
                                "",
                                " x0=0",
                                " x1 = Inf  |x1-x0| = Inf",
                                " x2 = NaN  |x2-x1| = NaN",
                                "",
                                "",
                                "迭代 2 次;   结果x= NaN    f(x)=NaN",
                                ""}));
    EXPECT_EQ(run.trace(), kAllPrompts);
}

}  // namespace
}  // namespace koravin::testing
