#include <gtest/gtest.h>

#include <string>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_test_support.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

const std::string kNoRootMessage = "本方法在此初值、精度下无根！";

const std::string kSpeedUpPrompts =
    TraceOf({PromptTrace(kIterationEquationPrompt), PromptTrace(kIterationStartPrompt), PromptTrace(kFactorPrompt),
             PromptTrace(kIterationPrecisionPrompt)});

TEST(IterativeSpeedUp, RejectsAFactorOutsideZeroToOneBeforeAskingThePrecision) {
    for (const std::string q : {"0", "1", "-0.5", "1.5", "abc"}) {
        const auto run = RunCommand(IterativeSpeedUp,
                                    Script("x-exp(-x)", {"exp(-x)", "0.5", q, "0.0001"}, "earlier"));
        SCOPED_TRACE(q);
        EXPECT_EQ(run.report, "earlier");
        EXPECT_EQ(run.trace(), TraceOf({PromptTrace(kIterationEquationPrompt), PromptTrace(kIterationStartPrompt),
                                        PromptTrace(kFactorPrompt),
                                        MessageTrace("迭代的因子值有误！迭代的因子q范围0<q<1")}));
    }
}

TEST(IterativeSpeedUp, ReportsTheAcceleratedValueBesideEachPlainIterate) {
    const auto run = RunCommand(IterativeSpeedUp,
                                Script("x-exp(-x)", {"exp(-x)", "0.5", "0.45", "0.0001"}));
    EXPECT_EQ(run.report,
              CrLf({"函数方程式的迭代方程式: exp(-x)    初值x0=0.5    精度e=0.0001    迭代的因子q=0.45",
                    "",
                    " x11=0.606530659712633       x12=0.693692108568424     |x1-x0|=0.106530659712633",
                    " x21=0.545239211892605       x22=0.495091663676218     |x2-x1|=0.0612914478200282",
                    " x31=0.579703094878068       x32=0.60790081732072     |x3-x2|=0.034463882985463",
                    " x41=0.560064627938902       x42=0.543996791352311     |x4-x3|=0.0196384669391663",
                    " x51=0.571172148977215       x52=0.580260120735835     |x5-x4|=0.0111075210383131",
                    " x61=0.564862946980323       x62=0.55970087261923     |x6-x5|=0.00630920199689167",
                    " x71=0.568438047570066       x72=0.571363129870765     |x7-x6|=0.00357510058974297",
                    " x81=0.566409452746921       x82=0.564749693346166     |x8-x7|=0.00202859482314544",
                    " x91=0.567559634262242       x92=0.568500691865687     |x9-x8|=0.00115018151532131",
                    " x101=0.566907212935472       x102=0.566373413668114     |x10-x9|=0.00065242132677068",
                    " x111=0.567277195970778       x112=0.567579909363302     |x11-x10|=0.000369983035306554",
                    " x121=0.567067351853728       x122=0.566895661212506     |x12-x11|=0.000209844117049718",
                    " x131=0.567186360087638       x132=0.567283730460837     |x13-x12|=0.000119008233909756",
                    " x141=0.567118864256986       x142=0.567063640395543     |x14-x13|=6.74958306523532E-05",
                    "",
                    "迭代14次   解x=0.567063640395543     f(x)=-0.000124824784460298"}));
    EXPECT_EQ(run.trace(), kSpeedUpPrompts);
}

TEST(IterativeSpeedUp, TheDefaultIterationEndsAtOnceWithTheStartValue) {
    const auto run = RunCommand(IterativeSpeedUp, Script("x^2", {"x", "2", "0.5", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式的迭代方程式: x    初值x0=2    精度e=0.0001    迭代的因子q=0.5",
                                "",
                                " x11=2       x12=2     |x1-x0|=0",
                                "",
                                "迭代1次   解x=2     f(x)=4"}));
}

TEST(IterativeSpeedUp, GivesUpAfterFiftyIterations) {
    const auto run = RunCommand(IterativeSpeedUp, Script("x^2", {"-x", "1", "0.5", "0.0001"}));
    std::string expected =
        CrLf({"函数方程式的迭代方程式: -x    初值x0=1    精度e=0.0001    迭代的因子q=0.5", "", ""});
    for (int i = 1; i <= 50; ++i) {
        const bool odd = i % 2 == 1;  // the plain iterates alternate -1, 1; the accelerated ones -3, 3
        expected += " x" + std::to_string(i) + "1=" + (odd ? "-1" : "1") + "       x" + std::to_string(i) + "2=" +
                    (odd ? "-3" : "3") + "     |x" + std::to_string(i) + "-x" + std::to_string(i - 1) + "|=2\r\n";
    }
    expected += CrLf({"", "迭代50次   解x=3     f(x)=9"});
    EXPECT_EQ(run.report, expected);
    EXPECT_EQ(run.trace(), TraceOf({kSpeedUpPrompts, MessageTrace(kNoRootMessage)}));
}

