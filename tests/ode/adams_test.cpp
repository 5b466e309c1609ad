#include <gtest/gtest.h>

#include "ode/ode_commands.h"
#include "ode/ode_test_support.h"
#include "support/command_runner.h"

namespace koravin::testing {
namespace {

TEST(UsDi_Adams, ThreeDivisionsAskFourStartingValuesAndMakeNoStep) {
    const auto run = RunCommand(UsDi_Adams, OdeScript(OdeFields("y", "0", "0.3", "3"), {"1", "2", "3", "4"}));
    EXPECT_EQ(run.trace(), InitialValuePrompt("0") + "\n" + InitialValuePrompt("0.1") + "\n" +
                               InitialValuePrompt("0.2") + "\n" + InitialValuePrompt("0.3"));
    EXPECT_EQ(run.report, CrLf({
                              "                    X(n)            阿达姆斯外插公式Y(n)            阿达姆斯内插公式Y(n)",
                              "                       0                       1                       1",
                              "                     0.1                       2                       2",
                              "                     0.2                       3                       3",
                              "                     0.3                       4                       4",
                              "",
                          }));
}

TEST(UsDi_Adams, OnlyExistingNodesAreAskedFor) {
    const auto run = RunCommand(UsDi_Adams, OdeScript(OdeFields("y", "1", "2", "1"), {"5", "6", "7"}));
    EXPECT_EQ(run.trace(), InitialValuePrompt("1") + "\n" + InitialValuePrompt("2"));
    EXPECT_EQ(run.report, CrLf({kAdamsHeader, Row("1", "5", "5"), Row("2", "6", "6"), ""}));
}

TEST(UsDi_Adams, CancelledStartingValueNamesItsPlaceCountingFromZero) {
    auto run = RunCommand(UsDi_Adams, OdeScript(OdeFields("y", "0", "1", "4"), {"1", "2"}, "old"));
    EXPECT_EQ(run.trace(), InitialValuePrompt("0") + "\n" + InitialValuePrompt("0.25") + "\n" +
                               InitialValuePrompt("0.5") + "\nmessage\t没有输入第2个的初始函数值。");
    EXPECT_EQ(run.report, "old");

    run = RunCommand(UsDi_Adams, OdeScript(OdeFields("y", "0", "1", "4"), {}, "old"));
    EXPECT_EQ(run.trace(), InitialValuePrompt("0") + "\nmessage\t没有输入第0个的初始函数值。");
    EXPECT_EQ(run.report, "old");
}

TEST(UsDi_Adams, BothFormulasAreExactForACubicSlope) {
    // y' = 4x^3, y = x^4; with h = 0.5 every value is a binary fraction, so exact means equal.
    const auto run = RunCommand(UsDi_Adams, OdeScript(OdeFields("4*x^3", "0", "4", "8"), {"0", "0.0625", "1", "5.0625"}));
    EXPECT_EQ(run.report, CrLf({
                              kAdamsHeader,
                              Row("0", "0", "0"),
                              Row("0.5", "0.0625", "0.0625"),
                              Row("1", "1", "1"),
                              Row("1.5", "5.0625", "5.0625"),
                              Row("2", "16", "16"),
                              Row("2.5", "39.0625", "39.0625"),
                              Row("3", "81", "81"),
                              Row("3.5", "150.0625", "150.0625"),
                              Row("4", "256", "256"),
                              "",
                          }));
}

TEST(UsDi_Adams, TheCorrectorTakesItsOwnColumnsValues) {
    // y' = y with the starting values of e^x rounded; the explicit column uses 55, -59, 37, -9 and
    // the corrected one evaluates f once more at the predicted value.
    const auto run = RunCommand(UsDi_Adams, OdeScript(OdeFields("y", "0", "2.5", "5"), {"1", "1.5", "2", "3"}));
    // A(4) = (55*3 - 59*2 + 37*1.5 - 9*1)*0.5/24 + 3 = 93.5*0.5/24 + 3; M(4) predicts the same
    // value and corrects it: (9*4.94791666666667 + 19*3 - 5*2 + 1.5)*0.5/24 + 3.
    EXPECT_EQ(run.report, CrLf({
                              kAdamsHeader,
                              Row("0", "1", "1"),
                              Row("0.5", "1.5", "1.5"),
                              Row("1", "2", "2"),
                              Row("1.5", "3", "3"),
                              Row("2", "4.94791666666667", "4.93815104166667"),
                              Row("2.5", "8.19032118055556", "8.1537585788303"),
                              "",
                          }));
}

TEST(UsDi_Adams, TheStepIsMultipliedByHThenDividedBy24) {
    // Multiplying by h/24 instead changes the explicit column at x = 0.75.
    const auto run = RunCommand(UsDi_Adams, OdeScript(OdeFields("x*y", "0", "1", "8"), {"-2.3", "0.36", "-1.92", "0"}));
    EXPECT_EQ(run.report, CrLf({
                              kAdamsHeader,
                              Row("0", "-2.3", "-2.3"),
                              Row("0.125", "0.36", "0.36"),
                              Row("0.25", "-1.92", "-1.92"),
                              Row("0.375", "0", "0"),
                              Row("0.5", "0.156171875", "0.0163946533203125"),
                              Row("0.625", "0.0839308675130208", "0.0124831948832919"),
                              Row("0.75", "0.0974623948997921", "0.0142616881905635"),
                              Row("0.875", "0.117329857074656", "0.0158367732271002"),
                              Row("1", "0.13072525432018", "0.0177969554841485"),
                              "",
                          }));
}

}  // namespace
}  // namespace koravin::testing
