#include <gtest/gtest.h>

#include "ode/ode_commands.h"
#include "ode/ode_test_support.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

TEST(UsDi_RungeKutta, OneStepOfTheGrowthEquationMatchesTheTaylorPolynomials) {
    const auto run = RunCommand(UsDi_RungeKutta, OdeScript(OdeFields("y", "0", "1", "1"), {"1"}));
    EXPECT_EQ(run.trace(), InitialValuePrompt("0"));
    EXPECT_EQ(run.report, CrLf({
                              "                    X(n)           三阶龙格-库塔公式Y(n)           四阶龙格-库塔公式Y(n)",
                              "                       0                       1                       1",
                              "                       1        2.66666666666667        2.70833333333333",
                              "",
                          }));
}

TEST(UsDi_RungeKutta, SlopesOfXAloneGiveSimpsonsRule) {
    const auto run = RunCommand(UsDi_RungeKutta, OdeScript(OdeFields("x^2", "0", "2", "2"), {"0"}));
    EXPECT_EQ(run.report, CrLf({kRungeKuttaHeader, Row("0", "0", "0"), Row("1", "0.333333333333333", "0.333333333333333"),
                                Row("2", "2.66666666666667", "2.66666666666667"), ""}));
}

TEST(UsDi_RungeKutta, ThirdAndFourthOrderDifferOnANonlinearEquation) {
    // y' = y^2, y(0) = 1, one step of 0.5 towards the exact 2. Third order: K1 = 1, K2 = 1.5625,
    // K3 = 2.0625^2; fourth order: K3 = 1.390625^2, K4 = f(0.5, 1.9669189453125).
    const auto run = RunCommand(UsDi_RungeKutta, OdeScript(OdeFields("y*y", "0", "0.5", "1"), {"1"}));
    EXPECT_EQ(run.report, CrLf({kRungeKuttaHeader, Row("0", "1", "1"), Row("0.5", "1.95865885416667", "1.9884538265566"), ""}));
}

TEST(UsDi_RungeKutta, EqualBoundsKeepTheInitialValue) {
    const auto run = RunCommand(UsDi_RungeKutta, OdeScript(OdeFields("x*y+1", "2", "2", "2"), {"4"}));
    EXPECT_EQ(run.report, CrLf({kRungeKuttaHeader, Row("2", "4", "4"), Row("2", "4", "4"), Row("2", "4", "4"), ""}));
}

}  // namespace
}  // namespace koravin::testing