TEST(IterativeSpeedUp, AnUnreadableIterationEquationEndsAfterTheHeader) {
    const auto run = RunCommand(IterativeSpeedUp, Script("x^2", {"sin(x", "1", "0.5", "0.0001"}));
    EXPECT_EQ(run.report,
              CrLf({"函数方程式的迭代方程式: sin(x    初值x0=1    精度e=0.0001    迭代的因子q=0.5", "", ""}));
    EXPECT_EQ(run.trace(), TraceOf({kSpeedUpPrompts, MessageTrace(kExpressionError)}));
}

const std::string kAitkenPrompts = TraceOf(
    {PromptTrace(kIterationEquationPrompt), PromptTrace(kIterationStartPrompt), PromptTrace(kIterationPrecisionPrompt)});

TEST(CalculateAitken, ConvergesInThreeCycles) {
    const auto run = RunCommand(CalculateAitken, Script("x-exp(-x)", {"exp(-x)", "0.5", "0.0001"}));
    EXPECT_EQ(run.report,
              CrLf({"函数方程式迭代的方程式: exp(-x)    初值x0=0.5    精度e=0.0001",
                    "",
                    " x11=0.606530659712633     x12=0.545239211892605     x1=0.56762387641092     "
                    "|x1-x0|=0.0676238764109205",
                    " x21=0.566870794767815     x22=0.567297855542999     x2=0.567143314105565     "
                    "|x2-x1|=0.000480562305355536",
                    " x31=0.567143276970881     x32=0.567143298031567     x3=0.567143290763857     "
                    "|x3-x2|=2.33417081219045E-08",
                    "",
                    "迭代3次   解x=0.567143290763857     f(x)=5.54883361481018E-10"}));
    EXPECT_EQ(run.trace(), kAitkenPrompts);
}

TEST(CalculateAitken, TheDefaultIterationGivesNotANumberAndEndsAfterOneLine) {
    const auto run = RunCommand(CalculateAitken, Script("x-exp(-x)", {"x", "0", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式迭代的方程式: x    初值x0=0    精度e=0.0001",
                                "",
                                " x11=0     x12=0     x1=NaN     |x1-x0|=NaN",
                                "",
                                "迭代1次   解x=NaN     f(x)=NaN"}));
    EXPECT_EQ(run.trace(), kAitkenPrompts);
}

TEST(CalculateAitken, AVanishingDenominatorCarriesInfinityIntoTheNextCycle) {
    const auto run = RunCommand(CalculateAitken, Script("7", {"x+1", "0", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式迭代的方程式: x+1    初值x0=0    精度e=0.0001",
                                "",
                                " x11=1     x12=2     x1=-Inf     |x1-x0|=Inf",
                                " x21=NaN     x22=NaN     x2=NaN     |x2-x1|=NaN",
                                "",
                                "迭代2次   解x=NaN     f(x)=7"}));
    EXPECT_EQ(run.trace(), kAitkenPrompts);
}

TEST(CalculateAitken, GivesUpAfterAHundredCyclesAndStillWritesTheResult) {
    // x enters 1-x/2 as its 15-digit text, so from 2/3 the two iterates differ from the start in
    // the last bits and the accelerated value falls back to 0.5: the cycles alternate for ever.
    const auto run = RunCommand(CalculateAitken, Script("x^2", {"1-x/2", "0.5", "0.0001"}));
    std::string expected = CrLf({"函数方程式迭代的方程式: 1-x/2    初值x0=0.5    精度e=0.0001", "", ""});
    for (int i = 1; i <= 100; ++i) {
        const std::string k = std::to_string(i);
        const bool odd = i % 2 == 1;
        expected += " x" + k + "1=" + (odd ? "0.75" : "0.666666666666667") + "     x" + k + "2=" +
                    (odd ? "0.625" : "0.666666666666667") + "     x" + k + "=" +
                    (odd ? "0.666666666666667" : "0.5") + "     |x" + k + "-x" + std::to_string(i - 1) +
                    "|=0.166666666666667\r\n";
    }
    expected += CrLf({"", "迭代100次   解x=0.5     f(x)=0.25"});
    EXPECT_EQ(run.report, expected);
    EXPECT_EQ(run.trace(), TraceOf({kAitkenPrompts, MessageTrace(kNoRootMessage)}));
}

TEST(CalculateAitken, AnUnreadableIterationEquationEndsAfterTheHeader) {
    const auto run = RunCommand(CalculateAitken, Script("x", {"x[1]", "0", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式迭代的方程式: x[1]    初值x0=0    精度e=0.0001", "", ""}));
    EXPECT_EQ(run.trace(), TraceOf({kAitkenPrompts, MessageTrace(kExpressionError)}));
}

}  // namespace
}  // namespace koravin::testing
