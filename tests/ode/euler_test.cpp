#include <gtest/gtest.h>

#include "numbers/text_utilities.h"
#include "ode/ode_commands.h"
#include "ode/ode_test_support.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

TEST(UsDi_Euler, GrowthEquationWithTwoSteps) {
    const auto run = RunCommand(UsDi_Euler, OdeScript(OdeFields("y", "0", "1", "2"), {"1"}));
    EXPECT_EQ(run.trace(), InitialValuePrompt("0"));
    EXPECT_EQ(run.report, CrLf({
                              "                    X(n)                欧拉公式Y(n)        Euler预估-校正公式Y(n)",
                              "                       0                       1                       1",
                              "                     0.5                     1.5                   1.625",
                              "                       1                    2.25                2.640625",
                              "",
                          }));
    EXPECT_EQ(CodePointCount(run.report.substr(0, run.report.find("\r\n"))), 72u);
}

TEST(UsDi_Euler, OneDivisionMakesExactlyOneStep) {
    const auto run = RunCommand(UsDi_Euler, OdeScript(OdeFields("x*y", "1", "3", "1"), {"2"}));
    // E(1) = 2*(1*2) + 2; the corrector evaluates f at x(1) = 3 and the predicted 6.
    EXPECT_EQ(run.report, CrLf({kEulerHeader, Row("1", "2", "2"), Row("3", "6", "22"), ""}));
}

TEST(UsDi_Euler, PredictorCorrectorIsExactForSlopesLinearInX) {
    const auto run = RunCommand(UsDi_Euler, OdeScript(OdeFields("2*x+1", "0", "1", "4"), {"0"}));
    EXPECT_EQ(run.report, CrLf({
                              kEulerHeader,
                              Row("0", "0", "0"),
                              Row("0.25", "0.25", "0.3125"),
                              Row("0.5", "0.625", "0.75"),
                              Row("0.75", "1.125", "1.3125"),
                              Row("1", "1.75", "2"),
                              "",
                          }));
}

TEST(UsDi_Euler, ZeroSlopeOrEqualBoundsKeepTheInitialValue) {
    auto run = RunCommand(UsDi_Euler, OdeScript(OdeFields("0", "-1", "1", "2"), {"-7.25"}));
    EXPECT_EQ(run.report, CrLf({kEulerHeader, Row("-1", "-7.25", "-7.25"), Row("0", "-7.25", "-7.25"),
                                Row("1", "-7.25", "-7.25"), ""}));

    run = RunCommand(UsDi_Euler, OdeScript(OdeFields("x+y", "1", "1", "3"), {"3"}));
    EXPECT_EQ(run.report, CrLf({kEulerHeader, Row("1", "3", "3"), Row("1", "3", "3"), Row("1", "3", "3"),
                                Row("1", "3", "3"), ""}));
}

TEST(UsDi_Euler, InfinityAndNotANumberAreCarriedIntoTheTable) {
    const auto run = RunCommand(UsDi_Euler, OdeScript(OdeFields("1/(y-1)", "0", "1", "2"), {"1"}));
    EXPECT_EQ(run.trace(), InitialValuePrompt("0"));
    EXPECT_EQ(run.report, CrLf({kEulerHeader, Row("0", "1", "1"), Row("0.5", "Inf", "NaN"), Row("1", "NaN", "NaN"), ""}));
}

TEST(UsDi_Euler, CorrectedValueIsTheMeanOfPredictorAndCorrector) {
    // P(i-1) + h*(s1 + s2)/2 is the same formula in exact arithmetic but changes the rows at
    // 2.9 and 3.175.
    const auto run = RunCommand(UsDi_Euler, OdeScript(OdeFields("y", "1.8", "4", "8"), {"-2.44"}));
    EXPECT_EQ(run.report, CrLf({
                              kEulerHeader,
                              Row("1.8", "-2.44", "-2.44"),
                              Row("2.075", "-3.111", "-3.2032625"),
                              Row("2.35", "-3.966525", "-4.20528305078125"),
                              Row("2.625", "-5.057319375", "-5.52074815510376"),
                              Row("2.9", "-6.448082203125", "-7.24770718737216"),
                              Row("3.175", "-8.22130480898437", "-9.51488059192201"),
                              Row("3.45", "-10.4821636314551", "-12.4912541770826"),
                              Row("3.725", "-13.3647586301052", "-16.3986746243513"),
                              Row("4", "-17.0400672533842", "-21.5283850302812"),
                              "",
                          }));
}

}  // namespace
}  // namespace koravin::testing
