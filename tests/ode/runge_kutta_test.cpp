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

TEST(UsDi_RungeKutta, SumsAreFormedInTheOrderWrittenAndAbscissaeFromThePreviousNode) {
    // Adding the previous value first (y + h*(K1 + 2*K2 + 2*K3 + K4)/6) changes the last digit of
    // the fourth-order column at x = 1.
    auto run = RunCommand(UsDi_RungeKutta, OdeScript(OdeFields("y", "0", "1", "5"), {"0.1"}));
    EXPECT_EQ(run.report, CrLf({
                              kRungeKuttaHeader,
                              Row("0", "0.1", "0.1"),
                              Row("0.2", "0.122133333333333", "0.12214"),
                              Row("0.4", "0.149165511111111", "0.149181796"),
                              Row("0.6", "0.182180810903704", "0.1822106456344"),
                              Row("0.8", "0.22250349705039", "0.222552082577856"),
                              Row("1", "0.271750937730877", "0.271825113660593"),
                              "",
                          }));

    // Taking the last slope at x(i) instead of x(i-1) + h changes the last digit of several rows.
    run = RunCommand(UsDi_RungeKutta, OdeScript(OdeFields("x*y", "3.366", "5", "7"), {"-1.969"}));
    EXPECT_EQ(run.report, CrLf({
                              kRungeKuttaHeader,
                              Row("3.366", "-1.969", "-1.969"),
                              Row("3.59942857142857", "-4.39676510821185", "-4.43251549899885"),
                              Row("3.83285714285714", "-10.34338208399", "-10.5318832085576"),
                              Row("4.06628571428571", "-25.6262154773212", "-26.4098948879892"),
                              Row("4.29971428571429", "-66.8409129313874", "-69.8844129921989"),
                              Row("4.53314285714286", "-183.473318559675", "-195.114515559815"),
                              Row("4.76657142857143", "-529.79361022785", "-574.687166484122"),
                              Row("5", "-1608.67765344205", "-1785.40858543497"),
                              "",
                          }));
}

}  // namespace
}  // namespace koravin::testing
