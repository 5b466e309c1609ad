#include <gtest/gtest.h>

#include <string>

#include "nonlinear/nonlinear_commands.h"
#include "nonlinear/nonlinear_test_support.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

const std::string kAllPrompts = TraceOf(
    {PromptTrace(kLowerBoundPrompt), PromptTrace(kUpperBoundPrompt), PromptTrace(kIterationPrecisionPrompt)});

TEST(CalculateDichotomy, HalvesTheIntervalOfXSquaredMinusTwoUntilTheValueIsWithinTolerance) {
    const auto run = RunCommand(CalculateDichotomy, Script("x^2-2", {"0", "2", "0.0001"}));
    EXPECT_EQ(run.report,
              CrLf({" 初始隔根区间： [0  ,  2]       精度为：0.0001",
                    "",
                    " x1 = 1   f(x1)=-1        隔根区间： [1  ,  2]",
                    " x2 = 1.5   f(x2)=0.25        隔根区间： [1  ,  1.5]",
                    " x3 = 1.25   f(x3)=-0.4375        隔根区间： [1.25  ,  1.5]",
                    " x4 = 1.375   f(x4)=-0.109375        隔根区间： [1.375  ,  1.5]",
                    " x5 = 1.4375   f(x5)=0.06640625        隔根区间： [1.375  ,  1.4375]",
                    " x6 = 1.40625   f(x6)=-0.0224609375        隔根区间： [1.40625  ,  1.4375]",
                    " x7 = 1.421875   f(x7)=0.021728515625        隔根区间： [1.40625  ,  1.421875]",
                    " x8 = 1.4140625   f(x8)=-0.00042724609375        隔根区间： [1.4140625  ,  1.421875]",
                    " x9 = 1.41796875   f(x9)=0.0106353759765625        隔根区间： [1.4140625  ,  1.41796875]",
                    " x10 = 1.416015625   f(x10)=0.00510025024414062        隔根区间： [1.4140625  ,  1.416015625]",
                    " x11 = 1.4150390625   f(x11)=0.00233554840087891        隔根区间： [1.4140625  ,  1.4150390625]",
                    " x12 = 1.41455078125   f(x12)=0.000953912734985352        隔根区间： [1.4140625  ,  1.41455078125]",
                    " x13 = 1.414306640625   f(x13)=0.0002632737159729        隔根区间： [1.4140625  ,  1.414306640625]",
                    " x14 = 1.4141845703125   f(x14)=-8.20010900497437E-05        隔根区间： [1.4141845703125  ,  "
                    "1.414306640625]",
                    ""}));
    EXPECT_EQ(run.trace(), kAllPrompts);
}

TEST(CalculateDichotomy, WithoutASignChangeTheLowerBoundClimbsToTheUpperOneAndNothingIsSaid) {
    const auto run = RunCommand(CalculateDichotomy, Script("x^2+1", {"0", "1", "0.1"}));
    EXPECT_EQ(run.report, CrLf({" 初始隔根区间： [0  ,  1]       精度为：0.1",
                                "",
                                " x1 = 0.5   f(x1)=1.25        隔根区间： [0.5  ,  1]",
                                " x2 = 0.75   f(x2)=1.5625        隔根区间： [0.75  ,  1]",
                                " x3 = 0.875   f(x3)=1.765625        隔根区间： [0.875  ,  1]",
                                " x4 = 0.9375   f(x4)=1.87890625        隔根区间： [0.9375  ,  1]",
                                ""}));
    EXPECT_EQ(run.trace(), kAllPrompts);
}

TEST(CalculateDichotomy, AnExactRootAtTheFirstMidpointMovesTheLowerBoundAndStops) {
    const auto run = RunCommand(CalculateDichotomy, Script("f(x)=x-1", {" 0 ", "2", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({" 初始隔根区间： [0  ,  2]       精度为：0.0001",
                                "",
                                " x1 = 1   f(x1)=0        隔根区间： [1  ,  2]",
                                ""}));
}

TEST(CalculateDichotomy, ReversedBoundsAreNotRejectedAndTheWidthTestEndsAfterOneLine) {
    const auto run = RunCommand(CalculateDichotomy, Script("x^2-2", {"2", "0", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({" 初始隔根区间： [2  ,  0]       精度为：0.0001",
                                "",
                                " x1 = 1   f(x1)=-1        隔根区间： [2  ,  1]",
                                ""}));
    EXPECT_EQ(run.trace(), kAllPrompts);
}

TEST(CalculateDichotomy, AnUnreadableFunctionIsReportedBeforeAnyLine) {
    const auto run = RunCommand(CalculateDichotomy, Script("x+y", {"0", "2", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({" 初始隔根区间： [0  ,  2]       精度为：0.0001", "", ""}));
    EXPECT_EQ(run.trace(), TraceOf({kAllPrompts, MessageTrace(kExpressionError)}));
}

TEST(CalculateDichotomy, TheHundredAndFirstLineIsWrittenBeforeGivingUp) {
    // An interval of width 0 against a negative tolerance never narrows enough.
    const auto run = RunCommand(CalculateDichotomy, Script("1", {"0", "0", "-1"}));
    std::string expected = CrLf({" 初始隔根区间： [0  ,  0]       精度为：-1", "", ""});
    for (int i = 1; i <= 101; ++i) {
        expected += " x" + std::to_string(i) + " = 0   f(x" + std::to_string(i) + ")=1        隔根区间： [0  ,  0]\r\n";
    }
    EXPECT_EQ(run.report, expected);
    EXPECT_EQ(run.trace(), TraceOf({kAllPrompts, MessageTrace("此区间在此精度下无根！")}));
}

TEST(CalculateDichotomy, InfiniteBoundsGiveNotANumberAndEndTheLoop) {
    const auto run = RunCommand(CalculateDichotomy, Script("x^2-2", {"-1e999", "1e999", "0.0001"}));
    EXPECT_EQ(run.report, CrLf({" 初始隔根区间： [-Inf  ,  Inf]       精度为：0.0001",
                                "",
                                " x1 = NaN   f(x1)=NaN        隔根区间： [NaN  ,  Inf]",
                                ""}));
    EXPECT_EQ(run.trace(), kAllPrompts);
}

}  // namespace
}  // namespace koravin::testing
