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
                    "|x1-x0|=0.0676238764109204",
                    " x21=0.566870794767815     x22=0.567297855542999     x2=0.567143314105564     "
                    "|x2-x1|=0.000480562305356869",
                    " x31=0.567143276970881     x32=0.567143298031567     x3=0.567143290409784     "
                    "|x3-x2|=2.36957795607395E-08",
                    "",
                    "迭代3次   解x=0.567143290409784     f(x)=1.11022302462516E-16"}));
    EXPECT_EQ(run.trace(), kAitkenPrompts);
}

// Near the root the step's correction is tiny beside x0, so the tolerance can go down to a few
// units in the last place; the quotient of two nearly equal products would hop about the root.
TEST(CalculateAitken, ReachesTightTolerancesNearTheRoot) {
    const std::string header = "函数方程式迭代的方程式: (2*x+5)^(1/3)    初值x0=2    精度e=";
    const std::string cycle1 = " x11=2.0800838230519     x12=2.09235067779758     x1=2.09456952846445     "
                               "|x1-x0|=0.0945695284644481";
    const std::string cycle2 = " x21=2.09455422393246     x22=2.09455189827333     x2=2.09455148154297     "
                               "|x2-x1|=1.8046921478998E-05";
    const std::string cycle3 = " x31=2.09455148154242     x32=2.09455148154234     x3=2.09455148154233     "
                               "|x3-x2|=6.43485265072741E-13";
    const std::string twoCycles = "迭代2次   解x=2.09455148154297     f(x)=7.18181070169521E-12";
    const std::string threeCycles = "迭代3次   解x=2.09455148154233     f(x)=3.81916720471054E-14";
    struct Case {
        std::string tolerance;
        std::string expected;
    };
    for (const Case& c : {Case{"1E-04", CrLf({header + "0.0001", "", cycle1, cycle2, "", twoCycles})},
                          Case{"1E-08", CrLf({header + "1E-08", "", cycle1, cycle2, cycle3, "", threeCycles})},
                          Case{"1E-12", CrLf({header + "1E-12", "", cycle1, cycle2, cycle3, "", threeCycles})}}) {
        const auto run = RunCommand(CalculateAitken, Script("x^3-2*x-5", {"(2*x+5)^(1/3)", "2", c.tolerance}));
        EXPECT_EQ(run.report, c.expected) << c.tolerance;
        EXPECT_EQ(run.trace(), kAitkenPrompts) << c.tolerance;
    }
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
    // x = x^2 + 1 has no real fixed point: the accelerated values wander for ever.
    const auto run = RunCommand(CalculateAitken, Script("x^2", {"x^2+1", "0.5", "0.0001"}));
    const std::string header = CrLf({"函数方程式迭代的方程式: x^2+1    初值x0=0.5    精度e=0.0001", "",
                                     " x11=1.25     x12=2.5625     x1=-0.5     |x1-x0|=1", ""});
    ASSERT_EQ(run.report.substr(0, header.size()), header);
    const std::string closing = "\r\n\r\n迭代100次   解x=-72.5974158853279     f(x)=5270.38479322726";
    ASSERT_GE(run.report.size(), closing.size());
    EXPECT_EQ(run.report.substr(run.report.size() - closing.size()), closing);
    EXPECT_NE(run.report.find("\r\n x1001="), std::string::npos);
    EXPECT_EQ(run.report.find("\r\n x1011="), std::string::npos);
    EXPECT_EQ(run.trace(), TraceOf({kAitkenPrompts, MessageTrace(kNoRootMessage)}));
}

TEST(CalculateAitken, AnUnreadableIterationEquationEndsAfterTheHeader) {
    const auto run = RunCommand(CalculateAitken, Script("x", {"x[1]", "0", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({"函数方程式迭代的方程式: x[1]    初值x0=0    精度e=0.0001", "", ""}));
    EXPECT_EQ(run.trace(), TraceOf({kAitkenPrompts, MessageTrace(kExpressionError)}));
}

}  // namespace
}  // namespace koravin::testing
